#pragma once
// Picks the trellis's lambda for a picture before it is coded, from a sample of its MCU rows.
// Each sampled row is decoded (sample_decoder.h) as this writer codes it with every value
// rounded, and as an encoder without the chroma fit would have coded it. The fit leaves less
// error on most screens; the trellis may spend that difference, and a small share more, on fewer
// bytes. The pilot tries lambdas on the sample, decoding what the trellis makes of it each time,
// and picks the largest whose error stays within that. One lambda for the whole picture spends
// the allowance where bits are cheapest.
#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "wexbury/coefficient_block.h"
#include "wexbury/heap_buffer.h"
#include "wexbury/packed_blocks.h"
#include "wexbury/rate_distortion_pass.h"
#include "wexbury/row_maker.h"
#include "wexbury/sample_decoder.h"
#include "wexbury/side_thread.h"
#include "wexbury/trellis_quantiser.h"

namespace wexbury {

// The chroma blocks of a sampled row as the encoder without the fit makes them: Cb, then Cr,
// as many as the row's chroma blocks, and their exact values (64 a block).
struct PlainChroma {
    const CoefBlock* blocks[2];
    const float* exact[2];
};

// The shape of an MCU row's blocks: `lumaWide` luma blocks in each of up to two rows, then
// `chromaWide` Cb and as many Cr blocks (none in grayscale).
struct McuRowShape {
    int width = 0, mcuSide = 16, lumaWide = 0, chromaWide = 0;
    bool grayscale = false;
    size_t Blocks() const { return size_t(lumaWide) * (grayscale ? 1 : 2) + 2 * size_t(chromaWide); }
};

class LambdaPilot {
public:
    LambdaPilot() = default;
    LambdaPilot(const LambdaPilot&) = delete;
    LambdaPilot& operator=(const LambdaPilot&) = delete;
    ~LambdaPilot() { StopTries(); }

    // Room for `rows` sampled rows of the picture's `pictureRows`; the tables (natural order)
    // are kept by pointer.
    bool Allocate(const McuRowShape& shape, size_t rows, size_t pictureRows,
                  const uint16_t* lumaQuant, const uint16_t* chromaQuant);

    // Sampled MCU row `mcuRow`: its blocks as the DCT left them (McuRowView's order, `lumaRows` rows of
    // luma), their exact values (64 a block), its `pixelRows` source rows (blue-green-red), and
    // the chroma blocks the encoder without the fit would have made (null: the blocks are that
    // encoder's).
    bool AddRow(int mcuRow, const CoefBlock* blocks, const float* exact, int lumaRows,
                const uint8_t* const* source, int pixelRows, const PlainChroma* plain);
    // The same with the error of the encoder without the fit given (below zero: the blocks are
    // that encoder's).
    bool AddRow(int mcuRow, const CoefBlock* blocks, const float* exact, int lumaRows,
                const uint8_t* const* source, int pixelRows, double reference);

    // Copies sampled MCU row `mcuRow`'s blocks as the DCT left them into `row`, so that the coding
    // need not make them again: with the fit's chroma or, where the fit was dropped since, the
    // plain chroma. False when that row is not in the sample.
    bool Recall(int mcuRow, bool fitted, McuRowBlocks& row) const;

    // Whether the sample's rounded blocks leave less error than the encoder without the fit.
    // (Surely: the sample's saving, less what its spread says it may be off by.)
    bool FitHelps() const { return SureSaving() > 0; }
    // Whether the sampled rows' savings spread so much that more rows would tell better
    // whether, and by how much, the fit helps.
    bool Doubtful() const;

    // Tries the two lambdas Choose tries first (up to `most`) on the rows added so far and on each
    // row as it is added, on a side thread, while the caller goes on sampling; Choose then finds
    // them tried. Once only; false, and nothing started, where no thread can be had (Choose
    // tries them itself then).
    template <class WeightsFor>
    bool StartTries(float most, WeightsFor&& weightsFor);
    // Ends those tries where they are: their answers are not wanted.
    void StopTries();

    // `weightsFor(scale, component)` gives the trellis weights at a lambda scale. Returns the
    // largest scale up to `most` the sample affords: `least` where the fit saved nothing, zero
    // (no trellis) where even that would add more than the sample allows.
    template <class WeightsFor>
    float Choose(float least, float most, WeightsFor&& weightsFor);

private:
    // The reference's error may be exceeded by this share (0.02 dB).
    static constexpr double kShareOfReference = 0.005;
    static constexpr float kFirstGuess = 0.4f;
    // How far beyond the two first tries the power is trusted without trying its answer.
    static constexpr double kTrustedReach = 1.6;
    // The sample stands for the picture only so well: the pilot aims at this part of what the
    // sample allows.
    static constexpr double kShareOfTarget = 0.9;
    // The lambdas tried first: far apart, one on each thread.
    static float FirstTried(int t, float most) {
        const float scale = t == 0 ? kFirstGuess : 3 * kFirstGuess;
        return scale < most ? scale : most;
    }

    struct Row {
        int mcuRow;
        size_t firstBlock, blockCount;
        int lumaRows, pixelRows;
        size_t firstPixel;
        size_t firstColumn;  // in columns_: the rounded blocks' error per MCU column
        bool fitted;         // its chroma is the fit's; its plain chroma is in plain_
    };
    // What one thread needs to try a lambda on the sample.
    struct Trial {
        SampleDecoder decoder;
        HeapBuffer<CoefBlock> blocks;  // one row's, trellised
        HeapBuffer<float> exact;       // their exact values, where they are not zero
        HeapBuffer<uint8_t> changed;   // per MCU column of the row
        const TrellisWeights* weights = nullptr;
        std::optional<RateDistortionPass> pass;  // its bit costs, learnt row by row
        double error = 0;
    };

