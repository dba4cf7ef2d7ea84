#pragma once
// The marker segments around the entropy-coded data of a JFIF file.
#include <cstdint>

#include "wexbury/byte_sink.h"
#include "wexbury/coefficient_image.h"
#include "wexbury/huffman_table.h"
#include "wexbury/scan_script.h"

namespace wexbury {

void WriteStartOfImage(ByteSink& out);
void WriteJfifHeader(ByteSink& out);  // APP0 "JFIF" 1.01, aspect ratio 1:1, no thumbnail
// `tables` natural order; `count` 1 (luma) or 2 (luma, chroma).
void WriteQuantTables(ByteSink& out, const uint16_t (*tables)[64], int count);
void WriteFrameHeader(ByteSink& out, const CoefficientImage& image, bool progressive);
// `tableClass` 0 DC, 1 AC.
void WriteHuffmanTable(ByteSink& out, int tableClass, int id, const HuffmanTableLayout& layout);
void WriteScanHeader(ByteSink& out, const CoefficientImage& image, const ScanDefinition& scan);
void WriteEndOfImage(ByteSink& out);

}  // namespace wexbury
