#include "wexbury/image_transform.h"

#include "wexbury/chroma_fit.h"
#include "wexbury/colour_convert.h"
#include "wexbury/forward_dct.h"
#include "wexbury/trellis_quantiser.h"

namespace wexbury {
namespace {

int CeilDiv(int a, int b) { return (a + b - 1) / b; }

// Sets up the component grids for the frame and the room for their blocks.
bool LayOutComponents(int width, int height, bool grayscale, CoefficientImage& out) {
    out.width = width;
    out.height = height;
    out.componentCount = grayscale ? 1 : 3;
    const int maxSamp = grayscale ? 1 : 2;
    out.mcusWide = CeilDiv(width, 8 * maxSamp);
    out.mcusHigh = CeilDiv(height, 8 * maxSamp);

    for (int c = 0; c < out.componentCount; ++c) {
        Component& comp = out.components[c];
        comp.id = c + 1;
        comp.hSamp = comp.vSamp = (c == 0) ? maxSamp : 1;
        comp.quantTable = c == 0 ? 0 : 1;
        comp.blocksWide = out.mcusWide * comp.hSamp;
        comp.blocksHigh = out.mcusHigh * comp.vSamp;
        // Samples of a subsampled component: the image size scaled down, rounded up.
        comp.realWide = CeilDiv(CeilDiv(width * comp.hSamp, maxSamp), 8);
        comp.realHigh = CeilDiv(CeilDiv(height * comp.vSamp, maxSamp), 8);
    }
    return out.Allocate();
}

// Blocks of the padded MCU grid that hold no image samples: all AC zero, DC copied from a real
// neighbour so their DC differences cost nothing. Right of the image, the block to the left;
// below it, the last block of the row above within the same MCU.
void FillPaddingBlocks(CoefficientImage& image, int c) {
    const Component& comp = image.components[c];
    for (int by = 0; by < comp.realHigh; ++by)
        for (int bx = comp.realWide; bx < comp.blocksWide; ++bx)
            image.StoreDcOnly(c, by, bx, int16_t(image.At(c, by, bx - 1).Dc()));
    for (int by = comp.realHigh; by < comp.blocksHigh; ++by) {
        for (int mx = 0; mx < comp.blocksWide / comp.hSamp; ++mx) {
            const int16_t dc = int16_t(image.At(c, by - 1, mx * comp.hSamp + comp.hSamp - 1).Dc());
            for (int h = 0; h < comp.hSamp; ++h) image.StoreDcOnly(c, by, mx * comp.hSamp + h, dc);
        }
    }
}

// How much a unit of error in a chroma coefficient shows in R, G and B against one in luma: the
// colour conversion spreads it over the channels, and the decoder's upsampling over about four
// pixels, softened by interpolation.
constexpr float kChromaErrorWeight = 1.5f;

// The blocks of one MCU row between the DCT and the store, so that the rate-distortion pass can
// learn its bit costs from the first row before it codes it.
struct RowBlocks {
    HeapBuffer<CoefBlock> blocks;
    HeapBuffer<float> exact;  // 64 a block
    bool Allocate(size_t count) { return blocks.Allocate(count) && exact.Allocate(count * 64); }
};

class RateDistortionPass {
public:
    RateDistortionPass(float lambdaScale, const uint16_t lumaQuant[64],
                       const uint16_t chromaQuant[64])
        : enabled_(lambdaScale > 0) {
        weights_[0] = MakeTrellisWeights(lumaQuant, lumaQuant, 1.0f, lambdaScale);
        weights_[1] = MakeTrellisWeights(chromaQuant, lumaQuant, kChromaErrorWeight, lambdaScale);
    }

