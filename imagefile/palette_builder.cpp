#include "imagefile/palette_builder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>

namespace PaletteBuilder {
namespace {

constexpr int kColors = 256;

uint32_t ColorAt(const uint8_t* pixels, size_t stride, int x, int y) {
    const uint8_t* p = pixels + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 4;
    return p[0] | p[1] << 8 | uint32_t(p[2]) << 16;  // blue, green, red
}

void PutEntry(std::vector<uint8_t>& table, int index, uint32_t bgr) {
    table[index * 4 + 0] = bgr & 0xFF;
    table[index * 4 + 1] = (bgr >> 8) & 0xFF;
    table[index * 4 + 2] = (bgr >> 16) & 0xFF;
    table[index * 4 + 3] = 0;
}

// With at most 256 colours the table is exactly those colours, in order of first appearance.
bool TryExact(const uint8_t* pixels, int width, int height, size_t stride, Indexed& out) {
    std::unordered_map<uint32_t, uint8_t> index;
    index.reserve(512);
    out.indices.resize(static_cast<size_t>(width) * height);
    uint32_t last = 0xFFFFFFFF;
    uint8_t lastIndex = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t c = ColorAt(pixels, stride, x, y);
            if (c != last) {
                auto found = index.find(c);
                if (found == index.end()) {
                    if (index.size() == kColors) return false;
                    found = index.emplace(c, static_cast<uint8_t>(index.size())).first;
                    PutEntry(out.colorTable, found->second, c);
                }
                last = c;
                lastIndex = found->second;
            }
            out.indices[static_cast<size_t>(y) * width + x] = lastIndex;
        }
    return true;
}

// ---- more than 256 colours: median cut over a 5-bit-per-channel histogram, then refinement ----

constexpr int kBins = 32 * 32 * 32;

struct Bin {
    uint32_t count = 0;
    uint64_t sum[3] = {0, 0, 0};  // blue, green, red at full precision
};

int BinOf(uint32_t bgr) {
    return int((bgr >> 3) & 31) | int((bgr >> 11) & 31) << 5 | int((bgr >> 19) & 31) << 10;
}

struct Box {
    std::vector<int> bins;  // occupied bins in the box
    uint64_t count = 0;
    int channel = 0;  // the channel of widest weighted spread
    double spread = 0;
};

int Channel(int bin, int c) { return (bin >> (5 * c)) & 31; }

void Measure(Box& box, const std::vector<Bin>& histogram) {
    box.count = 0;
    double sum[3] = {0, 0, 0}, squares[3] = {0, 0, 0};
    for (int b : box.bins) {
        double n = histogram[b].count;
        box.count += histogram[b].count;
        for (int c = 0; c < 3; ++c) {
            double v = Channel(b, c);
            sum[c] += n * v;
            squares[c] += n * v * v;
        }
    }
    box.spread = -1;
    for (int c = 0; c < 3; ++c) {
        double mean = box.count ? sum[c] / box.count : 0;
        double variance = box.count ? squares[c] - mean * sum[c] : 0;  // total squared deviation
        if (box.bins.size() > 1 && variance > box.spread) {
            box.spread = variance;
            box.channel = c;
        }
    }
}

std::vector<Box> MedianCut(const std::vector<Bin>& histogram) {
    std::vector<Box> boxes(1);
    for (int b = 0; b < kBins; ++b)
        if (histogram[b].count) boxes[0].bins.push_back(b);
    Measure(boxes[0], histogram);
    while (boxes.size() < kColors) {
        // Split the box that holds the most error.
        auto widest = std::max_element(boxes.begin(), boxes.end(),
                                       [](const Box& a, const Box& b) { return a.spread < b.spread; });
        if (widest->spread <= 0) break;
        Box& box = *widest;
        int c = box.channel;
        std::sort(box.bins.begin(), box.bins.end(), [c](int a, int b) { return Channel(a, c) < Channel(b, c); });
        uint64_t half = box.count / 2, running = 0;
        size_t cut = 1;
        for (; cut < box.bins.size(); ++cut) {
            running += histogram[box.bins[cut - 1]].count;
            if (running >= half) break;
        }
        if (cut >= box.bins.size()) cut = box.bins.size() - 1;
        Box upper;
        upper.bins.assign(box.bins.begin() + cut, box.bins.end());
        box.bins.resize(cut);
        Measure(box, histogram);
        Measure(upper, histogram);
        boxes.push_back(std::move(upper));
    }
    return boxes;
}

double Distance(const double* a, const double* b) {
    double d0 = a[0] - b[0], d1 = a[1] - b[1], d2 = a[2] - b[2];
    return d0 * d0 + d1 * d1 + d2 * d2;
}

}  // namespace

