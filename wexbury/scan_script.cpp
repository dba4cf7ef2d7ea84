#include "wexbury/scan_script.h"

namespace wexbury {
namespace {

ScanSpec AllComponents(int count, int ss, int se, int ah, int al) {
    return count == 1 ? ScanSpec{1, {0, 0, 0}, ss, se, ah, al}
                      : ScanSpec{3, {0, 1, 2}, ss, se, ah, al};
}
ScanSpec One(int component, int ss, int se, int ah, int al) {
    return ScanSpec{1, {component, 0, 0}, ss, se, ah, al};
}

}  // namespace

ScanScript BaselineScript(int componentCount) {
    ScanScript script;
    script.scans[script.count++] = AllComponents(componentCount, 0, 63, 0, 0);
    return script;
}

// The DC coefficients go out whole in the first scan. Holding back their lowest bit, as some
// encoders do, costs more than it saves on screenshots: a flat block's DC difference is zero and
// codes in about one bit, and the refinement would add one raw bit to every block.
ScanScript ProgressiveScript(int componentCount) {
    ScanScript s;
    auto add = [&s](ScanSpec spec) { s.scans[s.count++] = spec; };
    if (componentCount == 1) {
        add(AllComponents(1, 0, 0, 0, 0));
        add(One(0, 1, 5, 0, 2));
        add(One(0, 6, 63, 0, 2));
        add(One(0, 1, 63, 2, 1));
        add(One(0, 1, 63, 1, 0));
        return s;
    }
    // Luma gets its low band early and at two bits less precision; chroma comes whole at one bit
    // less; the last scans refine the AC to full precision.
    add(AllComponents(3, 0, 0, 0, 0));
    add(One(0, 1, 5, 0, 2));
    add(One(2, 1, 63, 0, 1));
    add(One(1, 1, 63, 0, 1));
    add(One(0, 6, 63, 0, 2));
    add(One(0, 1, 63, 2, 1));
    add(One(2, 1, 63, 1, 0));
    add(One(1, 1, 63, 1, 0));
    add(One(0, 1, 63, 1, 0));
    return s;
}

}  // namespace wexbury
