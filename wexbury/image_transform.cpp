#include "wexbury/image_transform.h"

#include <atomic>
#include <cmath>

#include "wexbury/chroma_fit.h"
#include "wexbury/colour_convert.h"
#include "wexbury/forward_dct.h"
#include "wexbury/lambda_pilot.h"
#include "wexbury/sample_decoder.h"
#include "wexbury/side_thread.h"
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

// How the error in R, G and B weighs a unit of error in each component, luma being 1: the colour
// conversion's coefficients squared, summed over the channels and divided by three.
constexpr float kToRgb[3] = {1.0f, 1.087f, 0.825f};

// How much a unit of error in each chroma coefficient shows in R, G and B, natural order. The
// decoder's interpolation spreads a half-resolution sample over the pixels around it: a flat
// error four times (its 2x2 square), one alternating from sample to sample only a quarter as
// much. Along each axis a cosine of frequency w keeps 1.25 + 0.75 cos w of its energy per
// sample, twice over for the two pixels a sample makes.
void ChromaErrorWeights(float toRgb, float weights[64]) {
    float axis[8];
    for (int u = 0; u < 8; ++u) axis[u] = 1.25f + 0.75f * std::cos(float(u) * 3.14159265f / 8);
    for (int v = 0; v < 8; ++v)
        for (int u = 0; u < 8; ++u) weights[v * 8 + u] = toRgb * axis[u] * axis[v];
}

// The lambda scales the pilot chooses among.
constexpr float kMostLambdaScale = 4.0f;
// One MCU row in at most this many goes into the pilot's sample, and at least this many rows:
// a screen's rows differ much (a title bar, a line of text, an empty margin), and a sample of few
// rows stands for the whole poorly.
constexpr int kPilotEvery = 8;
constexpr int kPilotRows = 16;

// The trellis weights of each component (0 luma, 1 Cb, 2 Cr) at a lambda scale.
class ComponentWeights {
public:
    ComponentWeights(const uint16_t lumaQuant[64], const uint16_t chromaQuant[64])
        : luma_(lumaQuant), chroma_(chromaQuant) {
        for (float& w : error_[0]) w = 1.0f;
        ChromaErrorWeights(kToRgb[1], error_[1]);
        ChromaErrorWeights(kToRgb[2], error_[2]);
    }
    TrellisWeights At(float scale, int component) const {
        return MakeTrellisWeights(component == 0 ? luma_ : chroma_, luma_, error_[component],
                                  scale);
    }

private:
    const uint16_t* luma_;
    const uint16_t* chroma_;
    float error_[3][64];
};

// The blocks of one MCU row, all components, as the DCT leaves them.
struct McuRowBlocks {
    HeapBuffer<CoefBlock> blocks;
    HeapBuffer<float> exact;  // 64 a block
    size_t first[3] = {0, 0, 0}, count[3] = {0, 0, 0};
    bool Allocate(size_t n) { return blocks.Allocate(n) && exact.Allocate(n * 64); }
};

// Turns MCU rows of pixels into blocks: colour conversion (or the chroma fit) and the DCT.
class RowMaker {
public:
    RowMaker(RowSource& image, const CoefficientImage& layout, bool grayscale, bool fitChroma,
             const uint16_t lumaQuant[64], const uint16_t chromaQuant[64])
        : image_(image), layout_(layout), grayscale_(grayscale), fit_(fitChroma && !grayscale),
          weights_(lumaQuant, chromaQuant) {
        PrepareDivisors(lumaQuant, divisors_[0]);
        if (!grayscale) PrepareDivisors(chromaQuant, divisors_[1]);
    }

