#pragma once

#include <QString>
#include <cstddef>

// Reading the engine's UTF-8 texts without its conversion to UTF-16, where that gives the
// same characters; texts made fit for storing. Internal to store/.
namespace store::utf8 {

// Reads the character at p (p < end). Returns the number of bytes it takes, or 0 when the
// bytes there are not plain well-formed UTF-8: malformed sequences, overlong forms,
// surrogates, U+FFFE and U+FFFF (which the engine turns into U+FFFD), and a character that
// continuation bytes follow (which the engine joins to it). The caller then uses the
// engine's own conversion for the whole text, so every text reads exactly as it converts it.
inline std::size_t read(const unsigned char* p, const unsigned char* end, char32_t& out) {
    const unsigned char b0 = *p;
    char32_t c;
    std::size_t n;
    if (b0 < 0x80) {
        c = b0;
        n = 1;
    } else if (b0 >= 0xC2 && b0 < 0xE0) {
        c = b0 & 0x1F;
        n = 2;
    } else if (b0 >= 0xE0 && b0 < 0xF0) {
        c = b0 & 0x0F;
        n = 3;
    } else if (b0 >= 0xF0 && b0 < 0xF5) {
        c = b0 & 0x07;
        n = 4;
    } else {
        return 0;
    }
    if (std::size_t(end - p) < n) {
        return 0;
    }
    for (std::size_t k = 1; k < n; ++k) {
        if ((p[k] & 0xC0) != 0x80) {
            return 0;
        }
        c = (c << 6) | (p[k] & 0x3F);
    }
    if ((n == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF) || c >= 0xFFFE)) ||
        (n == 4 && (c < 0x10000 || c > 0x10FFFF))) {
        return 0;
    }
    if (p + n != end && (p[n] & 0xC0) == 0x80) {
        return 0;
    }
    out = c;
    return n;
}

// The text as UTF-16, allocated to its exact length; nullopt-like: sets ok false (and
// returns nothing) when read() refuses some character.
inline QString toQString(const unsigned char* p, std::size_t bytes, bool& ok) {
    const unsigned char* const end = p + bytes;
    // First the length in UTF-16 units, checking every character.
    std::size_t units = 0;
    for (const unsigned char* q = p; q != end;) {
        if (*q < 0x80 && (q + 1 == end || (q[1] & 0xC0) != 0x80)) {
            ++q;
            ++units;
            continue;
        }
        char32_t c = 0;
        const std::size_t n = read(q, end, c);
        if (n == 0) {
            ok = false;
            return QString();
        }
        q += n;
        units += c > 0xFFFF ? 2 : 1;
    }
    ok = true;
    QString text(qsizetype(units), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (const unsigned char* q = p; q != end;) {
        if (*q < 0x80) {
            *out++ = *q++;
            continue;
        }
        char32_t c = 0;
        q += read(q, end, c);
        if (c > 0xFFFF) {
            *out++ = QChar::highSurrogate(c);
            *out++ = QChar::lowSurrogate(c);
        } else {
            *out++ = char16_t(c);
        }
    }
    return text;
}

// The text with every unpaired surrogate replaced by U+FFFD, as every engine stores it: no
// engine can keep half a character, and each text and name must reach both alike.
inline QString withoutLoneSurrogates(const QString& text) {
    QString out = text;  // shares the characters until one must change
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (out.at(i).isHighSurrogate() && i + 1 < out.size() && out.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (out.at(i).isSurrogate()) {
            out[i] = QChar::ReplacementCharacter;
        }
    }
    return out;
}

}  // namespace store::utf8
