#pragma once
// How the bars of one dock row share its length, without windows. Lengths run along the row
// (widths in a horizontal row), thicknesses across it.
#include <vector>

namespace sizing {

struct RowBar {
    bool sizing = true;  // a sizing bar; any other bar keeps its length
    int length = 0;
    int thickness = 0;
    int minLength = 0;
    int minThickness = 0;
    bool holdLength = false;  // keeps its length once, when it has just been shown
};

// What the negotiation asks of the dock bar's row list, and whether the row may be aligned.
struct Negotiation {
    bool succeeded = false;
    int breakAfter = -1;   // end the row after this bar (index into the row)
    int breakBefore = -1;  // start a new row with this bar
};

// Fits the row's visible bars into `available` (neighbours overlap by 2): bars that cannot
// even fit at their minimum lengths move to a new row, this bar (`self`) shrinks to its minimum
// when it is the one that does not fit, and what is left is handed out among the sizing bars,
// pixel by pixel, skipping bars that hold their length and those at their minimum.
Negotiation NegotiateRow(std::vector<RowBar>& row, int self, int available);

// The leading edges of a row's bars placed one after another: the first at -2, each further one
// overlapping the previous by 2.
std::vector<int> PackRow(const std::vector<int>& lengths);

}  // namespace sizing
