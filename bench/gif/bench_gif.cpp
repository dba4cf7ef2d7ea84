// Times our in-memory GIF encode against giflib's (EGifPutLine into memory through an output
// function) on the same palette indices, and prints a markdown table: medians of several runs,
// throughput in MB of pixel data (one byte a pixel) per second, output sizes.
//
// Usage: bench_gif IMAGE_DIR   (the *_8.bmp, *_8nd.bmp and *_4.bmp files of tools/run-bench)
#include <gif_lib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imagefile/gif_encoder.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSamples = 9;
constexpr double kMinSampleSeconds = 0.01;  // tiny images are encoded repeatedly within one sample

int AppendToVector(GifFileType* file, const GifByteType* bytes, int length) {
    auto* out = static_cast<std::vector<uint8_t>*>(file->UserData);
    out->insert(out->end(), bytes, bytes + length);
    return length;
}

// giflib's encoder with the same screen description as ours (GIF89a, colour resolution = depth).
std::vector<uint8_t> EncodeWithGiflib(const PaletteImage& image) {
    std::vector<uint8_t> out;
    out.reserve(image.indices.size() / 4 + 1024);
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendToVector, &error);
    std::vector<GifColorType> colors;
    for (const PaletteColor& c : image.palette) colors.push_back(GifColorType{c.red, c.green, c.blue});
    ColorMapObject* map = GifMakeMapObject(int(colors.size()), colors.data());
    EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, image.width, image.height, image.bitsPerPixel, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> row(size_t(image.width) + 1);
    for (int y = 0; ok && y < image.height; ++y) {
        const uint8_t* line = image.indices.data() + size_t(y) * size_t(image.width);
        std::copy(line, line + image.width, row.begin());
        ok = EGifPutLine(gif, row.data(), image.width) == GIF_OK;
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    if (!ok) out.clear();
    return out;
}

struct Timed {
    std::vector<double> seconds;
    std::vector<uint8_t> output;
};

// One sample: the mean time of as many encodes as fill kMinSampleSeconds (at least one).
template <typename Encode>
void Sample(Timed& timed, Encode encode) {
    const auto start = Clock::now();
    double elapsed = 0;
    int runs = 0;
    do {
        timed.output = encode();
        ++runs;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < kMinSampleSeconds);
    timed.seconds.push_back(elapsed / runs);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool IsPaletteBmp(const std::string& name) {
    auto endsWith = [&](const char* tail) {
        const std::string t(tail);
        return name.size() >= t.size() && name.compare(name.size() - t.size(), t.size(), t) == 0;
    };
    return endsWith("_8.bmp") || endsWith("_8nd.bmp") || endsWith("_4.bmp");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_gif IMAGE_DIR\n");
        return 2;
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
        if (IsPaletteBmp(entry.path().filename().string())) files.push_back(entry.path());
    std::sort(files.begin(), files.end());

    std::printf("| image | pixels | ours MB/s | giflib MB/s | speed-up | ours bytes | giflib bytes | size "
                "diff | same bytes |\n|---|---|---|---|---|---|---|---|---|\n");
    for (const auto& path : files) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<uint8_t> bmp((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        PaletteImage image;
        if (ReadPaletteBmp(bmp.data(), bmp.size(), image) != PaletteBmpStatus::Ok) {
            std::fprintf(stderr, "%s: not a palette BMP\n", path.c_str());
            continue;
        }
        const double pixels = double(image.indices.size());
        Timed ours, giflib;
        for (int s = 0; s < kSamples; ++s) {  // interleaved, so drift hits both alike
            Sample(ours, [&] { return EncodeGif(image); });
            Sample(giflib, [&] { return EncodeWithGiflib(image); });
        }
        const double oursRate = pixels / Median(ours.seconds) / 1e6;
        const double giflibRate = pixels / Median(giflib.seconds) / 1e6;
        const double sizeDiff = 100.0 * (double(ours.output.size()) - double(giflib.output.size())) /
                                double(giflib.output.size());
        std::printf("| %s | %dx%d, %d bits | %.1f | %.1f | %.2fx | %zu | %zu | %+.3f %% | %s |\n",
                    path.filename().c_str(), image.width, image.height, image.bitsPerPixel, oursRate,
                    giflibRate, oursRate / giflibRate, ours.output.size(), giflib.output.size(), sizeDiff,
                    ours.output == giflib.output ? "yes" : "no");
    }
    return 0;
}
