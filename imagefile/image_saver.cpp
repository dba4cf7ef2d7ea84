#include "imagefile/image_saver.h"

#include <windows.h>

#include "app/kelvane101_view.h"
#include "app/main_frame.h"
#include "app/message_caption.h"
#include "capture/foreground.h"
#include "imagefile/bmp_writer.h"
#include "imagefile/gif_encoder.h"
#include "imagefile/png_file_writer.h"
#include "imagefile/save_dialogs.h"
#include "imagefile/save_naming.h"
#include "res/resource.h"

namespace {

const char kFilter[] = "BMP-Bitmap(*.bmp)|*.bmp|JPG-JPEG(*.jpg) |*.jpg|GIF-Gif(*.gif)|*.gif|PNG(*.png)|*.png||";

bool FileHasContent(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
           !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (data.nFileSizeLow || data.nFileSizeHigh);
}

bool PathExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Makes the save folder and any missing parents, so a first automatic save never fails for want
// of a folder.
void CreateFolders(const std::string& folder) {
    for (const std::string& f : SaveNaming::FoldersToCreate(folder)) ::CreateDirectoryA(f.c_str(), nullptr);
}

JpegOptions StoredJpegOptions(const CaptureSettings& s) {
    return {s.jpegQuality, s.jpegProgressive, s.jpegGrayscale, s.jpegSmoothing};
}

}  // namespace

bool ImageSaver::WriteImage(Source source, int format, const std::string& path, const JpegOptions& jpeg,
                            bool quiet) {
    // Until the view paints a direct grab, the image exists only as its packed DIB.
    if (source == Source::kImageBitmap && !view.imageBitmap.GetSafeHandle() && view.pendingDib)
        source = Source::kPendingDib;
    HBITMAP bitmap = static_cast<HBITMAP>(view.imageBitmap.GetSafeHandle());
    HGLOBAL dib = view.pendingDib.Get();
    bool fromDib = source == Source::kPendingDib;
    const std::string& temp = view.tempBitmapPath;
    switch (format) {
    case SaveNaming::kBmp:
        return fromDib ? BmpWriter::WriteDibAsBmp(path, dib)
                       : BmpWriter::WriteBitmapAsBmp(bitmap, path, BmpWriter::DisplayDepth());
    case SaveNaming::kJpeg: {
        bool written = fromDib ? BmpWriter::WriteDibAsBmp(temp, dib)
                               : BmpWriter::WriteBitmapAsBmp(bitmap, temp, BmpWriter::DisplayDepth());
        if (!written) return false;
        ::DeleteFileA(path.c_str());  // so that only a file the library really wrote counts
        return CallJpegWriter(temp, path, jpeg, quiet) == JpegCallResult::kCalled && FileHasContent(path);
    }
    case SaveNaming::kGif: {
        // Our own 8-bit conversion: the image's own colours when it has no more than 256.
        bool written = fromDib ? BmpWriter::WriteDibAsIndexedBmp(dib, temp)
                               : BmpWriter::WriteBitmapAsIndexedBmp(bitmap, temp);
        if (!written) return false;
        ::DeleteFileA(path.c_str());
        EncodeGifFromBmp(temp, path);
        return FileHasContent(path);
    }
    case SaveNaming::kPng:
        return fromDib ? PngFileWriter::WriteDib(dib, path) : PngFileWriter::WriteBitmap(bitmap, path);
    default:
        return false;
    }
}

void ImageSaver::ReportFailure(const std::string& path, bool quiet) {
    if (quiet) {
        ::MessageBeep(0xFFFFFFFF);
        return;
    }
    std::string text = "The image could not be saved to\n" + path;
    ::MessageBoxA(view.MainFrame() ? view.MainFrame()->m_hWnd : nullptr, text.c_str(), kMessageCaption,
                  MB_OK | MB_ICONEXCLAMATION);
}

void ImageSaver::OnFileSaveAs() {
    if (!view.hasImage) return;
    CaptureSettings& settings = view.settings;
    CMyFileDialog dialog(false, "", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFilter, view.MainFrame(),
                         settings.fileFormat + 1);
    dialog.format = settings.fileFormat;
    dialog.quality = settings.jpegQuality;
    dialog.grayscale = settings.jpegGrayscale;
    dialog.smoothing = settings.jpegSmoothing;
    dialog.progressive = settings.jpegProgressive;
    if (dialog.DoModal() != IDOK) return;

    settings.fileFormat = dialog.format;
    // The type selected decides the format, whatever extension was typed; a name typed without
    // any extension gets the type's own.
    std::string path = dialog.GetPathName();
    if (!SaveNaming::HasExtension(path)) path += SaveNaming::ExtensionOf(settings.fileFormat);
    std::string name = SaveNaming::TitleOf(path) + SaveNaming::ExtensionOf(settings.fileFormat);
    if (settings.fileFormat == SaveNaming::kJpeg) {
        // The options of "Setting" reach the settings only with a JPEG save.
        settings.jpegQuality = dialog.quality;
        settings.jpegGrayscale = dialog.grayscale;
        settings.jpegSmoothing = dialog.smoothing;
        settings.jpegProgressive = dialog.progressive;
    }
    if (settings.fileFormat < SaveNaming::kBmp || settings.fileFormat > SaveNaming::kPng) return;

    if (WriteImage(Source::kImageBitmap, settings.fileFormat, path, StoredJpegOptions(settings), false))
        view.AddHistoryEntry(name, path);
    else
        ReportFailure(path, false);
}

void ImageSaver::SaveAfterCapture() {
    switch (view.settings.saveMode) {
    case 1:
        if (!view.settings.showEditor && view.MainFrame()) ForceForeground(view.MainFrame()->m_hWnd);
        view.SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
        break;
    case 2:
        AutoSave(Source::kImageBitmap);
        break;
    default:
        break;
    }
}

void ImageSaver::AutoSaveDib() { AutoSave(Source::kPendingDib); }

void ImageSaver::AutoSave(Source source) {
    CaptureSettings& settings = view.settings;
    int format = settings.fileFormat;
    if (format < SaveNaming::kBmp || format > SaveNaming::kPng) {
        settings.nextNumber = SaveNaming::NextNumber(settings.nextNumber);  // the number moves on all the same
        return;
    }
    const std::string extension = SaveNaming::ExtensionOf(format);
    // An earlier capture is never overwritten: a counter set back, or one that started again at 1,
    // skips the names already taken. The number moves on before anything is written.
    SaveNaming::FreeAutoName name = SaveNaming::FirstFreeAutoSaveName(
        settings.saveDirectory, settings.baseName, extension, settings.nextNumber, PathExists);
    settings.nextNumber = name.nextNumber;

    bool quiet = source == Source::kPendingDib;
    std::string path = name.name.path + extension;
    CreateFolders(settings.saveDirectory);
    if (name.found && WriteImage(source, format, path, StoredJpegOptions(settings), quiet))
        view.AddHistoryEntry(name.name.entryName + extension, path);
    else
        ReportFailure(path, quiet);
}
