#pragma once
// The fifteen zoom levels and the two zoom commands as a state machine: 10 % to 90 % in steps of
// 10 (drawn from a reduced copy), 100 % (the image itself), 200 % to 600 % in steps of 100 (whole
// source pixels stretched by the factor). The window code applies each step's answer.

namespace ZoomSteps {

constexpr int kMinimum = 10;
constexpr int kMaximum = 600;
constexpr int kActual = 100;

// What a zoom step asks of the view.
enum class Action {
    kNothing,         // the limit is reached: zoom unchanged, nothing else happens
    kLandOnActual,    // lands on 100 %: drop the reduced copy, image-size scroll, pane 1; history untouched
    kRebuildReduced,  // a new level below 100 %: rebuild the reduced copy, then record in the history
    kStretch,         // a new level above 100 %: zoomed scroll size, then record in the history
    kRecordOnly,      // stays at 10 % but the history state is rewritten all the same
};

struct Step {
    int zoom;       // the zoom after the step
    Action action;
};

// Command "Zoom out": the image gets larger.
Step Up(int zoom);
// Command "Zoom in": the image gets smaller.
Step Down(int zoom);

// True for one of the fifteen levels.
bool IsLevel(int zoom);

// A length at a zoom, truncated: length x zoom / 100 (64-bit inside, so no overflow).
int Scale(int length, int zoom);

}  // namespace ZoomSteps
