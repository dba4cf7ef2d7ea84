// Compares the 8-bit palette we build before a GIF save with ImageMagick's `convert -colors 256`
// (dithered, its default, and with +dither) and with the fixed palette a 256-colour display would
// impose, on the 24-bit benchmark images.
//
//   bench_palette IMAGE_DIR [RUNS]             the comparison, printed as a markdown table
//   bench_palette --quantize IN.bmp OUT.bmp    one conversion as a save does it: read the 24-bit
//                                              BMP, build the palette, write the 8-bit BMP
//
// Time: our PaletteBuilder::Build alone, in-process (median of RUNS samples); and whole processes,
// ours (`--quantize`) against `convert` (start, read the BMP, quantise, write, exit), in
// interleaved rounds after a warm-up round, medians of wall and of CPU (user + system) time.
// Quality: PSNR over R, G and B against the source, and the share of pixels that do not keep their
// colour exactly; ImageMagick's result is read back from the PPM it wrote. "GIF bytes" is our GIF encoder's output for each indexed result, to show what dithering
// costs in file size.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "imagefile/bmp_layout.h"
#include "imagefile/gif_encoder.h"
#include "imagefile/palette_builder.h"
#include "wexbury/bmp_reader.h"

#include "bench/bench_process.h"

namespace {

using bench::Median;
using bench::RunProcess;
using bench::Timing;

using Clock = std::chrono::steady_clock;
constexpr const char* kConvert = "/usr/bin/convert";  // the real ImageMagick, not a wrapper on PATH
constexpr double kMinSampleSeconds = 0.01;  // tiny images are built repeatedly within one sample

// Pixels as PaletteBuilder takes them: blue, green, red, unused; top row first, no padding.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> bgrx;
    size_t Stride() const { return size_t(width) * 4; }
};

bool LoadBmp(const std::string& path, Picture& out) {
    wexbury::RgbImage image;
    if (wexbury::ReadBmpFile(path.c_str(), image) != wexbury::BmpError::None) return false;
    out.width = image.width;
    out.height = image.height;
    out.bgrx.assign(size_t(image.width) * image.height * 4, 0);
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* s = image.Row(y);
        uint8_t* d = out.bgrx.data() + size_t(y) * out.Stride();
        for (int x = 0; x < image.width; ++x) std::memcpy(d + 4 * x, s + 3 * x, 3);
    }
    return true;
}

// A binary PPM (P6, maxval 255) as ImageMagick writes it.
bool LoadPpm(const std::string& path, Picture& out) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    in >> magic >> out.width >> out.height >> maxval;
    in.get();
    if (!in || magic != "P6" || maxval != 255 || out.width <= 0 || out.height <= 0) return false;
    std::vector<uint8_t> rgb(size_t(out.width) * out.height * 3);
    in.read(reinterpret_cast<char*>(rgb.data()), std::streamsize(rgb.size()));
    if (!in) return false;
    out.bgrx.assign(size_t(out.width) * out.height * 4, 0);
    for (size_t i = 0; i < size_t(out.width) * out.height; ++i)
        for (int c = 0; c < 3; ++c) out.bgrx[4 * i + c] = rgb[3 * i + 2 - c];
    return true;
}

uint32_t ColorAt(const Picture& p, size_t i) {
    return p.bgrx[4 * i] | p.bgrx[4 * i + 1] << 8 | uint32_t(p.bgrx[4 * i + 2]) << 16;
}

size_t DistinctColors(const Picture& p) {
    std::unordered_set<uint32_t> seen;
    for (size_t i = 0; i < size_t(p.width) * p.height; ++i) seen.insert(ColorAt(p, i));
    return seen.size();
}

