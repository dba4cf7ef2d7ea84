// Compares our JPEG writer with libjpeg-turbo's cjpeg on the benchmark images.
//
//   bench_jpeg IMAGE_DIR [RUNS]              the comparison, printed as markdown tables
//   bench_jpeg --encode IN.bmp OUT.jpg QUALITY PROGRESSIVE GRAYSCALE SMOOTHING [LAMBDA [FIT [STEER]]]
//                                            one save, as the library's export does it (LAMBDA:
//                                            another rate-distortion lambda scale, 0 for none;
//                                            FIT: 1 or 0, chroma fitted to the decoder or not;
//                                            STEER: 1 or 0, the lambda steered or fixed)
//
// Both sides are timed as whole processes (start, read the BMP, encode, write the JPEG, exit):
// the comparison starts `bench_jpeg --encode` for ours and `cjpeg` for the reference, the same
// way, in interleaved rounds, and takes the medians of wall time and of CPU time over RUNS rounds.
// PSNR is measured over R, G and B against the source BMP, decoding both outputs with libjpeg.
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
#include <string>
#include <vector>

#include <jpeglib.h>  // after <cstdio>: it needs FILE and size_t

#include "wexbury/bmp_reader.h"
#include "wexbury/save_jpeg.h"

#include "bench/bench_process.h"

