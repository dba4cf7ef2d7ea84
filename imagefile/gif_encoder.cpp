#include "imagefile/gif_encoder.h"

#include <cstdio>
#include <fstream>

#include "imagefile/gif_lzw_coder.h"

namespace {

void PutU16(std::vector<uint8_t>& out, unsigned value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

// Global colour table present, colour resolution and table size matching the depth, not sorted.
uint8_t ScreenPackedFields(int bitsPerPixel) { return bitsPerPixel == 8 ? 0xF7 : 0xB3; }

// Reads the headers first, then only the bytes they promise, so that a file claiming absurd sizes
// is refused before anything of that size is allocated. Bytes past the last row are not read.
PaletteBmpStatus ReadBmpFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return PaletteBmpStatus::Malformed;
    in.seekg(0, std::ios::end);
    const std::streamoff fileSize = in.tellg();
    in.seekg(0, std::ios::beg);
    if (!in || fileSize < std::streamoff(kBmpHeadersSize)) return PaletteBmpStatus::Malformed;

    bytes.resize(kBmpHeadersSize);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(kBmpHeadersSize)))
        return PaletteBmpStatus::Malformed;
    const PaletteBmpLayout layout = ReadPaletteBmpLayout(bytes.data());
    if (!layout.supportedDepth) return PaletteBmpStatus::OtherDepth;
    if (!layout.FitsIn(uint64_t(fileSize))) return PaletteBmpStatus::Malformed;

    bytes.resize(size_t(layout.fileSize));
    const std::streamsize rest = std::streamsize(layout.fileSize - kBmpHeadersSize);
    if (!in.read(reinterpret_cast<char*>(bytes.data() + kBmpHeadersSize), rest))
        return PaletteBmpStatus::Malformed;  // the file shrank while we read it
    return PaletteBmpStatus::Ok;
}

// The GIF is built whole in memory first, so a failed encode never leaves half a file; a failed
// write removes what it began.
void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out && !bytes.empty())
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (out.fail()) std::remove(path.c_str());
}

}  // namespace

std::vector<uint8_t> EncodeGif(const PaletteImage& image) {
    const size_t colorCount = image.palette.size();
    std::vector<uint8_t> gif;
    gif.reserve(13 + 3 * colorCount + 11 + image.indices.size() / 8 + 64);

    for (const char* c = "GIF89a"; *c; ++c) gif.push_back(uint8_t(*c));
    PutU16(gif, unsigned(image.width));  // logical screen
    PutU16(gif, unsigned(image.height));
    gif.push_back(ScreenPackedFields(image.bitsPerPixel));
    gif.push_back(0);  // background colour index
    gif.push_back(0);  // pixel aspect ratio
    for (const PaletteColor& color : image.palette) {
        gif.push_back(color.red);
        gif.push_back(color.green);
        gif.push_back(color.blue);
    }

    gif.push_back(0x2C);  // image separator
    PutU16(gif, 0);       // left
    PutU16(gif, 0);       // top
    PutU16(gif, unsigned(image.width));
    PutU16(gif, unsigned(image.height));
    gif.push_back(0);  // no local colour table, not interlaced

    AppendGifImageData(image.indices.data(), image.indices.size(), image.bitsPerPixel, gif);
    gif.push_back(0x3B);  // trailer
    return gif;
}

PaletteBmpStatus EncodeGifFromBmpBytes(const uint8_t* bmp, size_t size, std::vector<uint8_t>& gif) {
    PaletteImage image;
    const PaletteBmpStatus status = ReadPaletteBmp(bmp, size, image);
    if (status == PaletteBmpStatus::Ok) gif = EncodeGif(image);
    return status;
}

// The input is examined before the destination is touched, so that only a readable palette BMP
// produces a GIF. An input of another depth still leaves an empty file, as GIF saves always have;
// an input that cannot be read leaves no file (an earlier file of that name is removed too, so no
// stale picture stands where this save was recorded).
void EncodeGifFromBmp(std::string bmpPath, std::string gifPath) {
    PaletteImage image;
    PaletteBmpStatus status;
    {
        std::vector<uint8_t> bmp;
        status = ReadBmpFile(bmpPath, bmp);
        if (status == PaletteBmpStatus::Ok) status = ReadPaletteBmp(bmp.data(), bmp.size(), image);
    }  // the file's bytes are freed before the GIF is built
    switch (status) {
        case PaletteBmpStatus::Ok: WriteWholeFile(gifPath, EncodeGif(image)); break;
        case PaletteBmpStatus::OtherDepth: WriteWholeFile(gifPath, {}); break;
        case PaletteBmpStatus::Malformed: std::remove(gifPath.c_str()); break;
    }
}
