#include "wexbury/scan_script.h"

namespace wexbury {
namespace {

ScanDefinition AllComponents(int count, int ss, int se, int ah, int al) {
    return count == 1 ? ScanDefinition{1, {0, 0, 0}, ss, se, ah, al}
                      : ScanDefinition{3, {0, 1, 2}, ss, se, ah, al};
}
ScanDefinition One(int component, int ss, int se, int ah, int al) {
    return ScanDefinition{1, {component, 0, 0}, ss, se, ah, al};
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
    auto add = [&s](ScanDefinition layout) { s.scans[s.count++] = layout; };
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