namespace {

using bench::Median;
using bench::RunProcess;
using bench::Timing;

long FileSize(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return -1;
    std::fseek(f, 0, SEEK_END);
    const long n = std::ftell(f);
    std::fclose(f);
    return n;
}

// Decodes a JPEG file to RGB with libjpeg.
bool DecodeJpeg(const std::string& path, int& w, int& h, std::vector<uint8_t>& rgb) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    w = int(cinfo.output_width);
    h = int(cinfo.output_height);
    rgb.resize(size_t(w) * h * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = rgb.data() + size_t(cinfo.output_scanline) * w * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
    return true;
}

double Psnr(const wexbury::RgbImage& source, const std::string& jpegPath) {
    int w, h;
    std::vector<uint8_t> rgb;
    if (!DecodeJpeg(jpegPath, w, h, rgb) || w != source.width || h != source.height) return -1;
    double sum = 0;
    for (int y = 0; y < h; ++y) {
        const uint8_t* s = source.Row(y);  // blue, green, red
        const uint8_t* d = rgb.data() + size_t(y) * w * 3;
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                const double e = double(s[3 * x + 2 - c]) - d[3 * x + c];
                sum += e * e;
            }
    }
    const double mse = sum / (double(w) * h * 3);
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

struct Variant {
    const char* name;
    bool ours;
    std::vector<std::string> options;  // cjpeg switches, or our four arguments after quality
};

struct Result {
    double wallMps = 0, cpuMps = 0;
    long bytes = 0;
    double psnr = 0;
};

std::vector<std::string> Command(const Variant& v, const std::string& self, const std::string& bmp,
                                 const std::string& out, int quality) {
    std::vector<std::string> args;
    if (v.ours) {
        args = {self, "--encode", bmp, out, std::to_string(quality)};
        args.insert(args.end(), v.options.begin(), v.options.end());
    } else {
        args = {"cjpeg", "-quality", std::to_string(quality)};
        args.insert(args.end(), v.options.begin(), v.options.end());
        args.insert(args.end(), {"-outfile", out, bmp});
    }
    return args;
}

// Runs every variant once per round, round after round, so that whatever else the machine is
// doing falls on all of them alike; then takes the medians.
std::vector<Result> MeasureAll(const std::vector<Variant>& variants, const std::string& self,
                               const std::string& bmp, int quality, const wexbury::RgbImage& source,
                               int runs) {
    const double megapixels = double(source.width) * source.height / 1e6;
    std::vector<std::vector<double>> wall(variants.size()), cpu(variants.size());
    for (int round = -1; round < runs; ++round) {  // round -1 warms the page cache
        for (size_t i = 0; i < variants.size(); ++i) {
            const Timing t =
                RunProcess(Command(variants[i], self, bmp, "/tmp/bench_jpeg_out.jpg", quality));
            if (round >= 0) {
                wall[i].push_back(t.wall);
                cpu[i].push_back(t.cpu);
            }
        }
    }
    std::vector<Result> results(variants.size());
    for (size_t i = 0; i < variants.size(); ++i) {
        const std::string out = "/tmp/bench_jpeg_out.jpg";
        RunProcess(Command(variants[i], self, bmp, out, quality));
        results[i].wallMps = megapixels / Median(wall[i]);
        results[i].cpuMps = megapixels / Median(cpu[i]);
        results[i].bytes = FileSize(out);
        results[i].psnr = Psnr(source, out);
        std::remove(out.c_str());
    }
    return results;
}

int Encode(int argc, char** argv) {
    if (argc < 8 || argc > 11) return 2;
    wexbury::JpegOptions options = wexbury::OptionsFromCallArguments(
        std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7]));
    if (argc >= 9) options.rateDistortionLambda = float(std::atof(argv[8]));
    if (argc >= 10) options.fitChroma = std::atoi(argv[9]) != 0;
    if (argc >= 11) options.steerLambda = std::atoi(argv[10]) != 0;
    return wexbury::SaveBmpAsJpeg(argv[2], argv[3], options) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--encode") == 0) return Encode(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_jpeg IMAGE_DIR [RUNS]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const int runs = argc >= 3 ? std::atoi(argv[2]) : 7;
    const std::string self = "/proc/self/exe";
    char selfPath[4096];
    const ssize_t n = readlink(self.c_str(), selfPath, sizeof selfPath - 1);
    if (n <= 0) return 2;
    selfPath[n] = 0;

    const char* images[] = {"ui1_notepad_regedit_1920x1080", "ui2_wordpad_console_1920x1080",
                            "ui3_explorer_notepad_1920x1080", "ui4k_desktop_3840x2160",
                            "photo1_1920x1080"};
    // Beside the writer as shipped, what it costs to choose the lambda for each picture: the
    // same coding with the lambda held at the least, with and without the chroma fit.
    char held[32];
    std::snprintf(held, sizeof held, "%g", double(wexbury::kDefaultLambdaScale));
    const std::vector<Variant> variants = {
        {"cjpeg", false, {}},
        {"cjpeg -optimize", false, {"-optimize"}},
        {"ours baseline", true, {"0", "0", "0"}},
        {"ours, lambda held", true, {"0", "0", "0", held, "1", "0"}},
        {"ours, lambda held, no fit", true, {"0", "0", "0", held, "0", "0"}},
        {"cjpeg -progressive", false, {"-progressive"}},
        {"ours progressive", true, {"1", "0", "0"}},
    };
    std::printf(
        "Whole process (start, read BMP, encode, write JPEG, exit), median of %d "
        "interleaved runs: MP/s by wall time and by CPU time (user + system). PSNR over "
        "R, G, B against the BMP, outputs decoded with libjpeg.\n\n",
        runs);
    for (int quality : {75, 90}) {
        std::printf("### quality %d\n\n", quality);
        std::printf(
            "| image | encoder | MP/s wall | MP/s CPU | bytes | PSNR dB |\n"
            "|---|---|---|---|---|---|\n");
        for (const char* name : images) {
            const std::string bmp = dir + "/" + name + ".bmp";
            wexbury::RgbImage source;
            if (wexbury::ReadBmpFile(bmp.c_str(), source) != wexbury::BmpError::None) {
                std::fprintf(stderr, "cannot read %s\n", bmp.c_str());
                return 2;
            }
            const std::vector<Result> results =
                MeasureAll(variants, selfPath, bmp, quality, source, runs);
            for (size_t i = 0; i < variants.size(); ++i)
                std::printf("| %s | %s | %.1f | %.1f | %ld | %.3f |\n", name, variants[i].name,
                            results[i].wallMps, results[i].cpuMps, results[i].bytes,
                            results[i].psnr);
            std::fflush(stdout);
        }
        std::printf("\n");
    }
    return 0;
}
