#pragma once
// The call into the JPEG writer library Wexbury.dll, loaded from the program's folder for each save.
#include <string>

struct JpegOptions {
    int quality = 75;  // 0 to 100
    int progressive = 0;
    int grayscale = 0;
    int smoothing = 0;
};

enum class JpegCallResult { kLibraryMissing, kExportMissing, kCalled };

// Converts the BMP at `bmpPath` into the JPEG at `jpegPath` through the library file `library` in
// the program's folder (never looked up anywhere else). A missing library or export is told to
// the user ("not found dll!", "can't find procedure!") unless `quiet`.
JpegCallResult CallJpegWriter(const std::string& bmpPath, const std::string& jpegPath,
                              const JpegOptions& options, bool quiet, const char* library = "Wexbury.dll");
