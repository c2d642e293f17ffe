#pragma once

#include <span>
#include <string_view>

// Made-up names and texts for sample data files, as UTF-8. Every name is invented.
namespace tools::sample {

// A staff member and how many of the office's calls are for them (a relative weight).
struct Staff {
    std::string_view name;
    int weight;
};

// A few dozen staff names in kanji; several share a beginning (山田 / 山田太郎 / 山田花子),
// as names in one office do, so that one user's prefix also matches colleagues.
std::span<const Staff> staff();

// Company, office and shop names callers give.
std::span<const std::string_view> companies();
// Family names of callers.
std::span<const std::string_view> callerNames();

// A memo text; a "%d" in it stands for a number from low to high that the generator fills in.
struct Memo {
    std::string_view text;
    int low = 0;
    int high = 0;
};

// The entry field's default memo text, which most messages keep.
std::string_view defaultMemo();
// Other memo texts, each at most 100 characters with its number filled in.
std::span<const Memo> memos();

// Telephone area codes and mobile prefixes of outside numbers.
std::span<const std::string_view> areaCodes();

}  // namespace tools::sample
