#include "framework/toolbar_layout.h"

#include <algorithm>

namespace toolbar {

namespace {
unsigned Word(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
}  // namespace

bool ParseToolbarResource(const std::uint8_t* data, size_t size, ToolbarResource& out) {
    if (!data || size < 8 || Word(data) != 1) return false;
    ToolbarResource parsed;
    parsed.width = static_cast<int>(Word(data + 2));
    parsed.height = static_cast<int>(Word(data + 4));
    size_t count = Word(data + 6);
    if (parsed.width == 0 || parsed.height == 0 || size < 8 + 2 * count) return false;
    for (size_t i = 0; i < count; ++i) parsed.ids.push_back(Word(data + 8 + 2 * i));
    out = parsed;
    return true;
}

std::vector<bool> WrapAfter(const std::vector<Item>& items, int maxWidth) {
    std::vector<bool> wrap(items.size(), false);
    int x = 0;
    bool rowHasButton = false;
    for (size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        if (item.separator) {
            // A separator that would pass the width, or the last item, ends the row itself.
            if (rowHasButton && x + item.width > maxWidth) {
                wrap[i] = true;
                x = 0;
                rowHasButton = false;
            } else {
                x += item.width;
            }
            continue;
        }
        if (rowHasButton && x + item.width > maxWidth) {
            // Break before this button: after the previous item.
            wrap[i - 1] = true;
            x = 0;
        }
        x += item.width;
        rowHasButton = true;
    }
    return wrap;
}

int RowCount(const std::vector<Item>& items, const std::vector<bool>& wrapAfter) {
    if (items.empty()) return 0;
    int rows = 1;
    for (size_t i = 0; i + 1 < items.size(); ++i)
        if (wrapAfter[i]) ++rows;
    return rows;
}

std::vector<bool> WrapIntoRows(const std::vector<Item>& items, int rows) {
    rows = std::max(rows, 1);
    int total = 0;
    for (const Item& item : items) total += item.width;
    // Widen from the widest single button until the rows suffice.
    int widest = 0;
    for (const Item& item : items)
        if (!item.separator) widest = std::max(widest, item.width);
    for (int width = widest; width < total; ++width) {
        std::vector<bool> wrap = WrapAfter(items, width);
        if (RowCount(items, wrap) <= rows) return wrap;
    }
    return std::vector<bool>(items.size(), false);
}

}  // namespace toolbar
