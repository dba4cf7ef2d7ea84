#include "imagefile/image_opener.h"

#include <windows.h>

#include "app/kelvane101_view.h"
#include "app/main_frame.h"
#include "app/message_caption.h"
#include "capture/foreground.h"
#include "imagefile/image_open_filter.h"

namespace {


HWND Owner(CKelvane101View& view) {
    CMainFrame* frame = view.MainFrame();
    return frame ? frame->m_hWnd : view.m_hWnd;
}

}  // namespace

void ImageOpener::OnFileOpenImage() {
    if (openDialogActive) return;
    openDialogActive = true;
    // A typed name need not exist: a missing file simply changes nothing.
    CFileDialog dialog(true, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kImageOpenFilter,
                       view.MainFrame());
    if (dialog.DoModal() == IDOK) {
        const std::string path = dialog.GetPathName();
        const OpenImageStatus status = OpenImageFile(path, view.imageBitmap);
        if (status == OpenImageStatus::kOpened) ShowLoadedImage();
        else if (status != OpenImageStatus::kCannotOpen) ReportUnreadable(path, status);
    }
    openDialogActive = false;
}

void ImageOpener::OpenFromHistory(const std::string& path, bool fromHistoryList) {
    const OpenImageStatus status = OpenImageFile(path, view.imageBitmap);
    if (status == OpenImageStatus::kOpened) {
        ShowLoadedImage();
        return;
    }
    if (status != OpenImageStatus::kCannotOpen) {
        // The file is there but cannot be shown: say why, and keep its row, so that the user can
        // still open it elsewhere or delete it through the list.
        ReportUnreadable(path, status);
        return;
    }
    ::MessageBoxA(Owner(view), "File doesn't exist! Delete this item!", kMessageCaption, MB_OK);
    // Only our own list's request names the selected row; another program's never removes one.
    CMainFrame* frame = view.MainFrame();
    if (!fromHistoryList || !frame) return;
    CHistoryListCtrl& list = frame->HistoryList();
    const int row = list.FirstSelectedRow();
    if (row >= 0) list.DeleteRow(row);
}

void ImageOpener::ShowLoadedImage() {
    view.display.displayBitmap.DeleteObject();
    view.pendingDib.Free();  // a direct grab not yet shown is no longer the image
    BITMAP image{};
    view.imageBitmap.GetBitmap(&image);
    view.SetScrollSizes(MM_TEXT, CSize(image.bmWidth, image.bmHeight));
    view.hasSelection = false;
    view.hasImage = true;
    view.zoomPercent = 100;
    view.StartHistory();

    CMainFrame* frame = view.MainFrame();
    if (frame && !frame->IsWindowVisible()) BringEditorForward(frame->m_hWnd);
    view.ShowImageStatus();
    view.Invalidate(true);
}

void ImageOpener::ReportUnreadable(const std::string& path, OpenImageStatus status) {
    std::string text = "Can't open the image file:\n" + path + "\n";
    if (status == OpenImageStatus::kTooLarge)
        text += "The picture is too large: at most 33,177,600 pixels (7680x4320) and 32767 pixels a side.";
    else
        text += "It is not a BMP, GIF, JPEG or PNG picture that can be read.";
    ::MessageBoxA(Owner(view), text.c_str(), kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
}
