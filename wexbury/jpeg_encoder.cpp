#include "wexbury/jpeg_encoder.h"

#include "wexbury/bit_writer.h"
#include "wexbury/image_transform.h"
#include "wexbury/jfif_markers.h"
#include "wexbury/quant_tables.h"
#include "wexbury/scan_encoder.h"
#include "wexbury/smoothing_filter.h"

namespace wexbury {
namespace {

// One scan, twice over the blocks: count the symbols, fit and write the tables it needs, then
// write the scan with them.
bool EncodeScan(const CoefficientImage& image, const ScanDefinition& scan, ByteSink& out) {
    SymbolCounter counter;
    RunScan(image, scan, counter);

    HuffmanCodes codes[kTableSlots];
    for (int slot = 0; slot < kTableSlots; ++slot) {
        if (!ScanUsesSlot(image, scan, slot)) continue;
        HuffmanTableLayout layout;
        BuildOptimalTable(counter.Frequency(slot), layout);
        BuildCodes(layout, codes[slot]);
        const bool ac = slot >= AcSlot(0);
        WriteHuffmanTable(out, ac ? 1 : 0, ac ? slot - AcSlot(0) : slot, layout);
    }
    WriteScanHeader(out, image, scan);

    BitWriter writer(out);
    SymbolEmitter emitter(writer, codes);
    return RunScan(image, scan, emitter) && writer.Finish();
}

}  // namespace

bool EncodeJpeg(RowSource& source, const JpegOptions& options, ByteSink& out) {
    if (source.Width() <= 0 || source.Height() <= 0) return false;
    SmoothedRows smoothed(source);
    RowSource& image = options.smoothing ? static_cast<RowSource&>(smoothed) : source;

    uint16_t quant[2][64];
    ScaledQuantTable(QuantTableKind::Luma, options.quality, quant[0]);
    ScaledQuantTable(QuantTableKind::Chroma, options.quality, quant[1]);

    CoefficientImage coefficients;
    RateDistortionSettings rd;
    rd.leastLambdaScale = options.rateDistortionLambda;
    rd.steer = options.steerLambda;
    if (!TransformImage(image, options.grayscale, quant[0], quant[1], rd, options.fitChroma,
                        coefficients))
        return false;

    WriteStartOfImage(out);
    WriteJfifHeader(out);
    WriteQuantTables(out, quant, coefficients.componentCount == 1 ? 1 : 2);
    WriteFrameHeader(out, coefficients, options.progressive);
    const ScanScript script = options.progressive ? ProgressiveScript(coefficients.componentCount)
                                                  : BaselineScript(coefficients.componentCount);
    for (size_t i = 0; i < script.count; ++i)
        if (!EncodeScan(coefficients, script.scans[i], out)) return false;
    WriteEndOfImage(out);
    return !out.Failed();
}

bool EncodeJpeg(const RgbImage& image, const JpegOptions& options, ByteSink& out) {
    ImageRows rows(image);
    return EncodeJpeg(rows, options, out);
}

}  // namespace wexbury