    bool Allocate() {
        const int width = image_.Width();
        mcuSide_ = grayscale_ ? 8 : 16;
        strides_[0] = layout_.mcusWide * mcuSide_;
        strides_[1] = strides_[2] = strides_[0] / 2;
        const size_t lumaFloats = size_t(strides_[0]) * size_t(mcuSide_);
        const size_t chromaFloats = grayscale_ ? 0 : size_t(strides_[1]) * 8;
        if (!strip_.Allocate(lumaFloats + 2 * chromaFloats)) return false;
        planes_[0] = strip_.data();
        planes_[1] = planes_[0] + lumaFloats;
        planes_[2] = planes_[1] + chromaFloats;
        chromaBlocksWide_ = grayscale_ ? 0 : layout_.components[1].blocksWide;
        if (fit_ && !(chroma_.Allocate(width, strides_[0]) &&
                      plain_.Allocate(size_t(chromaBlocksWide_) * 2)))
            return false;
        return true;
    }
    const ComponentWeights& Weights() const { return weights_; }

    // With `plain`, also the chroma blocks the plain 2x2 averages make (PlainChroma), for the
    // pilot's sample.
    bool Make(int my, McuRowBlocks& row, bool plain) {
        const int height = image_.Height(), width = image_.Width();
        const int top = my * mcuSide_;
        // The band and, for the chroma fit, its margins; past the picture the edge rows repeat.
        const int margin = fit_ ? kChromaFitMargin : 0;
        const int first = top - margin > 0 ? top - margin : 0;
        const int end = top + mcuSide_ + margin < height ? top + mcuSide_ + margin : height;
        const uint8_t* fetched[16 + 2 * kChromaFitMargin];
        if (!image_.FetchRows(first, end - first, fetched)) return false;
        auto sourceRow = [&](int v) {
            return fetched[(v < first ? first : v >= end ? end - 1 : v) - first];
        };
        for (int r = 0; r < mcuSide_; ++r) source_[r] = sourceRow(top + r);
        float* const* planes = planes_;
        const int lumaStride = strides_[0], chromaStride = strides_[1];
        if (grayscale_) {
            for (int r = 0; r < 8; ++r)
                ConvertRowLuma(sourceRow(top + r), width, lumaStride, planes[0] + r * lumaStride);
        } else if (fit_) {
            for (int r = 0; r < 16; ++r)
                ConvertRowLuma(sourceRow(top + r), width, lumaStride, planes[0] + r * lumaStride);
            chroma_.Band(top, 8, sourceRow, planes[1], planes[2], chromaStride, plain);
        } else {
            for (int r = 0; r < 16; r += 2) {
                ConvertRowPair420(sourceRow(top + r), sourceRow(top + r + 1), width, lumaStride,
                                  planes[0] + r * lumaStride, planes[0] + (r + 1) * lumaStride,
                                  planes[1] + (r / 2) * chromaStride,
                                  planes[2] + (r / 2) * chromaStride);
            }
        }
        size_t count = 0;
        for (int c = 0; c < layout_.componentCount; ++c) {
            const Component& comp = layout_.components[c];
            row.first[c] = count;
            for (int v = 0; v < comp.vSamp && my * comp.vSamp + v < comp.realHigh; ++v) {
                const float* rowStart = planes[c] + size_t(v) * 8 * size_t(strides_[c]);
                for (int bx = 0; bx < comp.realWide; ++bx, ++count) {
                    float* exact = row.exact.data() + 64 * count;
                    dct_(rowStart + 8 * bx, strides_[c], divisors_[comp.quantTable],
                         row.blocks[count], exact);
                    if (plain && fit_ && c > 0) {
                        float unused[64];
                        dct_(chroma_.Averaged(c - 1) + 8 * bx, chroma_.AveragedStride(),
                             divisors_[1], plain_[size_t(c - 1) * chromaBlocksWide_ + bx], unused);
                    }
                }
            }
            row.count[c] = count - row.first[c];
        }
        return true;
    }

