#include "ui/main/column_fit.h"

#include <algorithm>
#include <cmath>

std::vector<int> fitColumns(const std::vector<double>& shares, const std::vector<int>& needs,
                            int width) {
    const size_t n = shares.size();
    std::vector<int> widths(needs.begin(), needs.end());
    widths.resize(n, 0);
    // Columns held at their needs; each round holds at least one more, or ends.
    std::vector<bool> held(n, false);
    double unit = 0;
    for (bool changed = true; changed;) {
        changed = false;
        double free = 0;
        int left = width;
        for (size_t i = 0; i < n; ++i) {
            if (held[i]) {
                left -= widths[i];
            } else {
                free += shares[i];
            }
        }
        if (free <= 0 || left <= 0) {
            return widths;  // every column at its need
        }
        unit = left / free;
        for (size_t i = 0; i < n; ++i) {
            if (!held[i] && shares[i] * unit < widths[i]) {
                held[i] = true;
                changed = true;
            }
        }
    }
    // The free columns' edges rounded from their exact places, so that rounding loses no pixel
    // and no column falls below its (whole) need.
    double edge = 0;
    long shown = 0;
    for (size_t i = 0; i < n; ++i) {
        if (held[i]) {
            continue;
        }
        edge += shares[i] * unit;
        const long next = std::lround(edge);
        widths[i] = int(next - shown);
        shown = next;
    }
    return widths;
}
