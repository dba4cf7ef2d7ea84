#include "imagefile/palette_builder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

// How the palette is fitted when there are more than 256 colours: the colours (or, past
// kMaxFittedColors, the mean colours of small cells), each weighted by its pixel count, are split
// top-down into 256 boxes, always cutting where the squared error drops most; the boxes' means are
// then refined by a few rounds of k-means. Both steps lower the summed squared error, the very
// quantity PSNR is computed from. A desktop capture, whose few thousand colours are mostly the
// anti-aliased edges of text between a handful of flat ones, keeps its flat colours exact this way
// and loses little on the edges. Each pixel then takes the entry nearest to its own colour.

namespace PaletteBuilder {
namespace {

constexpr int kColors = 256;

// Up to this many distinct colours (a desktop capture has a few thousand) the palette is fitted to
// the colours themselves, each weighted by its pixel count; beyond that (photographs, gradients)
// to the mean colours of 5-bit-per-channel cells, so the fitting stays quick.
constexpr size_t kMaxFittedColors = size_t(1) << 14;

// k-means stops earlier when no colour changes its entry. Rounds after the fourth gained less than
// 0.02 dB on captures and photographs alike.
constexpr int kMaxRefinementRounds = 5;

uint32_t ColorAt(const uint8_t* row, int x) {
    const uint8_t* p = row + static_cast<size_t>(x) * 4;
    return p[0] | p[1] << 8 | uint32_t(p[2]) << 16;  // blue, green, red
}

int Channel(uint32_t bgr, int c) { return (bgr >> (8 * c)) & 0xFF; }

void PutEntry(std::vector<uint8_t>& table, int index, uint32_t bgr) {
    for (int c = 0; c < 3; ++c) table[index * 4 + c] = static_cast<uint8_t>(Channel(bgr, c));
    table[index * 4 + 3] = 0;
}

// ---- the distinct colours of the image ----

// The image's distinct colours in order of first appearance, with their pixel counts, found
// through an open-addressing hash table. Gives up past `limit` colours.
class ColorCounter {
public:
    explicit ColorCounter(size_t limit) : limit_(limit) {
        size_t capacity = 64;
        while (capacity < 2 * limit) capacity *= 2;
        slots_.assign(capacity, kEmpty);
        mask_ = capacity - 1;
    }

    // The colour's number, or -1 once the image has more than `limit` colours.
    int Add(uint32_t bgr) {
        size_t at = Hash(bgr);
        while (slots_[at] != kEmpty) {
            const int number = slots_[at];
            if (colors_[number] == bgr) {
                ++counts_[number];
                return number;
            }
            at = (at + 1) & mask_;
        }
        if (colors_.size() == limit_) return -1;
        slots_[at] = static_cast<int>(colors_.size());
        colors_.push_back(bgr);
        counts_.push_back(1);
        return slots_[at];
    }

    // Counts every pixel; false when there are more than `limit` colours.
    bool AddAll(const uint8_t* pixels, int width, int height, size_t stride) {
        uint32_t last = 0xFFFFFFFF;
        int lastNumber = -1;
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = pixels + static_cast<size_t>(y) * stride;
            for (int x = 0; x < width; ++x) {
                const uint32_t c = ColorAt(row, x);
                if (c == last) {
                    ++counts_[lastNumber];
                    continue;
                }
                lastNumber = Add(c);
                if (lastNumber < 0) return false;
                last = c;
            }
        }
        return true;
    }

    // The number of a colour that was added.
    int Find(uint32_t bgr) const {
        size_t at = Hash(bgr);
        while (colors_[slots_[at]] != bgr) at = (at + 1) & mask_;
        return slots_[at];
    }

    const std::vector<uint32_t>& Colors() const { return colors_; }
    const std::vector<uint32_t>& Counts() const { return counts_; }

private:
    static constexpr int kEmpty = -1;
    size_t Hash(uint32_t bgr) const { return (bgr * 0x9E3779B1u >> 8) & mask_; }

