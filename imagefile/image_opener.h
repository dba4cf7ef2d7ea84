#pragma once
// Opening image files into the view: the File > Open command and the history list's requests.
// A decoded file becomes the view's image exactly as a capture does (full size, zoom 100 %, no
// selection, a new edit history); a file that does not decode leaves the current image as it was.
#include <string>

#include "imagefile/open_image_file.h"

class CKelvane101View;

class ImageOpener {
public:
    explicit ImageOpener(CKelvane101View& view) : view(view) {}

    // True only while the Open dialog is up: a second Open command meanwhile does nothing.
    bool openDialogActive = false;

    // Command 32774: the Open dialog, then the chosen file.
    void OnFileOpenImage();
    // A history row asked for `path`. A file that cannot be opened is reported and, when the
    // request came from the history list, its selected row is removed; a file that is there but
    // cannot be decoded is reported and keeps its row.
    void OpenFromHistory(const std::string& path, bool fromHistoryList);
    // Puts the view into the state of a new image after a successful decode.
    void ShowLoadedImage();

private:
    // Which file could not be read, and why.
    void ReportUnreadable(const std::string& path, OpenImageStatus status);

    CKelvane101View& view;
};
