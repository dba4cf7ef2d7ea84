// Wexbury.dll: the JPEG writer the capture program loads by name for each JPEG save.
//
//   int savejpeg(const char* bmpPath, const char* jpegPath, int quality,
//                int progressive, int grayscale, int smoothing);      cdecl, exported undecorated
//
// Synchronous: the JPEG file is complete when the call returns. Returns 1 when the file was
// written, 0 when it was not (unreadable or malformed BMP, out of memory, cannot write); in that
// case no JPEG file is left at jpegPath. The program itself ignores the result.
#include "wexbury/save_jpeg.h"

extern "C" __declspec(dllexport)
#if defined(__GNUC__) && defined(__i386__)
// The caller may hand over a stack aligned to 4 bytes only; the SSE2 code wants 16.
__attribute__((force_align_arg_pointer))
#endif
int __cdecl savejpeg(const char* bmpPath, const char* jpegPath, int quality, int progressive,
                     int grayscale, int smoothing) {
    const wexbury::JpegOptions options =
        wexbury::OptionsFromCallArguments(quality, progressive, grayscale, smoothing);
    return wexbury::SaveBmpAsJpeg(bmpPath, jpegPath, options) ? 1 : 0;
}