    size_t limit_;
    size_t mask_ = 0;
    std::vector<int> slots_;
    std::vector<uint32_t> colors_;
    std::vector<uint32_t> counts_;
};

// Writes each pixel's entry: `entryOf` maps a colour's number to its palette index.
void IndexThroughNumbers(const uint8_t* pixels, int width, int height, size_t stride, const ColorCounter& counter,
                         const std::vector<uint8_t>& entryOf, std::vector<uint8_t>& indices) {
    indices.resize(static_cast<size_t>(width) * height);
    uint32_t last = 0xFFFFFFFF;
    uint8_t lastEntry = 0;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels + static_cast<size_t>(y) * stride;
        uint8_t* out = &indices[static_cast<size_t>(y) * width];
        for (int x = 0; x < width; ++x) {
            const uint32_t c = ColorAt(row, x);
            if (c != last) {
                last = c;
                lastEntry = entryOf[counter.Find(c)];
            }
            out[x] = lastEntry;
        }
    }
}

// ---- fitting a palette to weighted colours ----

// A colour to be represented, with the number of pixels behind it: a distinct colour of the image,
// or the mean colour of a cell of similar colours.
struct Point {
    std::array<double, 3> bgr;
    double weight;
};

using Entry = std::array<int, 3>;  // blue, green, red

double Distance(const std::array<double, 3>& a, const Entry& e) {
    const double d0 = a[0] - e[0], d1 = a[1] - e[1], d2 = a[2] - e[2];
    return d0 * d0 + d1 * d1 + d2 * d2;
}

// The nearest palette entry to any colour. The entries are kept sorted by blue + green + red;
// since |a - e|^2 >= (sum(a) - sum(e))^2 / 3, the search walks outwards from the query's sum and
// stops on each side once that bound alone exceeds the best distance found.
class NearestEntry {
public:
    explicit NearestEntry(const std::vector<Entry>& palette) : palette_(palette) {
        order_.resize(palette.size());
        std::iota(order_.begin(), order_.end(), 0);
        std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) { return Sum(palette[a]) < Sum(palette[b]); });
        for (int i : order_) sums_.push_back(Sum(palette[i]));
    }

    int Find(const std::array<double, 3>& bgr) const {
        const double sum = bgr[0] + bgr[1] + bgr[2];
        const int n = static_cast<int>(order_.size());
        int up = static_cast<int>(std::lower_bound(sums_.begin(), sums_.end(), sum) - sums_.begin());
        int down = up - 1;
        int best = -1;
        double bestDistance = 1e300;
        auto consider = [&](int at) {
            const double d = Distance(bgr, palette_[order_[at]]);
            // Equal distances go to the lower index, whatever side found it first.
            if (d < bestDistance || (d == bestDistance && order_[at] < best)) {
                bestDistance = d;
                best = order_[at];
            }
        };
        while (up < n || down >= 0) {
            if (up < n) {
                const double gap = sums_[up] - sum;
                if (gap * gap > 3 * bestDistance)
                    up = n;
                else
                    consider(up++);
            }
            if (down >= 0) {
                const double gap = sum - sums_[down];
                if (gap * gap > 3 * bestDistance)
                    down = -1;
                else
                    consider(down--);
            }
        }
        return best;
    }

private:
    static double Sum(const Entry& e) { return double(e[0]) + e[1] + e[2]; }

    const std::vector<Entry>& palette_;
    std::vector<int> order_;    // entry indices by ascending sum
    std::vector<double> sums_;  // their sums, in that order
};

// Weighted sums of a set of points, enough for its mean and its squared error.
struct Moments {
    double weight = 0;
    double sum[3] = {0, 0, 0};
    double squares = 0;

    void Add(const Moments& other) {
        weight += other.weight;
        for (int c = 0; c < 3; ++c) sum[c] += other.sum[c];
        squares += other.squares;
    }
    void Add(const Point& p) {
        weight += p.weight;
        for (int c = 0; c < 3; ++c) {
            sum[c] += p.weight * p.bgr[c];
            squares += p.weight * p.bgr[c] * p.bgr[c];
        }
    }
    Moments Minus(const Moments& part) const {
        Moments rest;
        rest.weight = weight - part.weight;
        for (int c = 0; c < 3; ++c) rest.sum[c] = sum[c] - part.sum[c];
        rest.squares = squares - part.squares;
        return rest;
    }
    // The summed squared distance of the points from their mean.
    double Error() const {
        if (weight <= 0) return 0;
        return std::max(0.0, squares - (sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]) / weight);
    }
    Entry Mean() const {
        Entry e{0, 0, 0};
        for (int c = 0; c < 3; ++c)
            e[c] = weight > 0 ? std::clamp(static_cast<int>(std::floor(sum[c] / weight + 0.5)), 0, 255) : 0;
        return e;
    }
};

