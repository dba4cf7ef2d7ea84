#pragma once
// Which scans a file is made of. A baseline file has one scan holding every component. A
// progressive one first sends coarse DC and low-frequency AC (spectral selection, with the low
// bits held back by successive approximation), then refines: the usual script of common encoders.
#include <cstddef>

namespace wexbury {

struct ScanDefinition {
    int componentCount;
    int components[3];  // indices into the frame's components
    int ss, se;         // first and last zigzag position (spectral selection)
    int ah, al;         // bit position before and after this scan (successive approximation;
                        // AC only, the DC always goes out whole)
};

struct ScanScript {
    ScanDefinition scans[10];
    size_t count = 0;
};

ScanScript BaselineScript(int componentCount);
ScanScript ProgressiveScript(int componentCount);

}  // namespace wexbury