    // The sample's error after the trellis at `trial.weights` (one per component).
    void Try(Trial& trial) const;
    // Adds sampled row r's error after the trellis to the trial's, the rows taken in turn.
    void TryRow(Trial& trial, size_t r) const;
    static void TryOnSide(void* self);
    static void TryAsAdded(void* self);
    // Waits until the tries StartTries began have taken every row added; their errors. False
    // where none were begun.
    bool FinishTries(double error[2]);
    void TryTwo(const TrellisWeights first[3], const TrellisWeights second[3], double error[2]);
    // Keeps the row and measures its rounded blocks; the reference as given, or with the plain
    // chroma blocks when there are any.
    bool Keep(int mcuRow, const CoefBlock* blocks, const float* exact, int lumaRows,
              const uint8_t* const* source, int pixelRows, const PlainChroma* plain,
              double reference);
    McuRowView View(const CoefBlock* blocks, int lumaRows) const;
    SourcePlanes PlanesOf(const Row& row) const;
    // Where each component's blocks lie in a row of `lumaRows` rows of luma blocks.
    void Layout(int lumaRows, size_t first[3], size_t count[3]) const;
    int ColumnOf(size_t blockInRow, int lumaRows) const;

    McuRowShape shape_;
    PackedBlocks blocks_;
    PackedBlocks plain_;  // per row: its plain Cb, then Cr blocks
    HeapBuffer<uint8_t> pixels_;
    HeapBuffer<Row> rows_;
    HeapBuffer<double> columns_;
    HeapBuffer<int> sampleOf_;  // per MCU row of the picture: its place in rows_, or -1
    size_t rowCount_ = 0, pixelCount_ = 0;
    double rounded_ = 0, reference_ = 0;
    double saved_ = 0, savedSquares_ = 0;  // per row: the reference's error less the rounded's
    size_t pictureRows_ = 0;

    // The fit's saving on the sample, less a part of its standard error as an estimate of the
    // picture's.
    double SureSaving() const;
    static constexpr double kDoubt = 0.4;
    // A sample is doubtful when that doubt is more than this share of its saving.
    static constexpr double kDoubtfulShare = 0.1;
    Trial trials_[2];
    SampleDecoder measure_;  // the rows' own errors, as they are added (the trials may run meanwhile)

    // The tries taken as the rows are added.
    SideThread triesAsAdded_;
    bool triesRunning_ = false, triesBegun_ = false;
    Signal added_{0};                   // a post for each row added, and one to stop
    std::atomic<size_t> published_{0};  // rows the side thread may try
    std::atomic<bool> abandon_{false};
    TrellisWeights firstWeights_[2][3];
    float triedUpTo_ = 0;  // the `most` they were started with
};

template <class WeightsFor>
bool LambdaPilot::StartTries(float most, WeightsFor&& weightsFor) {
    if (triesBegun_ || !added_.Ready()) return false;
    triesBegun_ = true;
    triedUpTo_ = most;
    for (int t = 0; t < 2; ++t) {
        for (int c = 0; c < 3; ++c) firstWeights_[t][c] = weightsFor(FirstTried(t, most), c);
        trials_[t].weights = firstWeights_[t];
        trials_[t].pass.emplace(trials_[t].weights);
        trials_[t].error = 0;
    }
    published_.store(rowCount_);
    for (size_t r = 0; r < rowCount_; ++r) added_.Post();
    triesRunning_ = triesAsAdded_.Start(&LambdaPilot::TryAsAdded, this);
    return triesRunning_;
}

template <class WeightsFor>
float LambdaPilot::Choose(float least, float most, WeightsFor&& weightsFor) {
    if (rowCount_ == 0 || least <= 0) {
        StopTries();
        return least;
    }
    // What the trellis adds to the rounded sample's error grows as a power of the lambda (about
    // its square, on screens and photos). Two lambdas far apart are tried, on the side thread as
    // the rows came or here one on each thread; the power between them says where the allowance
    // is met.
    const double target = (SureSaving() + kShareOfReference * reference_) * kShareOfTarget;
    if (target <= 0) {  // the fit cost more than it saved: plain rounding's lambda
        StopTries();
        return least;
    }
    float tried[2] = {FirstTried(0, most), FirstTried(1, most)};
    double error[2], added[2];
    auto tryBoth = [&] {
        if (most != triedUpTo_ || !FinishTries(error)) {
            StopTries();
            TrellisWeights weights[2][3];
            for (int t = 0; t < 2; ++t)
                for (int c = 0; c < 3; ++c) weights[t][c] = weightsFor(tried[t], c);
            TryTwo(weights[0], weights[1], error);
        }
        for (int t = 0; t < 2; ++t) added[t] = error[t] - rounded_ > 1 ? error[t] - rounded_ : 1;
    };
    tryBoth();
    double power = added[1] > added[0] && tried[1] > tried[0]
                       ? std::log(added[1] / added[0]) / std::log(double(tried[1]) / tried[0])
                       : 2;
    power = power < 1 ? 1 : power > 4 ? 4 : power;
    double aim = tried[0] * std::pow(target / added[0], 1 / power);
    if (aim >= tried[0] / kTrustedReach && aim <= tried[1] * kTrustedReach)
        return float(aim > most ? most : aim);
    // Far outside the two tries the power holds less well (at small lambdas the trellis drops
    // only the values that cost it least, which the power overrates): try its answer and the
    // least lambda, and keep the larger that stays within; where neither does, no trellis.
    tried[0] = least;
    tried[1] = float(aim > most ? most : aim < least ? least : aim);
    tryBoth();
    for (int t = 1; t >= 0; --t)
        if (added[t] <= target) return tried[t];
    return 0;
}

}  // namespace wexbury