// A box of the top-down split: a range of the point order, with the best cut found for it.
struct Box {
    size_t begin = 0, end = 0;
    Moments moments;
    double gain = -1;  // how much the best cut lowers the squared error; -1: cannot be cut
    int axis = 0;
    int cutValue = 0;  // points up to this value along `axis` go to the lower side
};

int ValueAlong(const Point& p, int axis) { return static_cast<int>(p.bgr[axis]); }

// Finds the cut of the box, along any channel, that leaves the least squared error in its two
// halves. The points are gathered by their whole value along each channel, so a cut falls between
// two of the 256 values and no sorting is needed.
void FindBestCut(Box& box, const std::vector<int>& order, const std::vector<Point>& points) {
    box.gain = -1;
    if (box.end - box.begin < 2) return;
    const double whole = box.moments.Error();
    for (int axis = 0; axis < 3; ++axis) {
        std::array<Moments, 256> byValue;
        for (size_t i = box.begin; i < box.end; ++i) byValue[ValueAlong(points[order[i]], axis)].Add(points[order[i]]);
        Moments lower;
        for (int v = 0; v < 255; ++v) {
            if (byValue[v].weight == 0) continue;
            lower.Add(byValue[v]);
            const Moments upper = box.moments.Minus(lower);
            if (upper.weight <= 0) break;
            const double gain = whole - lower.Error() - upper.Error();
            if (gain > box.gain) {
                box.gain = gain;
                box.axis = axis;
                box.cutValue = v;
            }
        }
    }
}

Moments Gather(const std::vector<int>& order, size_t begin, size_t end, const std::vector<Point>& points) {
    Moments m;
    for (size_t i = begin; i < end; ++i) m.Add(points[order[i]]);
    return m;
}

// Splits the points into at most 256 boxes, each time cutting the box whose best cut removes the
// most squared error; the boxes' means are the first palette.
std::vector<Entry> SplitByVariance(const std::vector<Point>& points) {
    std::vector<int> order(points.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<Box> boxes(1);
    boxes[0].end = points.size();
    boxes[0].moments = Gather(order, 0, points.size(), points);
    FindBestCut(boxes[0], order, points);
    while (boxes.size() < kColors) {
        auto most = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) { return a.gain < b.gain; });
        if (most->gain <= 0) break;
        Box& lower = *most;
        const auto middle = std::stable_partition(order.begin() + lower.begin, order.begin() + lower.end, [&](int i) {
            return ValueAlong(points[i], lower.axis) <= lower.cutValue;
        });
        Box upper;
        upper.begin = static_cast<size_t>(middle - order.begin());
        upper.end = lower.end;
        lower.end = upper.begin;
        // Gathered afresh rather than subtracted, so that small boxes carry no rounding left over
        // from the large ones they were cut from.
        lower.moments = Gather(order, lower.begin, lower.end, points);
        upper.moments = Gather(order, upper.begin, upper.end, points);
        FindBestCut(lower, order, points);
        FindBestCut(upper, order, points);
        boxes.push_back(upper);  // `lower` may dangle from here on; it is not used again
    }
    std::vector<Entry> palette;
    for (const Box& box : boxes) palette.push_back(box.moments.Mean());
    return palette;
}

// k-means: moves each entry to the mean of the points nearest to it, until no point changes its
// entry. Returns each point's entry.
std::vector<uint8_t> Refine(const std::vector<Point>& points, std::vector<Entry>& palette) {
    std::vector<uint8_t> entryOf(points.size(), 0);
    for (int round = 0; round < kMaxRefinementRounds; ++round) {
        const NearestEntry nearest(palette);
        std::vector<Moments> members(palette.size());
        bool changed = round == 0;
        for (size_t i = 0; i < points.size(); ++i) {
            const uint8_t e = static_cast<uint8_t>(nearest.Find(points[i].bgr));
            changed |= e != entryOf[i];
            entryOf[i] = e;
            members[e].Add(points[i]);
        }
        if (!changed) break;
        for (size_t e = 0; e < palette.size(); ++e)
            if (members[e].weight > 0) palette[e] = members[e].Mean();
    }
    // The last move may have changed an entry: settle the assignment against the final palette.
    const NearestEntry nearest(palette);
    for (size_t i = 0; i < points.size(); ++i) entryOf[i] = static_cast<uint8_t>(nearest.Find(points[i].bgr));
    return entryOf;
}