    // After Make: the band's source rows (MCU height, the picture's last row repeated below it).
    const uint8_t* const* SourceRows() const { return source_; }
    // After Make with `plain` and the fit: the plain averages' Cb blocks, then their Cr blocks.
    const CoefBlock* PlainChroma(int plane) const {
        return plain_.data() + size_t(plane) * chromaBlocksWide_;
    }
    bool Fits() const { return fit_; }
    // From here on the plain 2x2 averages (the allocations stay; they are not used).
    void DropFit() { fit_ = false; }

private:
    RowSource& image_;
    const CoefficientImage& layout_;
    const bool grayscale_;
    bool fit_;
    ComponentWeights weights_;
    QuantDivisors divisors_[2];
    const DctQuantiseFn dct_ = BestDctQuantise();
    int mcuSide_ = 16, strides_[3] = {0, 0, 0}, chromaBlocksWide_ = 0;
    HeapBuffer<float> strip_;
    float* planes_[3] = {nullptr, nullptr, nullptr};
    ChromaFit chroma_;
    HeapBuffer<CoefBlock> plain_;  // the plain averages' chroma blocks of a sampled row
    const uint8_t* source_[16] = {};
};

// Rounds the AC values of each row's blocks by rate and distortion, with bit costs learnt from
// the rows before.
class RateDistortionPass {
public:
    RateDistortionPass(const ComponentWeights& weights, float scale) : enabled_(scale > 0) {
        for (int c = 0; c < 3; ++c) weights_[c] = weights.At(scale, c);
    }

    void Requantise(McuRowBlocks& row, int componentCount) {
        if (!enabled_) return;
        for (int c = 0; c < componentCount; ++c) {
            const int table = c == 0 ? 0 : 1;
            AcRateModel& model = models_[table];
            CoefBlock* blocks = row.blocks.data() + row.first[c];
            const float* exact = row.exact.data() + 64 * row.first[c];
            const size_t count = row.count[c];
            if (!seen_[table]) {
                // The first row: its own rounded symbols are the best guess of what bits cost.
                for (size_t i = 0; i < count; ++i) model.Count(blocks[i]);
                model.Refit();
                seen_[table] = true;
            }
            const SymbolCosts costs = ScaledCosts(model, weights_[c]);
            for (size_t i = 0; i < count; ++i) {
                TrellisQuantise(exact + 64 * i, weights_[c], costs, blocks[i]);
                model.Count(blocks[i]);
            }
            model.Refit();
        }
    }

private:
    TrellisWeights weights_[3];
    bool enabled_;
    bool seen_[2] = {false, false};
    AcRateModel models_[2];
};

// The two halves of the coding of each row on two threads: a side thread makes the rows' blocks
// (pixels, colour, chroma fit, DCT) while this one rounds and stores the row before, handing
// rows over through two slots. The trellis's bit costs follow the rows in order, so the file is
// the same as with one thread; with none to be had, the rows are made here in turn.
class RowPipeline {
public:
    RowPipeline(RowMaker& maker, McuRowBlocks* slots[2], int rows)
        : maker_(maker), slots_{slots[0], slots[1]}, rows_(rows) {}

    template <class Finish>
    bool Run(Finish&& finish) {
        SideThread thread;
        if (!free_.Ready() || !made_.Ready() || !thread.Start(&RowPipeline::Produce, this)) {
            for (int my = 0; my < rows_; ++my) {
                if (!maker_.Make(my, *slots_[0], false)) return false;
                finish(my, *slots_[0]);
            }
            return true;
        }
        bool ok = true;
        for (int my = 0; my < rows_; ++my) {
            made_.Wait();
            if (failed_) {
                ok = false;
                break;
            }
            finish(my, *slots_[my & 1]);
            free_.Post();
        }
        stop_ = true;  // after a failure the maker may still wait for a free slot
        free_.Post();
        thread.Join();
        return ok;
    }

private:
    static void Produce(void* self) { static_cast<RowPipeline*>(self)->Produce(); }
    void Produce() {
        for (int my = 0; my < rows_; ++my) {
            free_.Wait();
            if (stop_) return;
            if (!maker_.Make(my, *slots_[my & 1], false)) {
                failed_ = true;
                made_.Post();
                return;
            }
            made_.Post();
        }
    }

