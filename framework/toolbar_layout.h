#pragma once
// The toolbar's resource and the wrapping of its buttons into rows, without windows.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace toolbar {

// A toolbar resource: button image size and the buttons' command ids in order, 0 for a separator.
struct ToolbarResource {
    int width = 0;
    int height = 0;
    std::vector<unsigned> ids;
};

// Reads the resource layout: WORD version (1), WORD width, WORD height, WORD count, WORD id[count].
// False for another version, a zero image size, or data shorter than the count says.
bool ParseToolbarResource(const std::uint8_t* data, size_t size, ToolbarResource& out);

// One item as laid out by the control: its width, and whether it is a separator.
struct Item {
    int width = 0;
    bool separator = false;
};

// Which items end a row when the buttons are wrapped into rows at most `maxWidth` wide: an item
// that would pass the width starts a new row (a separator there becomes the break instead).
// At least one button stands in each row, however narrow the width.
std::vector<bool> WrapAfter(const std::vector<Item>& items, int maxWidth);
// The number of rows a wrap makes.
int RowCount(const std::vector<Item>& items, const std::vector<bool>& wrapAfter);
// The narrowest wrap that needs no more than `rows` rows.
std::vector<bool> WrapIntoRows(const std::vector<Item>& items, int rows);

}  // namespace toolbar