    // Requantises the blocks of one component's row in place; `table` 0 luma, 1 chroma.
    void Requantise(int table, CoefBlock* blocks, const float* exact, size_t count) {
        if (!enabled_) return;
        AcRateModel& model = models_[table];
        if (!seen_[table]) {
            // The first row: its own rounded symbols are the best guess of what bits cost.
            for (size_t i = 0; i < count; ++i) model.Count(blocks[i]);
            model.Refit();
            seen_[table] = true;
        }
        const SymbolCosts costs = ScaledCosts(model, weights_[table]);
        for (size_t i = 0; i < count; ++i) {
            TrellisQuantise(exact + 64 * i, weights_[table], costs, blocks[i]);
            model.Count(blocks[i]);
        }
        model.Refit();
    }

private:
    bool enabled_;
    bool seen_[2] = {false, false};
    TrellisWeights weights_[2];
    AcRateModel models_[2];
};

}  // namespace

bool TransformImage(RowSource& image, bool grayscale, const uint16_t lumaQuant[64],
                    const uint16_t chromaQuant[64], float lambdaScale, bool fitChroma,
                    CoefficientImage& out) {
    const int width = image.Width(), height = image.Height();
    if (width <= 0 || height <= 0) return false;
    if (!LayOutComponents(width, height, grayscale, out)) return false;

    QuantDivisors divisors[2];
    PrepareDivisors(lumaQuant, divisors[0]);
    if (!grayscale) PrepareDivisors(chromaQuant, divisors[1]);
    const DctQuantiseFn dct = BestDctQuantise();
    RateDistortionPass rdo(lambdaScale, lumaQuant, grayscale ? lumaQuant : chromaQuant);

    // One MCU row of float samples per component.
    const int mcuSide = grayscale ? 8 : 16;
    const int lumaStride = out.mcusWide * mcuSide;
    const int chromaStride = lumaStride / 2;
    HeapBuffer<float> strip;
    const size_t lumaFloats = size_t(lumaStride) * size_t(mcuSide);
    const size_t chromaFloats = grayscale ? 0 : size_t(chromaStride) * 8;
    if (!strip.Allocate(lumaFloats + 2 * chromaFloats)) return false;
    float* planes[3] = {strip.data(), strip.data() + lumaFloats,
                        strip.data() + lumaFloats + chromaFloats};
    const int strides[3] = {lumaStride, chromaStride, chromaStride};
    RowBlocks row;
    if (!row.Allocate(size_t(out.components[0].blocksWide) * 2)) return false;

    ChromaFit chroma;
    const bool fit = fitChroma && !grayscale;
    if (fit && !chroma.Allocate(width, lumaStride)) return false;

    for (int my = 0; my < out.mcusHigh; ++my) {
        const int top = my * mcuSide;
        // The band and, for the chroma fit, its margins; past the picture the edge rows repeat.
        const int margin = fit ? kChromaFitMargin : 0;
        const int first = top - margin > 0 ? top - margin : 0;
        const int end = top + mcuSide + margin < height ? top + mcuSide + margin : height;
        const uint8_t* fetched[16 + 2 * kChromaFitMargin];
        if (!image.FetchRows(first, end - first, fetched)) return false;
        auto sourceRow = [&](int v) {
            return fetched[(v < first ? first : v >= end ? end - 1 : v) - first];
        };
        if (grayscale) {
            for (int r = 0; r < 8; ++r)
                ConvertRowLuma(sourceRow(top + r), width, lumaStride, planes[0] + r * lumaStride);
        } else if (fit) {
            for (int r = 0; r < 16; ++r)
                ConvertRowLuma(sourceRow(top + r), width, lumaStride, planes[0] + r * lumaStride);
            chroma.Band(top, 8, sourceRow, planes[1], planes[2], chromaStride);
        } else {
            for (int r = 0; r < 16; r += 2) {
                ConvertRowPair420(sourceRow(top + r), sourceRow(top + r + 1), width, lumaStride,
                                  planes[0] + r * lumaStride, planes[0] + (r + 1) * lumaStride,
                                  planes[1] + (r / 2) * chromaStride,
                                  planes[2] + (r / 2) * chromaStride);
            }
        }
        for (int c = 0; c < out.componentCount; ++c) {
            const Component& comp = out.components[c];
            size_t count = 0;
            for (int v = 0; v < comp.vSamp && my * comp.vSamp + v < comp.realHigh; ++v) {
                const float* rowStart = planes[c] + size_t(v) * 8 * size_t(strides[c]);
                for (int bx = 0; bx < comp.realWide; ++bx, ++count)
                    dct(rowStart + 8 * bx, strides[c], divisors[comp.quantTable],
                        row.blocks[count], row.exact.data() + 64 * count);
            }
            rdo.Requantise(comp.quantTable, row.blocks.data(), row.exact.data(), count);
            count = 0;
            for (int v = 0; v < comp.vSamp && my * comp.vSamp + v < comp.realHigh; ++v)
                for (int bx = 0; bx < comp.realWide; ++bx)
                    out.Store(c, my * comp.vSamp + v, bx, row.blocks[count++]);
        }
    }
    for (int c = 0; c < out.componentCount; ++c) FillPaddingBlocks(out, c);
    return true;
}

}  // namespace wexbury