    RowMaker& maker_;
    McuRowBlocks* slots_[2];
    const int rows_;
    Signal free_{2}, made_{0};
    std::atomic<bool> failed_{false}, stop_{false};
};

// Runs the pilot (lambda_pilot.h) over a sample of the MCU rows and sets `scale`.
bool ChooseLambda(RowMaker& maker, const CoefficientImage& layout, bool grayscale,
                  const uint16_t lumaQuant[64], const uint16_t chromaQuant[64], McuRowBlocks& row,
                  float least, float& scale) {
    McuRowShape shape;
    shape.width = layout.width;
    shape.grayscale = grayscale;
    shape.mcuSide = grayscale ? 8 : 16;
    shape.lumaWide = layout.components[0].realWide;
    shape.chromaWide = grayscale ? 0 : layout.components[1].realWide;
    int every = layout.mcusHigh / kPilotRows;
    every = every < 1 ? 1 : every > kPilotEvery ? kPilotEvery : every;
    const size_t sampled = size_t(layout.mcusHigh + every - 1) / size_t(every);
    LambdaPilot pilot;
    SampleDecoder decoder;
    if (!pilot.Allocate(shape, sampled, lumaQuant, chromaQuant) ||
        !decoder.Allocate(layout.width, grayscale, lumaQuant, chromaQuant))
        return false;
    for (int my = every / 2; my < layout.mcusHigh; my += every) {
        if (!maker.Make(my, row, true)) return false;
        const int top = my * shape.mcuSide;
        const int rows = layout.height - top < shape.mcuSide ? layout.height - top : shape.mcuSide;
        const int lumaRows = int(row.count[0]) / shape.lumaWide;
        double reference = -1;  // without the fit: the rounded blocks' own (the pilot's)
        if (maker.Fits()) {
            const McuRowView plain{row.blocks.data(), lumaRows, shape.lumaWide,
                                   maker.PlainChroma(0), maker.PlainChroma(1), shape.chromaWide};
            reference = decoder.Error(plain, maker.SourceRows(), rows);
        }
        if (!pilot.AddRow(row.blocks.data(), row.exact.data(), lumaRows, maker.SourceRows(), rows,
                          reference))
            return false;
    }
    if (maker.Fits() && !pilot.FitHelps()) {
        // One-pixel detail in pure colours: the fit's values overshoot what a sample can hold,
        // and the plain averages leave less error. Then this picture is coded as without it.
        maker.DropFit();
        scale = least;
        return true;
    }
    scale = pilot.Choose(least, kMostLambdaScale,
                         [&](float s, int c) { return maker.Weights().At(s, c); });
    return true;
}

}  // namespace

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
    if (rd.leastLambdaScale > 0 && rd.steer &&
        !ChooseLambda(maker, out, grayscale, lumaQuant, chromaQuant, row, rd.leastLambdaScale, scale))
        return false;
    RateDistortionPass rdo(maker.Weights(), scale);
    McuRowBlocks second;
    if (!second.Allocate(rowBlocks)) return false;
    McuRowBlocks* slots[2] = {&row, &second};
    auto finishRow = [&](int my, McuRowBlocks& blocks) {
        rdo.Requantise(blocks, out.componentCount);
        for (int c = 0; c < out.componentCount; ++c) {
            const Component& comp = out.components[c];
            size_t i = blocks.first[c];
            for (int v = 0; v < comp.vSamp && my * comp.vSamp + v < comp.realHigh; ++v)
                for (int bx = 0; bx < comp.realWide; ++bx)
                    out.Store(c, my * comp.vSamp + v, bx, blocks.blocks[i++]);
        }
    };
    RowPipeline pipeline(maker, slots, out.mcusHigh);
    if (!pipeline.Run(finishRow)) return false;
    for (int c = 0; c < out.componentCount; ++c) FillPaddingBlocks(out, c);
    return true;
}

}  // namespace wexbury
