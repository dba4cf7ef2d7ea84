#pragma once
// Runs one scan over the coefficient image, either counting its symbols or writing them.
#include "wexbury/coefficient_image.h"
#include "wexbury/entropy_sink.h"
#include "wexbury/scan_script.h"

namespace wexbury {

// Huffman slots the scan codes with: DC slots for DC and sequential scans, the AC slot of its
// component for AC scans.
bool ScanUsesSlot(const CoefficientImage& image, const ScanDefinition& scan, int slot);

// False only when the emitter runs out of memory.
bool RunScan(const CoefficientImage& image, const ScanDefinition& scan, SymbolCounter& out);
bool RunScan(const CoefficientImage& image, const ScanDefinition& scan, SymbolEmitter& out);

}  // namespace wexbury
