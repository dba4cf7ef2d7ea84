#include "wexbury/lambda_pilot.h"

#include <cstring>

#include "wexbury/rate_distortion_pass.h"
#include "wexbury/side_thread.h"

namespace wexbury {

bool LambdaPilot::Allocate(const McuRowShape& shape, size_t rows, size_t pictureRows,
                           const uint16_t* lumaQuant, const uint16_t* chromaQuant) {
    shape_ = shape;
    rowCount_ = pixelCount_ = 0;
    rounded_ = reference_ = saved_ = savedSquares_ = 0;
    pictureRows_ = pictureRows;
    const size_t rowBlocks = shape.Blocks();
    const size_t rowPixels = size_t(shape.mcuSide) * size_t(shape.width) * 3;
    const size_t plainBlocks = rows * 2 * size_t(shape.chromaWide);
    if (!blocks_.Allocate(rows * rowBlocks) || !plain_.Allocate(plainBlocks) ||
        !pixels_.Allocate(rows * rowPixels) || !rows_.Allocate(rows))
        return false;
    for (Trial& t : trials_)
        if (!t.decoder.Allocate(shape.width, shape.grayscale, lumaQuant, chromaQuant) ||
            !t.blocks.Allocate(rowBlocks) || !t.exact.Allocate(rowBlocks * 64) ||
            !t.changed.Allocate(size_t(t.decoder.Columns())))
            return false;
    if (!measure_.Allocate(shape.width, shape.grayscale, lumaQuant, chromaQuant) ||
        !sampleOf_.Allocate(pictureRows))
        return false;
    for (size_t r = 0; r < pictureRows; ++r) sampleOf_[r] = -1;
    return columns_.Allocate(rows * size_t(trials_[0].decoder.Columns()));
}

bool LambdaPilot::AddRow(int mcuRow, const CoefBlock* blocks, const float* exact, int lumaRows,
                         const uint8_t* const* source, int pixelRows, const PlainChroma* plain) {
    return Keep(mcuRow, blocks, exact, lumaRows, source, pixelRows, plain, -1);
}

bool LambdaPilot::AddRow(int mcuRow, const CoefBlock* blocks, const float* exact, int lumaRows,
                         const uint8_t* const* source, int pixelRows, double reference) {
    return Keep(mcuRow, blocks, exact, lumaRows, source, pixelRows, nullptr, reference);
}

bool LambdaPilot::Keep(int mcuRow, const CoefBlock* blocks, const float* exact, int lumaRows,
                       const uint8_t* const* source, int pixelRows, const PlainChroma* plain,
                       double reference) {
    if (rowCount_ == rows_.size()) return false;
    const size_t count = size_t(shape_.lumaWide) * size_t(lumaRows) + 2 * size_t(shape_.chromaWide);
    const size_t columns = size_t(measure_.Columns());
    Row& row = rows_[rowCount_];
    row = Row{mcuRow, blocks_.Size(), count, lumaRows, pixelRows, pixelCount_, rowCount_ * columns,
              plain != nullptr};
    sampleOf_[size_t(mcuRow)] = int(rowCount_);
    ++rowCount_;
    SplitPlanes(source, pixelRows, shape_.width, pixels_.data() + pixelCount_);
    pixelCount_ += size_t(shape_.width) * 3 * size_t(pixelRows);
    const SourcePlanes planes = PlanesOf(row);
    const double error = measure_.Error(View(blocks, lumaRows), planes,
                                       columns_.data() + row.firstColumn);
    if (plain) {
        // The plain chroma's error shares the decoded luma.
        reference = measure_.ErrorWithChroma(plain->blocks[0], plain->blocks[1], planes);
        for (int p = 0; p < 2; ++p)
            plain_.Append(plain->blocks[p], plain->exact[p], size_t(shape_.chromaWide));
    }
    rounded_ += error;
    blocks_.Append(blocks, exact, count);
    const double saved = (reference < 0 ? error : reference) - error;
    reference_ += error + saved;
    saved_ += saved;
    savedSquares_ += saved * saved;
    if (triesRunning_) {
        published_.store(rowCount_, std::memory_order_release);
        added_.Post();
    }
    return true;
}

SourcePlanes LambdaPilot::PlanesOf(const Row& row) const {
    return SourcePlanes{pixels_.data() + row.firstPixel, shape_.width, row.pixelRows};
}

bool LambdaPilot::Recall(int mcuRow, bool fitted, McuRowBlocks& out) const {
    if (mcuRow < 0 || size_t(mcuRow) >= sampleOf_.size() || sampleOf_[size_t(mcuRow)] < 0)
        return false;
    const size_t r = size_t(sampleOf_[size_t(mcuRow)]);
    const Row& row = rows_[r];
    if (fitted && !row.fitted) return false;
    Layout(row.lumaRows, out.first, out.count);
    if (row.fitted && !fitted) {  // the fit was dropped: the plain chroma in its place
        const size_t chroma = 2 * size_t(shape_.chromaWide);
        blocks_.Unpack(row.firstBlock, out.count[0], out.blocks.data(), out.exact.data());
        plain_.Unpack(r * chroma, chroma, out.blocks.data() + out.first[1],
                      out.exact.data() + 64 * out.first[1]);
    } else {
        blocks_.Unpack(row.firstBlock, row.blockCount, out.blocks.data(), out.exact.data());
    }
    return true;
}

McuRowView LambdaPilot::View(const CoefBlock* blocks, int lumaRows) const {
    const size_t luma = size_t(shape_.lumaWide) * size_t(lumaRows);
    return McuRowView{blocks, lumaRows, shape_.lumaWide,
                      shape_.grayscale ? nullptr : blocks + luma,
                      shape_.grayscale ? nullptr : blocks + luma + shape_.chromaWide,
                      shape_.chromaWide};
}

void LambdaPilot::Layout(int lumaRows, size_t first[3], size_t count[3]) const {
    const size_t luma = size_t(shape_.lumaWide) * size_t(lumaRows);
    const size_t chroma = shape_.grayscale ? 0 : size_t(shape_.chromaWide);
    first[0] = 0;
    count[0] = luma;
    first[1] = luma;
    count[1] = chroma;
    first[2] = luma + chroma;
    count[2] = chroma;
}

int LambdaPilot::ColumnOf(size_t blockInRow, int lumaRows) const {
    const size_t luma = size_t(shape_.lumaWide) * size_t(lumaRows);
    if (blockInRow < luma) return int(blockInRow % size_t(shape_.lumaWide)) / (shape_.grayscale ? 1 : 2);
    return int((blockInRow - luma) % size_t(shape_.chromaWide));
}

void LambdaPilot::Try(Trial& trial) const {
    trial.pass.emplace(trial.weights);
    trial.error = 0;
    for (size_t r = 0; r < rowCount_; ++r) TryRow(trial, r);
}

void LambdaPilot::TryRow(Trial& trial, size_t r) const {
    // The rows in turn through the coding's own pass, so that bit costs are learnt as the coding
    // learns them: a model fitted to rounded symbols alone would price the values the trellis
    // drops too low at high lambdas.
    const Row& row = rows_[r];
    const size_t count = row.blockCount;
    blocks_.Unpack(row.firstBlock, count, trial.blocks.data(), trial.exact.data());
    size_t first[3], counts[3];
    Layout(row.lumaRows, first, counts);
    trial.pass->Requantise(trial.blocks.data(), trial.exact.data(), first, counts,
                           shape_.grayscale ? 1 : 3);
    for (int k = 0; k < trial.decoder.Columns(); ++k) trial.changed[k] = 0;
    for (size_t i = 0; i < count; ++i)
        if (!blocks_.Same(row.firstBlock + i, trial.blocks[i]))
            trial.changed[ColumnOf(i, row.lumaRows)] = 1;
    trial.error += trial.decoder.ErrorAfterChanges(View(trial.blocks.data(), row.lumaRows),
                                                   PlanesOf(row), columns_.data() + row.firstColumn,
                                                   trial.changed.data());
}

void LambdaPilot::TryAsAdded(void* self) {
    LambdaPilot* pilot = static_cast<LambdaPilot*>(self);
    // A post for each row as it is published, then one more to stop: the rows are all tried
    // before that one is seen, unless the tries are abandoned.
    for (size_t r = 0;; ++r) {
        pilot->added_.Wait();
        if (pilot->abandon_.load() || r >= pilot->published_.load(std::memory_order_acquire)) return;
        for (Trial& trial : pilot->trials_) pilot->TryRow(trial, r);
    }
}

bool LambdaPilot::FinishTries(double error[2]) {
    if (!triesRunning_) return false;
    added_.Post();
    triesAsAdded_.Join();
    triesRunning_ = false;
    error[0] = trials_[0].error;
    error[1] = trials_[1].error;
    return true;
}

void LambdaPilot::StopTries() {
    if (!triesRunning_) return;
    abandon_.store(true);
    added_.Post();
    triesAsAdded_.Join();
    triesRunning_ = false;
}

void LambdaPilot::TryOnSide(void* self) {
    LambdaPilot* pilot = static_cast<LambdaPilot*>(self);
    pilot->Try(pilot->trials_[1]);
}

void LambdaPilot::TryTwo(const TrellisWeights first[3], const TrellisWeights second[3],
                         double error[2]) {
    trials_[0].weights = first;
    trials_[1].weights = second;
    SideThread thread;
    const bool parallel = thread.Start(&LambdaPilot::TryOnSide, this);
    Try(trials_[0]);
    if (parallel)
        thread.Join();
    else
        Try(trials_[1]);
    error[0] = trials_[0].error;
    error[1] = trials_[1].error;
}

bool LambdaPilot::Doubtful() const {
    // Where the fit loses even with the doubt in its favour (photos, noise), more rows would
    // only say so again.
    const double doubt = saved_ - SureSaving();
    return doubt > kDoubtfulShare * std::fabs(saved_) && saved_ + doubt > 0;
}

double LambdaPilot::SureSaving() const {
    // The sampled rows' savings vary from row to row; how far their sum may be off for the whole
    // picture follows from that spread, less the more of the picture the sample covers.
    const double n = double(rowCount_);
    if (n < 2) return saved_;
    const double mean = saved_ / n;
    const double spread = (savedSquares_ - n * mean * mean) / (n - 1);
    const double uncovered = 1 - n / double(pictureRows_ > rowCount_ ? pictureRows_ : rowCount_);
    return saved_ - kDoubt * std::sqrt((spread > 0 ? spread : 0) * n * uncovered);
}

}  // namespace wexbury