Indexed Build(const uint8_t* pixels, int width, int height, size_t stride) {
    Indexed out;
    out.colorTable.assign(kColors * 4, 0);
    if (width <= 0 || height <= 0) return out;
    if (TryExact(pixels, width, height, stride, out)) {
        out.exact = true;
        return out;
    }

    std::vector<Bin> histogram(kBins);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t c = ColorAt(pixels, stride, x, y);
            Bin& bin = histogram[BinOf(c)];
            ++bin.count;
            bin.sum[0] += c & 0xFF;
            bin.sum[1] += (c >> 8) & 0xFF;
            bin.sum[2] += (c >> 16) & 0xFF;
        }
    std::vector<Box> boxes = MedianCut(histogram);

    // Each occupied bin's own mean colour, then Lloyd refinement of the palette over the bins.
    std::vector<int> occupied;
    std::vector<std::array<double, 3>> binColor(kBins);
    for (int b = 0; b < kBins; ++b)
        if (histogram[b].count) {
            occupied.push_back(b);
            for (int c = 0; c < 3; ++c) binColor[b][c] = double(histogram[b].sum[c]) / histogram[b].count;
        }
    std::vector<std::array<double, 3>> palette;
    for (const Box& box : boxes) {
        std::array<double, 3> mean{0, 0, 0};
        for (int b : box.bins)
            for (int c = 0; c < 3; ++c) mean[c] += double(histogram[b].sum[c]);
        for (int c = 0; c < 3; ++c) mean[c] /= box.count ? double(box.count) : 1.0;
        palette.push_back(mean);
    }
    std::vector<uint8_t> nearest(kBins, 0);
    for (int round = 0; round < 4; ++round) {
        std::vector<std::array<double, 4>> sums(palette.size(), {0, 0, 0, 0});
        for (int b : occupied) {
            int best = 0;
            double bestDistance = Distance(binColor[b].data(), palette[0].data());
            for (size_t p = 1; p < palette.size(); ++p) {
                double d = Distance(binColor[b].data(), palette[p].data());
                if (d < bestDistance) {
                    bestDistance = d;
                    best = static_cast<int>(p);
                }
            }
            nearest[b] = static_cast<uint8_t>(best);
            double n = histogram[b].count;
            for (int c = 0; c < 3; ++c) sums[best][c] += double(histogram[b].sum[c]);
            sums[best][3] += n;
        }
        if (round == 3) break;
        for (size_t p = 0; p < palette.size(); ++p)
            if (sums[p][3] > 0)
                for (int c = 0; c < 3; ++c) palette[p][c] = sums[p][c] / sums[p][3];
    }
    for (size_t p = 0; p < palette.size(); ++p) {
        auto channel = [&](int c) { return uint32_t(std::clamp(palette[p][c] + 0.5, 0.0, 255.0)); };
        PutEntry(out.colorTable, static_cast<int>(p), channel(0) | channel(1) << 8 | channel(2) << 16);
    }
    out.indices.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.indices[static_cast<size_t>(y) * width + x] = nearest[BinOf(ColorAt(pixels, stride, x, y))];
    return out;
}

}  // namespace PaletteBuilder
