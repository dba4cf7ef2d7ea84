// Times our in-memory PNG encode against libpng's (png_write_png of the same RGB rows into memory,
// Debian's default compression and filters) and prints a markdown table: medians of several runs,
// throughput in MB of RGB input (3 bytes a pixel) per second, output sizes, and the size optipng -o2
// reaches from libpng's file. Every file of ours is decoded back with libpng and compared.
//
// Usage: bench_png IMAGE_DIR [--levels]   (the 24-bit NAME.bmp files of tools/run-bench)
// --levels adds a table of our encoder at each zlib level, the figures the default was chosen by.
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imagefile/png_encoder.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSamples = 7;
constexpr double kMinSampleSeconds = 0.01;

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> bgrx;  // top row first
    std::vector<uint8_t> rgb;   // top row first, rows packed
};

uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

// A 24-bit bottom-up BMP as make_images.py writes it.
bool ReadBmp24(const std::filesystem::path& path, Image& image) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bmp((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bmp.size() < 54 || bmp[0] != 'B' || bmp[1] != 'M' || bmp[28] != 24) return false;
    const uint32_t offset = U32(&bmp[10]);
    image.width = int(U32(&bmp[18]));
    image.height = int(U32(&bmp[22]));
    const size_t stride = (size_t(image.width) * 3 + 3) & ~size_t(3);
    if (bmp.size() < offset + stride * image.height) return false;
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* row = &bmp[offset + stride * size_t(image.height - 1 - y)];
        for (int x = 0; x < image.width; ++x) {
            image.bgrx.insert(image.bgrx.end(), {row[x * 3], row[x * 3 + 1], row[x * 3 + 2], 0});
            image.rgb.insert(image.rgb.end(), {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]});
        }
    }
    return true;
}

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void NoFlush(png_structp) {}

std::vector<uint8_t> EncodeWithLibpng(const Image& image) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, AppendToVector, NoFlush);
    png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_bytep> rows;
    for (int y = 0; y < image.height; ++y)
        rows.push_back(const_cast<png_bytep>(&image.rgb[size_t(y) * image.width * 3]));
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

bool DecodesTo(const std::vector<uint8_t>& file, const Image& image) {
    png_image decoded;
    std::memset(&decoded, 0, sizeof decoded);
    decoded.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&decoded, file.data(), file.size())) return false;
    decoded.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(decoded));
    if (!png_image_finish_read(&decoded, nullptr, rgb.data(), 0, nullptr)) return false;
    return rgb == image.rgb;
}

// What optipng -o2 makes of libpng's file; 0 when optipng is missing.
size_t OptipngSize(const std::vector<uint8_t>& libpngFile) {
    const auto folder = std::filesystem::temp_directory_path();
    const auto in = folder / "bench_png_in.png", out = folder / "bench_png_out.png";
    std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(libpngFile.data()),
                                              std::streamsize(libpngFile.size()));
    std::filesystem::remove(out);
    const std::string command = "optipng -quiet -o2 -out '" + out.string() + "' '" + in.string() + "' 2>/dev/null";
    size_t size = 0;
    if (std::system(command.c_str()) == 0 && std::filesystem::exists(out)) size = std::filesystem::file_size(out);
    std::filesystem::remove(in);
    std::filesystem::remove(out);
    return size;
}

struct Timed {
    std::vector<double> seconds;     // wall-clock time of one encode
    std::vector<double> cpuSeconds;  // processor time of one encode, all threads together
    std::vector<uint8_t> output;
};

template <typename Encode>
void Sample(Timed& timed, Encode encode) {
    const auto start = Clock::now();
    const std::clock_t cpuStart = std::clock();
    double elapsed = 0;
    int runs = 0;
    do {
        timed.output = encode();
        ++runs;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < kMinSampleSeconds);
    timed.seconds.push_back(elapsed / runs);
    timed.cpuSeconds.push_back(double(std::clock() - cpuStart) / CLOCKS_PER_SEC / runs);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool IsPlainBmp(const std::string& name) {
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".bmp") != 0) return false;
    for (const char* tail : {"_8.bmp", "_8nd.bmp", "_4.bmp"})
        if (name.size() >= std::strlen(tail) && name.compare(name.size() - std::strlen(tail), std::strlen(tail), tail) == 0)
            return false;
    return true;
}

double Percent(size_t a, size_t b) { return b ? 100.0 * (double(a) - double(b)) / double(b) : 0; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_png IMAGE_DIR [--levels]\n");
        return 2;
    }
    const bool levels = argc > 2 && std::strcmp(argv[2], "--levels") == 0;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
        if (IsPlainBmp(entry.path().filename().string())) files.push_back(entry.path());
    std::sort(files.begin(), files.end());

    std::printf("| image | ours ms | ours MB/s | libpng ms | libpng MB/s | speed-up | ours CPU ms | libpng CPU ms | "
                "ours bytes | libpng bytes | optipng -o2 bytes | ours vs libpng | ours vs optipng | exact |\n"
                "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    std::vector<Image> images;
    for (const auto& path : files) {
        Image image;
        if (!ReadBmp24(path, image)) {
            std::fprintf(stderr, "%s: not a 24-bit BMP\n", path.c_str());
            continue;
        }
        const double megabytes = double(image.rgb.size()) / 1e6;
        Timed ours, libpng;
        for (int s = 0; s < kSamples; ++s) {  // interleaved, so drift hits both alike
            Sample(ours, [&] {
                return PngEncoder::Encode(image.bgrx.data(), image.width, image.height, size_t(image.width) * 4);
            });
            Sample(libpng, [&] { return EncodeWithLibpng(image); });
        }
        const double oursSeconds = Median(ours.seconds), libpngSeconds = Median(libpng.seconds);
        const size_t optipng = OptipngSize(libpng.output);
        std::printf("| %s | %.1f | %.1f | %.1f | %.1f | %.2fx | %.1f | %.1f | %zu | %zu | %zu | %+.1f %% | %+.1f %% | %s |\n",
                    path.filename().c_str(), oursSeconds * 1e3, megabytes / oursSeconds, libpngSeconds * 1e3,
                    megabytes / libpngSeconds, libpngSeconds / oursSeconds, Median(ours.cpuSeconds) * 1e3,
                    Median(libpng.cpuSeconds) * 1e3, ours.output.size(), libpng.output.size(),
                    optipng, Percent(ours.output.size(), libpng.output.size()), Percent(ours.output.size(), optipng),
                    DecodesTo(ours.output, image) ? "yes" : "NO");
        std::fflush(stdout);
        images.push_back(std::move(image));
    }
    if (!levels) return 0;

    std::printf("\nOur encoder at each zlib level (ms / bytes):\n\n| image |");
    for (int level = 1; level <= 9; ++level) std::printf(" level %d |", level);
    std::printf("\n|---|");
    for (int level = 1; level <= 9; ++level) std::printf("---|");
    std::printf("\n");
    for (size_t i = 0; i < images.size(); ++i) {
        const Image& image = images[i];
        std::printf("| %s |", files[i].filename().c_str());
        for (int level = 1; level <= 9; ++level) {
            PngEncoder::Options options;
            options.compressionLevel = level;
            Timed timed;
            for (int s = 0; s < 3; ++s)
                Sample(timed, [&] {
                    return PngEncoder::Encode(image.bgrx.data(), image.width, image.height, size_t(image.width) * 4,
                                              options);
                });
            std::printf(" %.1f / %zu |", Median(timed.seconds) * 1e3, timed.output.size());
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    return 0;
}