void PutPalette(const std::vector<Entry>& palette, std::vector<uint8_t>& table) {
    for (size_t e = 0; e < palette.size(); ++e)
        PutEntry(table, static_cast<int>(e), uint32_t(palette[e][0]) | palette[e][1] << 8 | uint32_t(palette[e][2]) << 16);
}

// ---- the three cases ----

// At most 256 colours: exactly those, in order of first appearance.
void BuildExact(const uint8_t* pixels, int width, int height, size_t stride, const ColorCounter& counter,
                Indexed& out) {
    const std::vector<uint32_t>& colors = counter.Colors();
    std::vector<uint8_t> entryOf(colors.size());
    for (size_t i = 0; i < colors.size(); ++i) {
        PutEntry(out.colorTable, static_cast<int>(i), colors[i]);
        entryOf[i] = static_cast<uint8_t>(i);
    }
    IndexThroughNumbers(pixels, width, height, stride, counter, entryOf, out.indices);
    out.exact = true;
    out.colorCount = static_cast<int>(colors.size());
}

// Up to kMaxFittedColors: the palette is fitted to the distinct colours, and each colour keeps the
// entry nearest to it.
void BuildFromColors(const uint8_t* pixels, int width, int height, size_t stride, const ColorCounter& counter,
                     Indexed& out) {
    std::vector<Point> points;
    points.reserve(counter.Colors().size());
    for (size_t i = 0; i < counter.Colors().size(); ++i) {
        const uint32_t c = counter.Colors()[i];
        points.push_back(Point{{double(Channel(c, 0)), double(Channel(c, 1)), double(Channel(c, 2))},
                               double(counter.Counts()[i])});
    }
    std::vector<Entry> palette = SplitByVariance(points);
    const std::vector<uint8_t> entryOf = Refine(points, palette);
    PutPalette(palette, out.colorTable);
    IndexThroughNumbers(pixels, width, height, stride, counter, entryOf, out.indices);
}

// The entries that can be nearest to some colour of a 5-bit cell (an 8 x 8 x 8 cube of colours):
// those whose distance to the cube is no larger than the smallest farthest-corner distance of any
// entry. Worked out for a cell when a pixel first falls in it; on a photograph a cell has about
// four candidates instead of 256.
class CellCandidates {
public:
    static constexpr int kCells = 32 * 32 * 32;
    static int CellOf(uint32_t bgr) {
        return (Channel(bgr, 0) >> 3) | (Channel(bgr, 1) >> 3) << 5 | (Channel(bgr, 2) >> 3) << 10;
    }

    explicit CellCandidates(const std::vector<Entry>& palette) : palette_(palette), lists_(kCells) {
        for (size_t e = 0; e < palette.size(); ++e)
            for (int c = 0; c < 3; ++c) channels_[c][e] = palette[e][c];
    }

    // The entry nearest to `bgr`; equal distances go to the lower index.
    uint8_t Nearest(uint32_t bgr) {
        List& list = lists_[CellOf(bgr)];
        if (list.first < 0) list = Collect(CellOf(bgr));
        const Candidate* candidate = &candidates_[list.first];
        if (list.count == 1) return candidate->index;
        const int b = Channel(bgr, 0), g = Channel(bgr, 1), r = Channel(bgr, 2);
        int best = 1 << 30;  // distance * 256 + index, so that the minimum settles ties by index
        for (int i = 0; i < list.count; ++i, ++candidate) {
            const int d = (b - candidate->bgr[0]) * (b - candidate->bgr[0]) +
                          (g - candidate->bgr[1]) * (g - candidate->bgr[1]) +
                          (r - candidate->bgr[2]) * (r - candidate->bgr[2]);
            best = std::min(best, d << 8 | candidate->index);
        }
        return static_cast<uint8_t>(best & 0xFF);
    }

private:
    struct List {
        int first = -1;  // into candidates_; -1 until a pixel falls in the cell
        int count = 0;
    };
    struct Candidate {
        int16_t bgr[3];
        uint8_t index;
    };

