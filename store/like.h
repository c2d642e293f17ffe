#pragma once

#include <QString>
#include <cstddef>
#include <optional>

#include "store/like_pattern.h"

namespace store {

// The message book's Like: '*' any run of characters (none included), '?' one character,
// '#' one digit, '[abc]' / '[a-z]' one character of a list, '[!abc]' one character not in it.
// Letters compare without regard to case in every script (full-width Latin, Greek, ...).
// Returns nullopt for a malformed pattern (an unclosed '[').
std::optional<bool> likeMatch(const QString& pattern, const QString& text);

// A pattern that matches every text beginning with name: the name's own wildcard
// characters are bracketed so that they match literally, and '*' follows.
QString prefixPattern(const QString& name);

// A pattern read once, for matching many texts: likeMatch(pattern, text) for each.
class LikePattern {
public:
    explicit LikePattern(const QString& pattern)
        : compiled_(like_detail::foldedCodePoints(pattern)) {}

    // nullopt for a malformed pattern.
    std::optional<bool> match(const QString& text) const {
        return compiled_.match(like_detail::Utf16Source(text));
    }
    // The same for a text given as UTF-8 bytes. wellFormed is set false (and nullopt returned)
    // when the bytes are not plain well-formed UTF-8 as utf8::read() takes it: the caller then
    // matches the text as its engine converts it.
    std::optional<bool> matchUtf8(const unsigned char* data, std::size_t size,
                                  bool& wellFormed) const {
        like_detail::Utf8Source source(data, size);
        const std::optional<bool> m = compiled_.match(source);
        wellFormed = !source.invalid();
        return wellFormed ? m : std::nullopt;
    }

private:
    like_detail::CompiledPattern compiled_;
};

}  // namespace store
