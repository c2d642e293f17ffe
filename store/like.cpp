#include "store/like.h"

#include <QChar>
#include <algorithm>
#include <vector>

namespace store {
namespace like_detail {
namespace {

bool isDigit(char32_t c) {
    return QChar::isDigit(c);
}

// Matches one bracket list starting just after '['. Sets next to the index after ']'.
// Returns nullopt when the list has no closing bracket.
std::optional<bool> matchList(const std::vector<char32_t>& p, size_t start, char32_t c,
                              size_t& next) {
    size_t i = start;
    bool negate = false;
    if (i < p.size() && p[i] == U'!') {
        negate = true;
        ++i;
    }
    bool found = false;
    while (i < p.size() && p[i] != U']') {
        char32_t lo = p[i];
        if (i + 2 < p.size() && p[i + 1] == U'-' && p[i + 2] != U']') {
            char32_t hi = p[i + 2];
            if (lo <= c && c <= hi) {
                found = true;
            }
            i += 3;
        } else {
            if (lo == c) {
                found = true;
            }
            ++i;
        }
    }
    if (i >= p.size()) {
        return std::nullopt;
    }
    next = i + 1;
    return found != negate;
}

}  // namespace

std::vector<char32_t> foldedCodePoints(const QString& s) {
    std::vector<char32_t> out;
    out.reserve(size_t(s.size()));
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = s.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && s.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(s.at(i).unicode(), s.at(i + 1).unicode());
            ++i;
        }
        out.push_back(QChar::toCaseFolded(c));
    }
    return out;
}

std::optional<bool> matchFolded(const std::vector<char32_t>& p, const char32_t* t, size_t tSize) {
    // Greedy matching with one backtrack point per '*': linear in practice and never
    // exponential, since a later '*' makes earlier choices irrelevant.
    size_t pi = 0, ti = 0;
    size_t starP = std::string::npos, starT = 0;
    while (ti < tSize) {
        if (pi < p.size()) {
            const char32_t pc = p[pi];
            if (pc == U'*') {
                starP = ++pi;
                starT = ti;
                continue;
            }
            bool ok = false;
            size_t nextP = pi + 1;
            if (pc == U'?') {
                ok = true;
            } else if (pc == U'#') {
                ok = isDigit(t[ti]);
            } else if (pc == U'[') {
                if (pi + 1 < p.size() && p[pi + 1] == U']') {
                    // An empty list matches the empty text: consume no character.
                    pi += 2;
                    continue;
                }
                std::optional<bool> m = matchList(p, pi + 1, t[ti], nextP);
                if (!m) {
                    return std::nullopt;
                }
                ok = *m;
            } else {
                ok = pc == t[ti];
            }
            if (ok) {
                pi = nextP;
                ++ti;
                continue;
            }
        }
        if (starP == std::string::npos) {
            return false;
        }
        pi = starP;
        ti = ++starT;
    }
    // Text used up: what remains of the pattern must match nothing.
    while (pi < p.size()) {
        if (p[pi] == U'*') {
            ++pi;
        } else if (p[pi] == U'[' && pi + 1 < p.size() && p[pi + 1] == U']') {
            pi += 2;
        } else if (p[pi] == U'[') {
            size_t next = 0;
            if (!matchList(p, pi + 1, 0, next)) {
                return std::nullopt;
            }
            return false;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace like_detail

std::optional<bool> likeMatch(const QString& pattern, const QString& text) {
    return LikePattern(pattern).match(text);
}

QString prefixPattern(const QString& name) {
    QString out;
    out.reserve(name.size() + 8);
    for (QChar c : name) {
        if (c == u'*' || c == u'?' || c == u'#' || c == u'[') {
            out += u'[';
            out += c;
            out += u']';
        } else {
            out += c;
        }
    }
    out += u'*';
    return out;
}

}  // namespace store
