#pragma once
// Writing the current image to disk: the Save As command, the save step after every capture
// (the same dialog, or an automatic save under a numbered name) and the automatic save of a
// direct grab. Every file that was really written gets a history row.
#include <string>

#include "imagefile/jpeg_writer_call.h"

class CKelvane101View;

class ImageSaver {
public:
    explicit ImageSaver(CKelvane101View& view) : view(view) {}

    void OnFileSaveAs();
    void SaveAfterCapture();
    void AutoSaveDib();

private:
    enum class Source { kImageBitmap, kPendingDib };

    // Saves the image under a generated, numbered name in the save folder.
    void AutoSave(Source source);
    // Writes the image from `source` as `format` to `path`; true when the file now holds it.
    // `quiet` (the direct grab) keeps every message box away.
    bool WriteImage(Source source, int format, const std::string& path, const JpegOptions& jpeg, bool quiet);
    void ReportFailure(const std::string& path, bool quiet);

    CKelvane101View& view;
};