    List Collect(int cell) {
        const int low[3] = {(cell & 31) << 3, (cell >> 5 & 31) << 3, (cell >> 10 & 31) << 3};
        const int n = static_cast<int>(palette_.size());
        int toCube[kColors];
        int bound = 1 << 30;
        for (int e = 0; e < n; ++e) {  // branch-free, so that it vectorises
            int toNearest = 0, toFarthest = 0;
            for (int c = 0; c < 3; ++c) {
                const int v = channels_[c][e], lo = low[c], hi = low[c] + 7;
                const int outside = std::max(lo - v, 0) + std::max(v - hi, 0);
                const int farthest = std::max(v - lo, hi - v);
                toNearest += outside * outside;
                toFarthest += farthest * farthest;
            }
            toCube[e] = toNearest;
            bound = std::min(bound, toFarthest);
        }
        List list;
        list.first = static_cast<int>(candidates_.size());
        for (int e = 0; e < n; ++e)
            if (toCube[e] <= bound) {
                const Entry& entry = palette_[e];
                candidates_.push_back(Candidate{{int16_t(entry[0]), int16_t(entry[1]), int16_t(entry[2])}, uint8_t(e)});
            }
        list.count = static_cast<int>(candidates_.size()) - list.first;
        return list;
    }

    const std::vector<Entry>& palette_;
    int channels_[3][kColors] = {};  // the palette by channel, for Collect
    std::vector<List> lists_;         // per cell
    std::vector<Candidate> candidates_;
};

// More colours: the palette is fitted to the mean colours of 5-bit cells, and then every pixel gets
// the entry nearest to its own colour.
void BuildFromCells(const uint8_t* pixels, int width, int height, size_t stride, Indexed& out) {
    std::vector<Moments> cells(CellCandidates::kCells);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels + static_cast<size_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            const uint32_t c = ColorAt(row, x);
            Moments& m = cells[CellCandidates::CellOf(c)];
            m.weight += 1;
            for (int k = 0; k < 3; ++k) m.sum[k] += Channel(c, k);
        }
    }
    std::vector<Point> points;
    for (const Moments& m : cells)
        if (m.weight > 0) points.push_back(Point{{m.sum[0] / m.weight, m.sum[1] / m.weight, m.sum[2] / m.weight}, m.weight});
    std::vector<Entry> palette = SplitByVariance(points);
    Refine(points, palette);
    PutPalette(palette, out.colorTable);

    CellCandidates nearest(palette);
    out.indices.resize(static_cast<size_t>(width) * height);
    uint32_t last = 0xFFFFFFFF;
    uint8_t lastEntry = 0;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels + static_cast<size_t>(y) * stride;
        uint8_t* indices = &out.indices[static_cast<size_t>(y) * width];
        for (int x = 0; x < width; ++x) {
            const uint32_t c = ColorAt(row, x);
            if (c != last) {
                last = c;
                lastEntry = nearest.Nearest(c);
            }
            indices[x] = lastEntry;
        }
    }
}

}  // namespace

Indexed Build(const uint8_t* pixels, int width, int height, size_t stride) {
    Indexed out;
    out.colorTable.assign(kColors * 4, 0);
    if (width <= 0 || height <= 0) return out;
    ColorCounter counter(kMaxFittedColors);
    if (!counter.AddAll(pixels, width, height, stride))
        BuildFromCells(pixels, width, height, stride, out);
    else if (counter.Colors().size() <= kColors)
        BuildExact(pixels, width, height, stride, counter, out);
    else
        BuildFromColors(pixels, width, height, stride, counter, out);
    if (!out.exact) out.colorCount = kColors;
    return out;
}

size_t CountColors(const uint8_t* pixels, int width, int height, size_t stride, size_t limit) {
    if (width <= 0 || height <= 0) return 0;
    ColorCounter counter(limit);
    return counter.AddAll(pixels, width, height, stride) ? counter.Colors().size() : limit + 1;
}

bool BuildExactOnly(const uint8_t* pixels, int width, int height, size_t stride, Indexed& out) {
    out = Indexed{};
    out.colorTable.assign(kColors * 4, 0);
    if (width <= 0 || height <= 0) return false;
    ColorCounter counter(kColors);
    if (!counter.AddAll(pixels, width, height, stride)) return false;
    BuildExact(pixels, width, height, stride, counter, out);
    return true;
}

}  // namespace PaletteBuilder
