#include "chrome/row_negotiation.h"

#include <algorithm>

namespace sizing {

Negotiation NegotiateRow(std::vector<RowBar>& row, int self, int available) {
    Negotiation out;
    // 1. Do the bars fit at all, the sizing ones at their minimum?
    int total = 2;
    for (int i = 0; i < static_cast<int>(row.size()); ++i) {
        const RowBar& bar = row[i];
        total += (bar.sizing ? bar.minLength : bar.length) - 2;
        if (total <= available) continue;
        if (i < self) {
            out.breakAfter = i;
            return out;
        }
        if (i == self) {
            row[i].length = row[i].minLength;
            out.succeeded = true;
            return out;
        }
        out.breakBefore = i;
        row.resize(i);
        break;
    }

    // 2. What the other bars take, what the sizing bars use, and the row's thickness.
    int used = 0;
    int thickness = 0;
    std::vector<RowBar*> sizingBars;
    for (RowBar& bar : row) {
        if (!bar.sizing) {
            available -= bar.length - 2;
            continue;
        }
        used += bar.length - 2;
        thickness = std::max(thickness, bar.thickness);
        sizingBars.push_back(&bar);
    }

    // 3. Hand out the difference.
    int difference = available - used;
    if (sizingBars.size() == 1) {
        sizingBars[0]->length += difference;
    } else if (!sizingBars.empty()) {
        for (RowBar* bar : sizingBars) bar->thickness = thickness;
        bool changed = true;
        while (difference != 0 && changed) {
            changed = false;
            for (RowBar* bar : sizingBars) {
                if (difference == 0) break;
                if (bar->holdLength) continue;
                if (difference < 0 && bar->length <= bar->minLength) continue;
                int step = difference > 0 ? 1 : -1;
                bar->length += step;
                difference -= step;
                changed = true;
            }
        }
    }
    for (RowBar* bar : sizingBars) bar->holdLength = false;
    out.succeeded = true;
    return out;
}

std::vector<int> PackRow(const std::vector<int>& lengths) {
    std::vector<int> edges;
    int edge = -2;
    for (int length : lengths) {
        edges.push_back(edge);
        edge += length - 2;
    }
    return edges;
}

}  // namespace sizing
