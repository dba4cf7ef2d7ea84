#include "imagefile/png_clipboard.h"

#include <cstring>
#include <vector>

#include "imagefile/png_file_writer.h"

UINT PngClipboardFormat() { return ::RegisterClipboardFormatA("PNG"); }

void OfferPngOnClipboard(HBITMAP bitmap) {
    const UINT format = PngClipboardFormat();
    if (!format) return;
    // Every copy pays for this encoding, so it takes zlib's quickest level: a paste wants the
    // pixels, not the smallest file.
    PngEncoder::Options quick;
    quick.compressionLevel = 1;
    const std::vector<uint8_t> file = PngFileWriter::EncodeBitmap(bitmap, quick);
    if (file.empty()) return;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, file.size());
    void* bytes = block ? ::GlobalLock(block) : nullptr;
    if (!bytes) {
        if (block) ::GlobalFree(block);
        return;
    }
    std::memcpy(bytes, file.data(), file.size());
    ::GlobalUnlock(block);
    // The clipboard owns the block once it takes it.
    if (!::SetClipboardData(format, block)) ::GlobalFree(block);
}
