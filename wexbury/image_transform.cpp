#include "wexbury/image_transform.h"

#include "wexbury/colour_convert.h"
#include "wexbury/forward_dct.h"

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

}  // namespace

bool TransformImage(RowSource& image, bool grayscale, const uint16_t lumaQuant[64],
                    const uint16_t chromaQuant[64], CoefficientImage& out) {
    const int width = image.Width(), height = image.Height();
    if (width <= 0 || height <= 0) return false;
    if (!LayOutComponents(width, height, grayscale, out)) return false;

    QuantDivisors divisors[2];
    PrepareDivisors(lumaQuant, divisors[0]);
    if (!grayscale) PrepareDivisors(chromaQuant, divisors[1]);
    const DctQuantiseFn dct = BestDctQuantise();

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

    for (int my = 0; my < out.mcusHigh; ++my) {
        const int top = my * mcuSide;
        // Below the picture the last row repeats.
        const int count = height - top < mcuSide ? height - top : mcuSide;
        const uint8_t* rows[16];
        if (!image.FetchRows(top, count, rows)) return false;
        for (int r = count; r < mcuSide; ++r) rows[r] = rows[count - 1];
        if (grayscale) {
            for (int r = 0; r < 8; ++r)
                ConvertRowLuma(rows[r], width, lumaStride, planes[0] + r * lumaStride);
        } else {
            for (int r = 0; r < 16; r += 2) {
                ConvertRowPair420(rows[r], rows[r + 1], width, lumaStride,
                                  planes[0] + r * lumaStride, planes[0] + (r + 1) * lumaStride,
                                  planes[1] + (r / 2) * chromaStride,
                                  planes[2] + (r / 2) * chromaStride);
            }
        }
        for (int c = 0; c < out.componentCount; ++c) {
            const Component& comp = out.components[c];
            for (int v = 0; v < comp.vSamp; ++v) {
                const int by = my * comp.vSamp + v;
                if (by >= comp.realHigh) break;
                const float* rowStart = planes[c] + size_t(v) * 8 * size_t(strides[c]);
                for (int bx = 0; bx < comp.realWide; ++bx) {
                    CoefBlock block;
                    dct(rowStart + 8 * bx, strides[c], divisors[comp.quantTable], block);
                    out.Store(c, by, bx, block);
                }
            }
        }
    }
    for (int c = 0; c < out.componentCount; ++c) FillPaddingBlocks(out, c);
    return true;
}

}  // namespace wexbury
