#pragma once
// Helpers of the Wexbury tests: BMP files built byte by byte from the documented layout (so the
// reader is not checked against itself), and an independent decoder (libjpeg) for what we write.
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>  // after <cstdio>: it needs FILE and size_t

namespace wexbury_test {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// A picture in memory, top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    Rgb& At(int x, int y) { return pixels[size_t(y) * width + x]; }
    const Rgb& At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

// Smooth gradients with a few hard edges and some texture: a little of everything a screen has.
inline Picture TestPicture(int width, int height, unsigned seed = 1) {
    Picture p{width, height, std::vector<Rgb>(size_t(width) * height)};
    unsigned state = seed * 2654435761u + 1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int noise = int(state >> 28) - 8;
            const bool box = (x / 23 + y / 17) % 3 == 0;
            auto clamp = [](int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
            p.At(x, y) = box ? Rgb{240, 240, 235}
                             : Rgb{clamp(x * 255 / (width + 1) + noise),
                                   clamp(y * 255 / (height + 1) + noise), clamp(128 + noise)};
        }
    return p;
}

inline void Put16(std::vector<uint8_t>& f, size_t at, uint32_t v) {
    f[at] = uint8_t(v);
    f[at + 1] = uint8_t(v >> 8);
}
inline void Put32(std::vector<uint8_t>& f, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = uint8_t(v >> (8 * i));
}

// File header, 40-byte info header, colour table (2^bits entries for bits <= 8), rows padded to
// four bytes, bottom-up unless topDown (then the height is stored negative).
// For depths up to 8 the picture's colours index `palette`; otherwise they are stored directly,
// 16 bits as 5-5-5 and 32 bits as blue, green, red, 0.
inline std::vector<uint8_t> MakeBmp(const Picture& p, int bits,
                                    const std::vector<Rgb>& palette = {}, bool topDown = false) {
    const size_t tableBytes = bits <= 8 ? (size_t(1) << bits) * 4 : 0;
    const size_t stride = (size_t(p.width) * bits + 31) / 32 * 4;
    const size_t offBits = 54 + tableBytes;
    std::vector<uint8_t> f(offBits + stride * p.height, 0);
    f[0] = 'B';
    f[1] = 'M';
    Put32(f, 2, uint32_t(f.size()));
    Put32(f, 10, uint32_t(offBits));
    Put32(f, 14, 40);
    Put32(f, 18, uint32_t(p.width));
    Put32(f, 22, uint32_t(topDown ? -p.height : p.height));
    Put16(f, 26, 1);
    Put16(f, 28, uint32_t(bits));
    for (size_t i = 0; i < palette.size() && bits <= 8; ++i) {
        f[54 + 4 * i] = palette[i].b;
        f[54 + 4 * i + 1] = palette[i].g;
        f[54 + 4 * i + 2] = palette[i].r;
    }
    auto indexOf = [&](const Rgb& c) {
        for (size_t i = 0; i < palette.size(); ++i)
            if (palette[i] == c) return unsigned(i);
        return 0u;
    };
    for (int y = 0; y < p.height; ++y) {
        uint8_t* row = f.data() + offBits + stride * size_t(topDown ? y : p.height - 1 - y);
        for (int x = 0; x < p.width; ++x) {
            const Rgb& c = p.At(x, y);
            switch (bits) {
                case 1:
                case 4:
                case 8: {
                    const int perByte = 8 / bits;
                    row[x / perByte] |= uint8_t(indexOf(c) << (8 - bits * (x % perByte + 1)));
                    break;
                }
                case 16: {
                    const unsigned v = (c.r >> 3) << 10 | (c.g >> 3) << 5 | (c.b >> 3);
                    row[2 * x] = uint8_t(v);
                    row[2 * x + 1] = uint8_t(v >> 8);
                    break;
                }
                case 24:
                    row[3 * x] = c.b;
                    row[3 * x + 1] = c.g;
                    row[3 * x + 2] = c.r;
                    break;
                case 32:
                    row[4 * x] = c.b;
                    row[4 * x + 1] = c.g;
                    row[4 * x + 2] = c.r;
                    break;
            }
        }
    }
    return f;
}

struct DecodedJpeg {
    bool ok = false;
    int width = 0, height = 0, components = 0;
    bool progressive = false;
    Picture picture;  // grayscale decodes with r = g = b
};

// Decodes with libjpeg; a corrupt stream (any libjpeg error or warning) gives ok = false.
inline DecodedJpeg DecodeJpeg(const std::vector<uint8_t>& bytes) {
    struct Errors {
        jpeg_error_mgr mgr;
        std::jmp_buf jump;
    };
    DecodedJpeg out;
    jpeg_decompress_struct cinfo;
    Errors errors;
    cinfo.err = jpeg_std_error(&errors.mgr);
    errors.mgr.error_exit = [](j_common_ptr c) {
        std::longjmp(reinterpret_cast<Errors*>(c->err)->jump, 1);
    };
    errors.mgr.emit_message = [](j_common_ptr c, int level) {
        if (level < 0) std::longjmp(reinterpret_cast<Errors*>(c->err)->jump, 1);  // warnings too
    };
    std::vector<uint8_t> row;  // before the jump point: a longjmp back must not skip its destructor
    jpeg_create_decompress(&cinfo);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return DecodedJpeg{};
    }
    jpeg_mem_src(&cinfo, bytes.data(), (unsigned long)bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    out.components = cinfo.num_components;
    out.progressive = cinfo.progressive_mode;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    out.width = int(cinfo.output_width);
    out.height = int(cinfo.output_height);
    out.picture = Picture{out.width, out.height, std::vector<Rgb>(size_t(out.width) * out.height)};
    row.resize(size_t(out.width) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = int(cinfo.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&cinfo, rows, 1);
        for (int x = 0; x < out.width; ++x)
            out.picture.At(x, y) = Rgb{row[3 * x], row[3 * x + 1], row[3 * x + 2]};
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    out.ok = true;
    return out;
}

// Over all three channels; 99 for identical pictures.
inline double Psnr(const Picture& a, const Picture& b) {
    double sum = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        const Rgb &p = a.pixels[i], &q = b.pixels[i];
        sum += double(p.r - q.r) * (p.r - q.r) + double(p.g - q.g) * (p.g - q.g) +
               double(p.b - q.b) * (p.b - q.b);
    }
    const double mse = sum / (3.0 * double(a.pixels.size()));
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

inline Picture Luma(const Picture& p) {
    Picture g = p;
    for (Rgb& c : g.pixels) {
        const uint8_t y = uint8_t(0.299 * c.r + 0.587 * c.g + 0.114 * c.b + 0.5);
        c = Rgb{y, y, y};
    }
    return g;
}

// libjpeg's own encoder at the same settings: quality scaling, 4:2:0, optimised tables.
inline std::vector<uint8_t> EncodeWithLibjpeg(const Picture& p, int quality) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* mem = nullptr;
    unsigned long memSize = 0;
    jpeg_mem_dest(&cinfo, &mem, &memSize);
    cinfo.image_width = JDIMENSION(p.width);
    cinfo.image_height = JDIMENSION(p.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(size_t(p.width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < p.width; ++x) {
            const Rgb& c = p.At(x, int(cinfo.next_scanline));
            row[3 * x] = c.r, row[3 * x + 1] = c.g, row[3 * x + 2] = c.b;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> out(mem, mem + memSize);
    std::free(mem);
    jpeg_destroy_compress(&cinfo);
    return out;
}

inline std::vector<uint8_t> ReadFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        uint8_t buf[65536];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
        std::fclose(f);
    }
    return bytes;
}

inline bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

inline bool FileExists(const std::string& path) {
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fclose(f);
        return true;
    }
    return false;
}

}  // namespace wexbury_test
