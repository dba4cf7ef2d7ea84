#include "imagefile/open_image_file.h"

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include "imagefile/image_file_check.h"
#include "imagefile/png_decoder.h"

namespace {

// The picture loader's decoders are COM objects: the thread must have joined COM once.
void JoinComOnce() {
    thread_local bool joined = false;
    if (joined) return;
    joined = true;
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // kept for the thread's life
}

OpenImageStatus FromVerdict(ImageFileCheck::Verdict verdict) {
    switch (verdict) {
    case ImageFileCheck::Verdict::kFits: return OpenImageStatus::kOpened;
    case ImageFileCheck::Verdict::kTooLarge: return OpenImageStatus::kTooLarge;
    default: return OpenImageStatus::kNotAnImage;
    }
}

// Reads the whole file into a movable block; on success `block` holds `size` bytes.
OpenImageStatus ReadWholeFile(const std::string& path, HGLOBAL& block, size_t& size) {
    // Others may read, and even write, while we read: a picture a viewer or an editor holds open
    // is still shown. A file that changes under us fails the length or header checks below.
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return OpenImageStatus::kCannotOpen;
    LARGE_INTEGER length{};
    OpenImageStatus status = OpenImageStatus::kOpened;
    block = nullptr;
    if (!::GetFileSizeEx(file, &length) || length.QuadPart <= 0) {
        status = OpenImageStatus::kNotAnImage;
    } else if (uint64_t(length.QuadPart) > ImageFileCheck::kMaxFileBytes) {
        status = OpenImageStatus::kTooLarge;
    } else {
        size = static_cast<size_t>(length.QuadPart);
        block = ::GlobalAlloc(GMEM_MOVEABLE, size);
        if (!block) status = OpenImageStatus::kTooLarge;
    }
    if (block) {
        auto* bytes = static_cast<char*>(::GlobalLock(block));
        size_t total = 0;
        DWORD got = 0;
        while (bytes && total < size &&
               ::ReadFile(file, bytes + total, static_cast<DWORD>(size - total), &got, nullptr) && got > 0)
            total += got;
        if (bytes) ::GlobalUnlock(block);
        if (total != size) {
            ::GlobalFree(block);
            block = nullptr;
            status = OpenImageStatus::kNotAnImage;
        }
    }
    ::CloseHandle(file);
    return status;
}

OpenImageStatus CheckHeaders(HGLOBAL block, size_t size, ImageFileCheck::Kind& kind) {
    const auto* bytes = static_cast<const uint8_t*>(::GlobalLock(block));
    if (!bytes) return OpenImageStatus::kNotAnImage;
    const ImageFileCheck::Result result = ImageFileCheck::Check(bytes, size);
    ::GlobalUnlock(block);
    kind = result.kind;
    return FromVerdict(result.verdict);
}

// A copy of `source` in the display's format, so the picture object can go.
OpenImageStatus CopyToScreenBitmap(HBITMAP source, int width, int height, HBITMAP& copy) {
    HDC screen = ::GetDC(nullptr);
    copy = ::CreateCompatibleBitmap(screen, width, height);
    OpenImageStatus status = copy ? OpenImageStatus::kOpened : OpenImageStatus::kTooLarge;
    if (copy) {
        HDC from = ::CreateCompatibleDC(screen), to = ::CreateCompatibleDC(screen);
        HGDIOBJ oldFrom = ::SelectObject(from, source), oldTo = ::SelectObject(to, copy);
        if (!::BitBlt(to, 0, 0, width, height, from, 0, 0, SRCCOPY)) status = OpenImageStatus::kTooLarge;
        ::SelectObject(from, oldFrom);
        ::SelectObject(to, oldTo);
        ::DeleteDC(from);
        ::DeleteDC(to);
        if (status != OpenImageStatus::kOpened) {
            ::DeleteObject(copy);
            copy = nullptr;
        }
    }
    ::ReleaseDC(nullptr, screen);
    return status;
}

// PNG is ours to decode (the system's picture loader knows only BMP, GIF and JPEG): its 32-bit
// pixels go straight into a bitmap in the display's format.
OpenImageStatus DecodePng(HGLOBAL block, size_t size, HBITMAP& bitmap) {
    PngDecoder::Image image;
    PngDecoder::Status decoded = PngDecoder::Status::kNotPng;
    if (const auto* bytes = static_cast<const uint8_t*>(::GlobalLock(block))) {
        decoded = PngDecoder::Decode(bytes, size, image);
        ::GlobalUnlock(block);
    }
    ::GlobalFree(block);  // the file's bytes are no longer needed beside the pixels
    if (decoded == PngDecoder::Status::kTooLarge) return OpenImageStatus::kTooLarge;
    if (decoded != PngDecoder::Status::kDecoded) return OpenImageStatus::kNotAnImage;

    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), image.width, -image.height, 1, 32, BI_RGB};
    HDC screen = ::GetDC(nullptr);
    bitmap = ::CreateCompatibleBitmap(screen, image.width, image.height);
    OpenImageStatus status = bitmap ? OpenImageStatus::kOpened : OpenImageStatus::kTooLarge;
    if (bitmap && ::SetDIBits(screen, bitmap, 0, UINT(image.height), image.pixels.data(), &info, DIB_RGB_COLORS) !=
                      image.height) {
        ::DeleteObject(bitmap);
        bitmap = nullptr;
        status = OpenImageStatus::kTooLarge;
    }
    ::ReleaseDC(nullptr, screen);
    return status;
}

}  // namespace

OpenImageStatus OpenImageFile(const std::string& path, CBitmap& bitmap) {
    HGLOBAL block = nullptr;
    size_t size = 0;
    OpenImageStatus status = ReadWholeFile(path, block, size);
    if (status != OpenImageStatus::kOpened) return status;
    // The headers are checked before any decoder sees the file: a picture too large to hold is
    // refused without ever being allocated.
    ImageFileCheck::Kind kind = ImageFileCheck::Kind::kUnknown;
    status = CheckHeaders(block, size, kind);
    if (status != OpenImageStatus::kOpened) {
        ::GlobalFree(block);
        return status;
    }
    if (kind == ImageFileCheck::Kind::kPng) {
        HBITMAP decoded = nullptr;
        status = DecodePng(block, size, decoded);
        if (decoded) bitmap.Attach(decoded);  // the previous image goes only now
        return status;
    }

    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream))) {  // the stream frees the block
        ::GlobalFree(block);
        return OpenImageStatus::kNotAnImage;
    }
    JoinComOnce();
    IPicture* picture = nullptr;
    HRESULT loaded = ::OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                      reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(loaded) || !picture) return OpenImageStatus::kNotAnImage;

    status = OpenImageStatus::kNotAnImage;
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    BITMAP image{};
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(picture->get_Handle(&handle))) {
        HBITMAP decoded = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
        if (::GetObjectA(decoded, sizeof image, &image) == sizeof image) {
            HBITMAP copy = nullptr;
            status = ImageFileCheck::FitsLimits(image.bmWidth, image.bmHeight)
                         ? CopyToScreenBitmap(decoded, image.bmWidth, image.bmHeight, copy)
                         : OpenImageStatus::kTooLarge;
            if (copy) bitmap.Attach(copy);  // the previous image goes only now
        }
    }
    picture->Release();
    return status;
}
