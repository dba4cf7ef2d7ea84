#include "wexbury/scan_encoder.h"

#include "wexbury/progressive_scan.h"
#include "wexbury/sequential_scan.h"

namespace wexbury {
namespace {

// Calls visit(position in scan, block) in the order the scan stores them: MCU by MCU when it
// interleaves components, otherwise the component's own blocks row by row.
template <class Out, class Visit>
bool ForEachBlock(const CoefficientImage& image, const ScanDefinition& scan, Out& out, Visit&& visit) {
    if (scan.componentCount == 1) {
        const int c = scan.components[0];
        const Component& comp = image.components[c];
        for (int by = 0; by < comp.realHigh; ++by)
            for (int bx = 0; bx < comp.realWide; ++bx) {
                if (!out.Reserve()) return false;
                visit(0, image.At(c, by, bx));
            }
        return true;
    }
    for (int my = 0; my < image.mcusHigh; ++my)
        for (int mx = 0; mx < image.mcusWide; ++mx)
            for (int i = 0; i < scan.componentCount; ++i) {
                const int c = scan.components[i];
                const Component& comp = image.components[c];
                for (int v = 0; v < comp.vSamp; ++v)
                    for (int h = 0; h < comp.hSamp; ++h) {
                        if (!out.Reserve()) return false;
                        visit(i, image.At(c, my * comp.vSamp + v, mx * comp.hSamp + h));
                    }
            }
    return true;
}

template <class Out>
bool Run(const CoefficientImage& image, const ScanDefinition& scan, Out& out) {
    int dcSlot[3], lastDc[3] = {0, 0, 0};
    for (int i = 0; i < scan.componentCount; ++i)
        dcSlot[i] = DcSlot(image.components[scan.components[i]].quantTable);
    const int acSlot = AcSlot(image.components[scan.components[0]].quantTable);

    if (scan.ss == 0 && scan.se == 63) {
        // Sequential: each component codes with its own tables.
        int acSlots[3];
        for (int i = 0; i < scan.componentCount; ++i)
            acSlots[i] = AcSlot(image.components[scan.components[i]].quantTable);
        return ForEachBlock(image, scan, out, [&](int i, const BlockView& b) {
            EncodeSequentialBlock(b, lastDc[i], dcSlot[i], acSlots[i], out);
        });
    }
    if (scan.ss == 0) {
        return ForEachBlock(image, scan, out, [&](int i, const BlockView& b) {
            EncodeDcFirst(b, lastDc[i], dcSlot[i], scan.al, out);
        });
    }
    AcScanEncoder<Out> ac(out, acSlot, scan.ss, scan.se, scan.al);
    bool ok;
    if (scan.ah == 0)
        ok = ForEachBlock(image, scan, out, [&](int, const BlockView& b) { ac.EncodeFirst(b); });
    else
        ok = ForEachBlock(image, scan, out, [&](int, const BlockView& b) { ac.EncodeRefine(b); });
    if (!ok || !out.Reserve()) return false;
    ac.Finish();
    return true;
}

}  // namespace

bool ScanUsesSlot(const CoefficientImage& image, const ScanDefinition& scan, int slot) {
    const bool sequential = scan.ss == 0 && scan.se == 63;
    for (int i = 0; i < scan.componentCount; ++i) {
        const int table = image.components[scan.components[i]].quantTable;
        if (scan.ss == 0 && slot == DcSlot(table)) return true;
        if ((sequential || scan.ss > 0) && slot == AcSlot(table)) return true;
    }
    return false;
}

bool RunScan(const CoefficientImage& image, const ScanDefinition& scan, SymbolCounter& out) {
    return Run(image, scan, out);
}
bool RunScan(const CoefficientImage& image, const ScanDefinition& scan, SymbolEmitter& out) {
    return Run(image, scan, out);
}

}  // namespace wexbury
