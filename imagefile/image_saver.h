#pragma once
// Writing the current image to disk: the Save As command, the save step after every capture
// (the same dialog, or an automatic save under a numbered name) and the automatic save of a
// direct grab. Every file that was really written gets a history row.
#include <windows.h>

#include <string>

#include "imagefile/jpeg_writer_call.h"

class CKelvane101View;

class ImageSaver {
public:
    explicit ImageSaver(CKelvane101View& view) : view(view) {}

    void OnFileSaveAs();
    void SaveAfterCapture();
    void AutoSaveDib();

    // What a save writes: a device-dependent bitmap, or a direct grab's packed DIB when `dib` is set.
    struct Image {
        HBITMAP bitmap = nullptr;
        HGLOBAL dib = nullptr;
    };
    enum class Outcome {
        kSaved,
        kFailed,   // nothing usable was written; an earlier file of that name is as it was
        kRefused,  // the format cannot hold this image; the user has been told (unless quiet)
    };
    // The one way every format reaches the disk: the file is written beside `path` and moves over
    // it only when complete. `scratchFolder` holds the short-lived BMP the JPEG library reads.
    // `quiet` (the direct grab) keeps every message box away.
    static Outcome WriteImage(const Image& image, int format, const std::string& path, const JpegOptions& jpeg,
                              bool quiet, const std::string& scratchFolder);

private:
    enum class Source { kImageBitmap, kPendingDib };

    // Saves the image under a generated, numbered name in the save folder.
    void AutoSave(Source source);
    // Writes the view's image from `source`; true when `path` now holds it. A failure is reported.
    bool Save(Source source, int format, const std::string& path, const JpegOptions& jpeg, bool quiet);
    void ReportFailure(const std::string& path, bool quiet);

    CKelvane101View& view;
};
