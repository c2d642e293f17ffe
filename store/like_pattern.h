#pragma once

#include <QChar>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "store/utf8_text.h"

// The office's Like compiled, for the engines that match many texts with one pattern: the
// definitions behind store::likeMatch and store::LikePattern (store/like.h), kept in a header
// so that an engine's per-row matching is compiled into its own loop.
namespace store::like_detail {

// Code points of a text, case-folded so that comparison ignores case in every script.
std::vector<char32_t> foldedCodePoints(const QString& s);

// The general matcher, on a folded pattern and a folded text.
std::optional<bool> matchFolded(const std::vector<char32_t>& p, const char32_t* t, size_t tSize);

// The general matcher's copy of a text, kept from call to call.
inline std::vector<char32_t>& scratchBuffer() {
    thread_local std::vector<char32_t> buffer;
    return buffer;
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
    std::optional<bool> match(Source&& source) const {
        if (kind_ != Kind::General) {
            char32_t c = 0;
            for (char32_t want : literal_) {
                if (!source.next(c) || c != want) {
                    return false;
                }
            }
            return kind_ == Kind::Prefix || !source.next(c);
        }
        std::vector<char32_t>& scratch = scratchBuffer();
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

}  // namespace store::like_detail
