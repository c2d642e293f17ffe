#include "store/like.h"

#include "store/utf8_text.h"

#include <QChar>
#include <algorithm>
#include <memory>
#include <vector>

namespace store {
namespace {

// Code points of a text, case-folded so that comparison ignores case in every script.
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

// The general matcher, on a folded pattern and a folded text.
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

// A pattern read once per statement. Most patterns the program sends are a name's
// prefixPattern(): literal characters (a wildcard character bracketed as "[*]") and a
// closing '*'. Those are matched by comparing the text's first characters, without
// reading the rest of the text or allocating; every other pattern uses the general matcher.
class CompiledPattern {
public:
    explicit CompiledPattern(std::vector<char32_t> folded) : folded_(std::move(folded)) {
        size_t i = 0;
        while (i < folded_.size()) {
            const char32_t c = folded_[i];
            if (c == U'*' || c == U'?' || c == U'#') {
                break;
            }
            if (c == U'[') {
                // "[c]" with one character other than '!' and ']' matches c alone.
                if (i + 2 < folded_.size() && folded_[i + 2] == U']' && folded_[i + 1] != U'!' &&
                    folded_[i + 1] != U']') {
                    literal_.push_back(folded_[i + 1]);
                    i += 3;
                    continue;
                }
                break;
            }
            literal_.push_back(c);
            ++i;
        }
        if (i == folded_.size()) {
            kind_ = Kind::Exact;
        } else if (std::all_of(folded_.begin() + ptrdiff_t(i), folded_.end(),
                               [](char32_t c) { return c == U'*'; })) {
            kind_ = Kind::Prefix;
        }
    }

    // Source: bool next(char32_t&) gives the text's next folded code point, false at its end.
    template <class Source>
    std::optional<bool> match(Source&& source, std::vector<char32_t>& scratch) const {
        if (kind_ != Kind::General) {
            char32_t c = 0;
            for (char32_t want : literal_) {
                if (!source.next(c) || c != want) {
                    return false;
                }
            }
            return kind_ == Kind::Prefix || !source.next(c);
        }
        scratch.clear();
        char32_t c = 0;
        while (source.next(c)) {
            scratch.push_back(c);
        }
        return matchFolded(folded_, scratch.data(), scratch.size());
    }

private:
    enum class Kind { General, Prefix, Exact };
    std::vector<char32_t> folded_;
    std::vector<char32_t> literal_;
    Kind kind_ = Kind::General;
};

// The folded code points of UTF-16 text, surrogate pairs as one character.
class Utf16Source {
public:
    explicit Utf16Source(const QString& text)
        : p_(text.constData()), end_(text.constData() + text.size()) {}
    bool next(char32_t& out) {
        if (p_ == end_) {
            return false;
        }
        char32_t c = (p_++)->unicode();
        if (QChar::isHighSurrogate(c) && p_ != end_ && p_->isLowSurrogate()) {
            c = QChar::surrogateToUcs4(char16_t(c), (p_++)->unicode());
        }
        out = QChar::toCaseFolded(c);
        return true;
    }

private:
    const QChar* p_;
    const QChar* end_;
};

// The folded code points of UTF-8 text. Accepts only what the engine's own conversion to
// UTF-16 would turn into the same characters: on anything else invalid() is set and the
// caller reads the text through that conversion instead.
class Utf8Source {
public:
    Utf8Source(const unsigned char* data, size_t size) : p_(data), end_(data + size) {}
    bool next(char32_t& out) {
        if (p_ == end_) {
            return false;
        }
        char32_t c = 0;
        const size_t n = utf8::read(p_, end_, c);
        if (n == 0) {
            return fail();
        }
        p_ += n;
        out = QChar::toCaseFolded(c);
        return true;
    }
    bool invalid() const { return invalid_; }

private:
    bool fail() {
        invalid_ = true;
        p_ = end_;
        return false;
    }
    const unsigned char* p_;
    const unsigned char* end_;
    bool invalid_ = false;
};

std::vector<char32_t>& scratchBuffer() {
    thread_local std::vector<char32_t> buffer;
    return buffer;
}

}  // namespace

std::optional<bool> likeMatch(const QString& pattern, const QString& text) {
    const CompiledPattern compiled(foldedCodePoints(pattern));
    return compiled.match(Utf16Source(text), scratchBuffer());
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

class LikePattern::Compiled : public CompiledPattern {
public:
    using CompiledPattern::CompiledPattern;
};

LikePattern::LikePattern(const QString& pattern)
    : compiled_(std::make_unique<Compiled>(foldedCodePoints(pattern))) {}

LikePattern::~LikePattern() = default;
LikePattern::LikePattern(LikePattern&&) noexcept = default;
LikePattern& LikePattern::operator=(LikePattern&&) noexcept = default;

std::optional<bool> LikePattern::match(const QString& text) const {
    return compiled_->match(Utf16Source(text), scratchBuffer());
}

std::optional<bool> LikePattern::matchUtf8(const unsigned char* data, std::size_t size,
                                           bool& wellFormed) const {
    Utf8Source source(data, size);
    const std::optional<bool> m = compiled_->match(source, scratchBuffer());
    wellFormed = !source.invalid();
    return wellFormed ? m : std::nullopt;
}

}  // namespace store