double Psnr(const Picture& source, const PaletteBuilder::Indexed& r) {
    double squared = 0;
    for (size_t i = 0; i < r.indices.size(); ++i) {
        const uint8_t* entry = &r.colorTable[size_t(r.indices[i]) * 4];
        for (int c = 0; c < 3; ++c) {
            const double d = double(source.bgrx[4 * i + c]) - entry[c];
            squared += d * d;
        }
    }
    const double mse = squared / (double(r.indices.size()) * 3);
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

// The share of pixels, in percent, whose colour the indexed result does not keep exactly.
double ChangedPercent(const Picture& source, const PaletteBuilder::Indexed& r) {
    size_t changed = 0;
    for (size_t i = 0; i < r.indices.size(); ++i)
        changed += std::memcmp(&source.bgrx[4 * i], &r.colorTable[size_t(r.indices[i]) * 4], 3) != 0;
    return 100.0 * double(changed) / double(r.indices.size());
}

size_t GifBytes(const PaletteBuilder::Indexed& r, int width, int height) {
    PaletteImage image;
    image.width = width;
    image.height = height;
    image.bitsPerPixel = 8;
    for (int i = 0; i < 256; ++i)
        image.palette.push_back(PaletteColor{r.colorTable[4 * i + 2], r.colorTable[4 * i + 1], r.colorTable[4 * i]});
    image.indices = r.indices;
    return EncodeGif(image).size();
}

// What a palette display hands a true-colour capture: the 20 colours the system reserves, a
// 6x6x6 cube and grays in the remaining entries; each pixel gets its nearest entry.
std::vector<uint8_t> FixedPaletteTable() {
    static const uint8_t kSystem[20][3] = {  // red, green, blue
        {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
        {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
        {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
        {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    std::vector<uint8_t> table(1024, 0);
    int n = 0;
    auto put = [&](int r, int g, int b) {
        table[4 * n] = uint8_t(b);
        table[4 * n + 1] = uint8_t(g);
        table[4 * n + 2] = uint8_t(r);
        ++n;
    };
    for (const auto& c : kSystem) put(c[0], c[1], c[2]);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) put(51 * r, 51 * g, 51 * b);
    for (int i = 0; n < 256; ++i) {  // 20 grays between the cube's steps
        const int v = 8 + i * 13;
        if (v % 51) put(v, v, v);
    }
    return table;
}

PaletteBuilder::Indexed MapToTable(const Picture& p, const std::vector<uint8_t>& table) {
    PaletteBuilder::Indexed r;
    r.colorTable = table;
    r.indices.resize(size_t(p.width) * p.height);
    std::unordered_map<uint32_t, uint8_t> nearest;
    for (size_t i = 0; i < r.indices.size(); ++i) {
        const uint32_t c = ColorAt(p, i);
        auto found = nearest.find(c);
        if (found == nearest.end()) {
            int best = 0, bestDistance = 1 << 30;
            for (int e = 0; e < 256; ++e) {
                int d = 0;
                for (int k = 0; k < 3; ++k) {
                    const int diff = int((c >> (8 * k)) & 0xFF) - table[4 * e + k];
                    d += diff * diff;
                }
                if (d < bestDistance) bestDistance = d, best = e;
            }
            found = nearest.emplace(c, uint8_t(best)).first;
        }
        r.indices[i] = found->second;
    }
    return r;
}

// Our Build alone: each sample is the mean of as many builds as fill kMinSampleSeconds.
double BuildSeconds(const Picture& p, int samples, PaletteBuilder::Indexed& result) {
    std::vector<double> seconds;
    for (int s = 0; s < samples; ++s) {
        const auto start = Clock::now();
        double elapsed = 0;
        int runs = 0;
        do {
            result = PaletteBuilder::Build(p.bgrx.data(), p.width, p.height, p.Stride());
            ++runs;
            elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        } while (elapsed < kMinSampleSeconds);
        seconds.push_back(elapsed / runs);
    }
    return Median(seconds);
}

struct Row {
    std::string method;
    double buildMs = -1, wallMs = -1, cpuMs = -1;  // -1: not measured
    double psnr = 0;
    double changedPercent = 0;
    std::string exact = "-";
    size_t gifBytes = 0;

    void Describe(const Picture& source, const PaletteBuilder::Indexed& result) {
        psnr = Psnr(source, result);
        changedPercent = ChangedPercent(source, result);
        gifBytes = GifBytes(result, source.width, source.height);
    }
};

std::string Decibels(double psnr) {
    if (psnr >= 99) return "lossless";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", psnr);
    return text;
}

std::string Ms(double ms) {
    if (ms < 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, ms < 0.1 ? "%.4f" : ms < 10 ? "%.2f" : "%.0f", ms);
    return text;
}

int Quantize(const char* in, const char* out) {
    Picture p;
    if (!LoadBmp(in, p)) return 1;
    const PaletteBuilder::Indexed r = PaletteBuilder::Build(p.bgrx.data(), p.width, p.height, p.Stride());
    const std::vector<uint8_t> file = BmpLayout::Encode8Bit(p.width, p.height, r.colorTable, r.indices);
    std::FILE* f = std::fopen(out, "wb");
    if (!f) return 1;
    const bool written = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && written ? 0 : 1;
}

bool IsTrueColorBmp(const std::string& name) {
    auto endsWith = [&](const std::string& tail) {
        return name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
    };
    return endsWith(".bmp") && !endsWith("_8.bmp") && !endsWith("_8nd.bmp") && !endsWith("_4.bmp");
}

// Screenshots first, then the photo, then the tiny ones.
int Rank(const std::string& name) { return name.rfind("ui", 0) == 0 ? 0 : name.rfind("photo", 0) == 0 ? 1 : 2; }

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--quantize") == 0) return Quantize(argv[2], argv[3]);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_palette IMAGE_DIR [RUNS]\n");
        return 2;
    }
    const int runs = argc >= 3 ? std::max(1, std::atoi(argv[2])) : 7;
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return 2;
    self[n] = 0;

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
        if (IsTrueColorBmp(entry.path().filename().string())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return Rank(a) != Rank(b) ? Rank(a) < Rank(b) : a < b;
    });

    const std::string tmp = "/tmp/bench_palette_" + std::to_string(getpid());
    const std::vector<uint8_t> fixedTable = FixedPaletteTable();
    std::printf(
        "Build: PaletteBuilder::Build in-process, median of %d. Process: whole process (start, read BMP, "
        "quantise, write, exit), median of %d interleaved rounds, wall and CPU (user + system). PSNR over "
        "R, G, B against the source; pixels changed: those not kept exactly. GIF bytes: our encoder on each "
        "indexed result.\n\n",
        runs, runs);
    std::printf(
        "| image | colours | method | Build ms | process ms wall | process ms CPU | PSNR dB | pixels changed %% | "
        "exact | GIF bytes |\n|---|---|---|---|---|---|---|---|---|---|\n");
    for (const std::string& name : names) {
        const std::string bmp = std::string(argv[1]) + "/" + name;
        Picture source;
        if (!LoadBmp(bmp, source)) {
            std::fprintf(stderr, "cannot read %s\n", bmp.c_str());
            return 2;
        }
        std::vector<Row> rows(4);
        rows[0].method = "ours";
        rows[1].method = "ImageMagick -colors 256";
        rows[2].method = "ImageMagick +dither -colors 256";
        rows[3].method = "fixed palette";

        PaletteBuilder::Indexed ours;
        rows[0].buildMs = 1e3 * BuildSeconds(source, runs, ours);
        rows[0].Describe(source, ours);
        rows[0].exact = ours.exact ? "yes" : "no";

        const std::vector<std::vector<std::string>> commands = {
            {self, "--quantize", bmp, tmp + ".bmp"},
            {kConvert, bmp, "-colors", "256", tmp + "_d.ppm"},
            {kConvert, bmp, "+dither", "-colors", "256", tmp + "_nd.ppm"}};
        std::vector<std::vector<double>> wall(3), cpu(3);
        for (int round = -1; round < runs; ++round)  // round -1 warms the page cache
            for (size_t i = 0; i < commands.size(); ++i) {
                const Timing t = RunProcess(commands[i]);
                if (round >= 0) wall[i].push_back(t.wall), cpu[i].push_back(t.cpu);
            }
        for (size_t i = 0; i < commands.size(); ++i) {
            rows[i].wallMs = 1e3 * Median(wall[i]);
            rows[i].cpuMs = 1e3 * Median(cpu[i]);
        }
        for (int i = 1; i <= 2; ++i) {
            Picture theirs;
            if (!LoadPpm(tmp + (i == 1 ? "_d.ppm" : "_nd.ppm"), theirs) || theirs.width != source.width ||
                theirs.height != source.height) {
                std::fprintf(stderr, "cannot read ImageMagick's result for %s\n", name.c_str());
                return 2;
            }
            // Its result has at most 256 colours, so our builder indexes it without loss.
            const PaletteBuilder::Indexed indexed =
                PaletteBuilder::Build(theirs.bgrx.data(), theirs.width, theirs.height, theirs.Stride());
            if (!indexed.exact) {
                std::fprintf(stderr, "%s: ImageMagick left more than 256 colours\n", name.c_str());
                return 2;
            }
            rows[i].Describe(source, indexed);
        }
        rows[3].Describe(source, MapToTable(source, fixedTable));

        const size_t colors = DistinctColors(source);
        const std::string image = name.substr(0, name.size() - 4);
        for (const Row& r : rows)
            std::printf("| %s | %zu | %s | %s | %s | %s | %s | %.3f | %s | %zu |\n", image.c_str(), colors,
                        r.method.c_str(), Ms(r.buildMs).c_str(), Ms(r.wallMs).c_str(), Ms(r.cpuMs).c_str(),
                        Decibels(r.psnr).c_str(), r.changedPercent, r.exact.c_str(), r.gifBytes);
        std::fflush(stdout);
        for (const char* tail : {".bmp", "_d.ppm", "_nd.ppm"}) std::remove((tmp + tail).c_str());
    }
    return 0;
}
