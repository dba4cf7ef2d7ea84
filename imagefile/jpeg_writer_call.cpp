#include "imagefile/jpeg_writer_call.h"

#include <windows.h>

#include "app/message_caption.h"
#include "app/program_folder.h"

namespace {

// savejpeg(bmpPath, jpegPath, quality, progressive, grayscale, smoothing): cdecl, six 32-bit
// arguments; the flags are bytes passed in full slots.
using SaveJpeg = int(__cdecl*)(const char*, const char*, int, int, int, int);

void Tell(const char* text, bool quiet) {
    if (!quiet) ::MessageBoxA(nullptr, text, kMessageCaption, MB_OK | MB_ICONINFORMATION);
}

}  // namespace

JpegCallResult CallJpegWriter(const std::string& bmpPath, const std::string& jpegPath,
                              const JpegOptions& options, bool quiet, const char* libraryName) {
    // By its full path beside the program: never a file of that name in the current folder or on PATH.
    HMODULE library = ::LoadLibraryA(BesideProgram(libraryName).c_str());
    if (!library) {
        Tell("not found dll!", quiet);
        return JpegCallResult::kLibraryMissing;
    }
    auto saveJpeg = reinterpret_cast<SaveJpeg>(::GetProcAddress(library, "savejpeg"));
    JpegCallResult result = JpegCallResult::kCalled;
    if (!saveJpeg) {
        Tell("can't find procedure!", quiet);
        result = JpegCallResult::kExportMissing;
    } else {
        saveJpeg(bmpPath.c_str(), jpegPath.c_str(), options.quality, options.progressive & 0xFF,
                 options.grayscale & 0xFF, options.smoothing & 0xFF);
    }
    ::FreeLibrary(library);
    return result;
}
