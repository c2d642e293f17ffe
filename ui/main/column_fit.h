#pragma once

#include <vector>

// Widths in whole pixels for columns that share a view's width in proportion to their shares,
// each at least as wide as it needs. A column that its share leaves too narrow gets what it
// needs, and the others share the rest; when the needs alone overflow the width, every column
// gets just what it needs. The widths add up to the width exactly whenever they fit.
std::vector<int> fitColumns(const std::vector<double>& shares, const std::vector<int>& needs,
                            int width);
