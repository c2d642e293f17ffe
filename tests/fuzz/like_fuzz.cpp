// The office's Like on arbitrary patterns and texts: it must never crash or hang, must agree
// with a plain reference matcher on every well-formed pattern, and a prefix pattern made from
// any text must match that text and everything that begins with it.
#include <QChar>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "store/like.h"

namespace {

// Code points, surrogate pairs joined, lone surrogates kept as they are, case-folded.
std::vector<char32_t> folded(const QString& s) {
    std::vector<char32_t> out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        char32_t c = s[i].unicode();
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1].unicode() >= 0xDC00 &&
            s[i + 1].unicode() < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1].unicode() - 0xDC00);
            ++i;
        }
        out.push_back(QChar::toCaseFolded(c));
    }
    return out;
}

// One element of a pattern.
struct Element {
    enum Kind { Star, Any, Digit, Nothing, Set, Literal };
    explicit Element(Kind k, char32_t literal = 0) : kind(k), c(literal) {}

    Kind kind;
    char32_t c = 0;
    bool negate = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;  // single characters as c..c

    bool matches(char32_t t) const {
        switch (kind) {
            case Any:
                return true;
            case Digit:
                return QChar::isDigit(t);
            case Literal:
                return t == c;
            case Set: {
                bool in = false;
                for (const auto& [lo, hi] : ranges) {
                    in = in || (lo <= t && t <= hi);
                }
                return in != negate;
            }
            default:
                return false;
        }
    }
};

// nullopt when a '[' has no closing ']'.
std::optional<std::vector<Element>> parse(const std::vector<char32_t>& p) {
    std::vector<Element> out;
    for (size_t i = 0; i < p.size(); ++i) {
        if (p[i] == U'*') {
            out.emplace_back(Element::Star);
        } else if (p[i] == U'?') {
            out.emplace_back(Element::Any);
        } else if (p[i] == U'#') {
            out.emplace_back(Element::Digit);
        } else if (p[i] == U'[') {
            if (i + 1 < p.size() && p[i + 1] == U']') {
                out.emplace_back(Element::Nothing);  // "[]" stands for no character at all
                ++i;
                continue;
            }
            Element set(Element::Set);
            size_t j = i + 1;
            if (j < p.size() && p[j] == U'!') {
                set.negate = true;
                ++j;
            }
            while (j < p.size() && p[j] != U']') {
                if (j + 2 < p.size() && p[j + 1] == U'-' && p[j + 2] != U']') {
                    set.ranges.push_back({p[j], p[j + 2]});
                    j += 3;
                } else {
                    set.ranges.push_back({p[j], p[j]});
                    ++j;
                }
            }
            if (j >= p.size()) {
                return std::nullopt;
            }
            out.push_back(set);
            i = j;
        } else {
            out.emplace_back(Element::Literal, p[i]);
        }
    }
    return out;
}

// Whole-text match by dynamic programming over (element, character) positions.
bool referenceMatch(const std::vector<Element>& e, const std::vector<char32_t>& t) {
    const size_t n = e.size();
    const size_t m = t.size();
    // next[j]: elements i+1.. match t[j..]; here[j]: elements i.. match t[j..].
    std::vector<char> next(m + 1, 0), here(m + 1, 0);
    next[m] = 1;  // no elements left, no text left
    for (size_t i = n; i-- > 0;) {
        for (size_t j = m + 1; j-- > 0;) {
            switch (e[i].kind) {
                case Element::Star:
                    here[j] = next[j] || (j < m && here[j + 1]);
                    break;
                case Element::Nothing:
                    here[j] = next[j];
                    break;
                default:
                    here[j] = j < m && e[i].matches(t[j]) && next[j + 1];
            }
        }
        std::swap(next, here);
    }
    return next[0] != 0;
}

QString textOf(const uint8_t* data, size_t size, bool utf16) {
    if (utf16) {
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(data), qsizetype(size / 2));
    }
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    // First byte: bit 0 chooses raw UTF-16 code units (lone surrogates included) or UTF-8,
    // the rest where the pattern ends and the text begins.
    const bool utf16 = data[0] & 1;
    const size_t rest = size - 1;
    size_t split = rest == 0 ? 0 : (size_t(data[0] >> 1) * rest) / 127;
    if (utf16) {
        split &= ~size_t(1);
    }
    split = std::min(split, rest);
    std::vector<uint8_t> patternBytes(data + 1, data + 1 + split);
    std::vector<uint8_t> textBytes(data + 1 + split, data + size);
    const QString pattern = textOf(patternBytes.data(), patternBytes.size(), utf16);
    const QString text = textOf(textBytes.data(), textBytes.size(), utf16);

    const std::optional<bool> got = store::likeMatch(pattern, text);
    const std::optional<std::vector<Element>> elements = parse(folded(pattern));
    if (!elements) {
        // A malformed pattern may be noticed only where matching reaches it.
    } else if (!got || *got != referenceMatch(*elements, folded(text))) {
        std::abort();
    }
    // Any name, wildcards and all, is matched literally by its prefix pattern: it matches
    // exactly the texts whose characters, case-folded, begin with the name's.
    const QString prefix = store::prefixPattern(pattern);
    const std::vector<char32_t> name = folded(pattern);
    for (const QString& candidate : {text, pattern + text, pattern}) {
        const std::vector<char32_t> t = folded(candidate);
        const bool begins =
            t.size() >= name.size() && std::equal(name.begin(), name.end(), t.begin());
        if (store::likeMatch(prefix, candidate) != std::optional<bool>(begins)) {
            std::abort();
        }
    }
    return 0;
}
