#include "wexbury/image_transform.h"

#include "wexbury/lambda_pilot.h"
#include "wexbury/rate_distortion_pass.h"
#include "wexbury/row_maker.h"
#include "wexbury/row_pipeline.h"

namespace wexbury {
namespace {

int CeilDiv(int a, int b) { return (a + b - 1) / b; }

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

// The lambda scales the pilot chooses among.
constexpr float kMostLambdaScale = 4.0f;
// One MCU row in at most this many goes into the pilot's sample, and at least this many rows:
// a screen's rows differ much (a title bar, a line of text, an empty margin), and a sample of few
// rows stands for the whole poorly.
constexpr int kPilotEvery = 8;
constexpr int kPilotRows = 16;
constexpr size_t kPilotBytes = size_t(40) << 20;

// Runs the pilot (lambda_pilot.h) over a sample of the MCU rows and sets `scale`.
bool ChooseLambda(RowMaker& maker, const CoefficientImage& layout, bool grayscale,
                  const uint16_t lumaQuant[64], const uint16_t chromaQuant[64], McuRowBlocks& row,
                  float least, LambdaPilot& pilot, float& scale) {
    McuRowShape shape;
    shape.width = layout.width;
    shape.grayscale = grayscale;
    shape.mcuSide = grayscale ? 8 : 16;
    shape.lumaWide = layout.components[0].realWide;
    shape.chromaWide = grayscale ? 0 : layout.components[1].realWide;
    // One row in `every`, twice as many when the first sample is doubtful; no more rows than
    // kPilotBytes hold, so that a large picture's sample takes no more memory than a small one's.
    const size_t rowBytes = (shape.Blocks() + 2 * size_t(shape.chromaWide)) *  // and plain chroma
                                (sizeof(CoefBlock) + 64 * sizeof(float)) +
                            size_t(shape.mcuSide) * size_t(shape.width) * 3;
    const size_t mostRows = kPilotBytes / rowBytes > 4 ? kPilotBytes / rowBytes : 4;
    int every = layout.mcusHigh / kPilotRows;
    every = every < 1 ? 1 : every > kPilotEvery ? kPilotEvery : every;
    while (2 * size_t(layout.mcusHigh + every - 1) / size_t(every) > mostRows) ++every;
    const size_t sampled = size_t(layout.mcusHigh + every - 1) / size_t(every);
    if (!pilot.Allocate(shape, 2 * sampled, size_t(layout.mcusHigh), lumaQuant, chromaQuant)) {
        // No room for a sample: coded as without the fit, at the least lambda, as before there
        // was a pilot. A save must not fail for want of one.
        maker.DropFit();
        scale = least;
        return true;
    }
    auto weightsFor = [&](float s, int c) { return maker.Weights().At(s, c); };
    auto sample = [&](int first) {
        for (int my = first; my < layout.mcusHigh; my += every) {
            if (!maker.Make(my, row, true)) return false;
            const int top = my * shape.mcuSide;
            const int rows = layout.height - top < shape.mcuSide ? layout.height - top : shape.mcuSide;
            const int lumaRows = int(row.count[0]) / shape.lumaWide;
            // Without the fit the rounded blocks are the plain encoder's own.
            const PlainChroma plain{{maker.PlainChroma(0), maker.PlainChroma(1)},
                                    {maker.PlainExact(0), maker.PlainExact(1)}};
            if (!pilot.AddRow(my, row.blocks.data(), row.exact.data(), lumaRows,
                              maker.SourceRows(), rows, maker.Fits() ? &plain : nullptr))
                return false;
            // The first two lambdas are tried beside the sampling, on the rows so far and as
            // they come, once the fit is seen to help (a photo's sample will not need them).
            if (!maker.Fits() || pilot.FitHelps()) pilot.StartTries(kMostLambdaScale, weightsFor);
        }
        return true;
    };
    if (!sample(every / 2)) return false;
    // Rows of a screen differ much; where the sample's rows disagree about what the fit saves,
    // as many rows again, between them.
    if (every > 1 && pilot.Doubtful() && !sample(0)) return false;
    if (maker.Fits() && !pilot.FitHelps()) {
        // One-pixel detail in pure colours: the fit's values overshoot what a sample can hold,
        // and the plain averages leave less error. Then this picture is coded as without it.
        pilot.StopTries();
        maker.DropFit();
        scale = least;
        return true;
    }
    scale = pilot.Choose(least, kMostLambdaScale, weightsFor);
    // The fit's values cost a few more bytes; with no saving to spend they buy only accuracy.
    if (scale <= least) maker.DropFit();
    return true;
}

}  // namespace

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

bool TransformImage(RowSource& image, bool grayscale, const uint16_t lumaQuant[64],
                    const uint16_t chromaQuant[64], const RateDistortionSettings& rd,
                    bool fitChroma, CoefficientImage& out) {
    const int width = image.Width(), height = image.Height();
    if (width <= 0 || height <= 0) return false;
    if (!LayOutComponents(width, height, grayscale, out)) return false;

    RowMaker maker(image, out, grayscale, fitChroma, lumaQuant, chromaQuant);
    McuRowBlocks row;
    const size_t rowBlocks = size_t(out.components[0].blocksWide) * (grayscale ? 1 : 4);
    if (!maker.Allocate() || !row.Allocate(rowBlocks)) return false;

    float scale = rd.leastLambdaScale;
    LambdaPilot pilot;  // kept for the coding: its sampled rows need not be made again
    if (rd.leastLambdaScale > 0 && rd.steer &&
        !ChooseLambda(maker, out, grayscale, lumaQuant, chromaQuant, row, rd.leastLambdaScale,
                      pilot, scale))
        return false;
    TrellisWeights weights[3];
    for (int c = 0; c < 3; ++c) weights[c] = maker.Weights().At(scale, c);
    RateDistortionPass rdo(weights);
    McuRowBlocks second;
    if (!second.Allocate(rowBlocks)) return false;
    McuRowBlocks* slots[2] = {&row, &second};
    auto finishRow = [&](int my, McuRowBlocks& blocks) {
        if (scale > 0) rdo.Requantise(blocks, out.componentCount);
        for (int c = 0; c < out.componentCount; ++c) {
            const Component& comp = out.components[c];
            size_t i = blocks.first[c];
            for (int v = 0; v < comp.vSamp && my * comp.vSamp + v < comp.realHigh; ++v)
                for (int bx = 0; bx < comp.realWide; ++bx)
                    out.Store(c, my * comp.vSamp + v, bx, blocks.blocks[i++]);
        }
    };
    auto makeRow = [&](int my, McuRowBlocks& blocks) {
        return pilot.Recall(my, maker.Fits(), blocks) || maker.Make(my, blocks, false);
    };
    RowPipeline<decltype(makeRow)> pipeline(makeRow, slots, out.mcusHigh);
    if (!pipeline.Run(finishRow)) return false;
    for (int c = 0; c < out.componentCount; ++c) FillPaddingBlocks(out, c);
    return true;
}

}  // namespace wexbury
