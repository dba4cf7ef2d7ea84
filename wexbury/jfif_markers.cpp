#include "wexbury/jfif_markers.h"

#include "wexbury/quant_tables.h"

namespace wexbury {
namespace {

void Marker(ByteSink& out, uint8_t code) {
    out.PutByte(0xFF);
    out.PutByte(code);
}

}  // namespace

void WriteStartOfImage(ByteSink& out) { Marker(out, 0xD8); }
void WriteEndOfImage(ByteSink& out) { Marker(out, 0xD9); }

void WriteJfifHeader(ByteSink& out) {
    static const uint8_t app0[] = {
        0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00,
        0x01, 0x01,              // version 1.01
        0x00,                    // density units: none, only the aspect ratio
        0x00, 0x01, 0x00, 0x01,  // 1:1
        0x00, 0x00,              // no thumbnail
    };
    out.PutBytes(app0, sizeof app0);
}

void WriteQuantTables(ByteSink& out, const uint16_t (*tables)[64], int count) {
    Marker(out, 0xDB);
    out.PutBigEndian16(2 + 65 * count);
    for (int t = 0; t < count; ++t) {
        out.PutByte(uint8_t(t));  // 8-bit entries, table id t
        for (int k = 0; k < 64; ++k) out.PutByte(uint8_t(tables[t][kZigzagToNatural[k]]));
    }
}

void WriteFrameHeader(ByteSink& out, const CoefficientImage& image, bool progressive) {
    Marker(out, progressive ? 0xC2 : 0xC0);
    out.PutBigEndian16(8 + 3 * image.componentCount);
    out.PutByte(8);  // sample precision
    out.PutBigEndian16(unsigned(image.height));
    out.PutBigEndian16(unsigned(image.width));
    out.PutByte(uint8_t(image.componentCount));
    for (int c = 0; c < image.componentCount; ++c) {
        const Component& comp = image.components[c];
        out.PutByte(uint8_t(comp.id));
        out.PutByte(uint8_t(comp.hSamp << 4 | comp.vSamp));
        out.PutByte(uint8_t(comp.quantTable));
    }
}

void WriteHuffmanTable(ByteSink& out, int tableClass, int id, const HuffmanTableLayout& layout) {
    Marker(out, 0xC4);
    out.PutBigEndian16(2 + 1 + 16 + layout.symbolCount);
    out.PutByte(uint8_t(tableClass << 4 | id));
    out.PutBytes(layout.countsByLength + 1, 16);
    out.PutBytes(layout.symbols, size_t(layout.symbolCount));
}

void WriteScanHeader(ByteSink& out, const CoefficientImage& image, const ScanDefinition& scan) {
    Marker(out, 0xDA);
    out.PutBigEndian16(6 + 2 * scan.componentCount);
    out.PutByte(uint8_t(scan.componentCount));
    for (int i = 0; i < scan.componentCount; ++i) {
        const Component& comp = image.components[scan.components[i]];
        // DC and AC table ids both follow the component: 0 for luma, 1 for chroma.
        out.PutByte(uint8_t(comp.id));
        out.PutByte(uint8_t(comp.quantTable << 4 | comp.quantTable));
    }
    out.PutByte(uint8_t(scan.ss));
    out.PutByte(uint8_t(scan.se));
    out.PutByte(uint8_t(scan.ah << 4 | scan.al));
}

}  // namespace wexbury
