#include "imagefile/image_saver.h"

#include <windows.h>

#include "app/kelvane101_view.h"
#include "app/main_frame.h"
#include "app/message_caption.h"
#include "capture/foreground.h"
#include "imagefile/bmp_writer.h"
#include "imagefile/gif_from_pixels.h"
#include "imagefile/png_file_writer.h"
#include "imagefile/replacing_save.h"
#include "imagefile/save_dialogs.h"
#include "imagefile/save_naming.h"
#include "res/resource.h"

namespace {

const char kFilter[] = "BMP-Bitmap(*.bmp)|*.bmp|JPG-JPEG(*.jpg) |*.jpg|GIF-Gif(*.gif)|*.gif|PNG(*.png)|*.png||";

bool PathExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Makes the save folder and any missing parents, so a first automatic save never fails for want
// of a folder.
void CreateFolders(const std::string& folder) {
    for (const std::string& f : SaveNaming::FoldersToCreate(folder)) ::CreateDirectoryA(f.c_str(), nullptr);
}

JpegOptions StoredJpegOptions(const CaptureSettings& s) {
    return {s.jpegQuality, s.jpegProgressive, s.jpegGrayscale, s.jpegSmoothing};
}

bool ImageSize(const ImageSaver::Image& image, int& width, int& height) {
    if (image.dib) return BmpWriter::SizeOfDib(image.dib, width, height);
    BITMAP bm{};
    if (!image.bitmap || !::GetObjectA(image.bitmap, sizeof bm, &bm)) return false;
    width = bm.bmWidth;
    height = bm.bmHeight;
    return true;
}

void TellTooLargeForGif(int width, int height, bool quiet) {
    if (quiet) {
        ::MessageBeep(0xFFFFFFFF);
        return;
    }
    ::MessageBoxA(::GetActiveWindow(), GifTooLargeMessage(width, height).c_str(), kMessageCaption,
                  MB_OK | MB_ICONEXCLAMATION);
}

// The JPEG library reads a BMP file: a copy of the image under a unique name in `scratchFolder`,
// gone again when the call returns, whatever it did.
bool WriteJpeg(const ImageSaver::Image& image, const std::string& jpegPath, const JpegOptions& jpeg, bool quiet,
               const std::string& scratchFolder) {
    TemporaryFile bmp(scratchFolder, "tsc");
    if (!bmp.Made()) return false;
    bool written = image.dib ? BmpWriter::WriteDibAsBmp(bmp.Path(), image.dib)
                             : BmpWriter::WriteBitmapAsBmp(image.bitmap, bmp.Path(), BmpWriter::DisplayDepth());
    return written && CallJpegWriter(bmp.Path(), jpegPath, jpeg, quiet) == JpegCallResult::kCalled;
}

// The palette and the GIF are made from the pixels in memory; only the finished file is written.
bool WriteGif(const ImageSaver::Image& image, const std::string& gifPath) {
    int width = 0, height = 0;
    std::vector<uint8_t> gif;
    {
        std::vector<uint8_t> pixels = image.dib ? BmpWriter::Pixels32OfDib(image.dib, width, height)
                                                : BmpWriter::Pixels32OfBitmap(image.bitmap, width, height);
        if (pixels.empty()) return false;
        gif = EncodeGifFromPixels(pixels.data(), width, height, size_t(width) * 4);
    }  // the pixels go before the file is written
    return !gif.empty() && WriteFileBytes(gifPath, gif.data(), gif.size());
}

}  // namespace

ImageSaver::Outcome ImageSaver::WriteImage(const Image& image, int format, const std::string& path,
                                           const JpegOptions& jpeg, bool quiet, const std::string& scratchFolder) {
    if (format == SaveNaming::kGif) {
        int width = 0, height = 0;
        if (ImageSize(image, width, height) && !GifCanHold(width, height)) {
            TellTooLargeForGif(width, height, quiet);
            return Outcome::kRefused;
        }
    }
    ReplacingSave file(path);
    if (!file.Ready()) return Outcome::kFailed;
    const std::string& temporary = file.TemporaryPath();
    bool written = false;
    switch (format) {
    case SaveNaming::kBmp:
        written = image.dib ? BmpWriter::WriteDibAsBmp(temporary, image.dib)
                            : BmpWriter::WriteBitmapAsBmp(image.bitmap, temporary, BmpWriter::DisplayDepth());
        break;
    case SaveNaming::kJpeg:
        written = WriteJpeg(image, temporary, jpeg, quiet, scratchFolder);
        break;
    case SaveNaming::kGif:
        written = WriteGif(image, temporary);
        break;
    case SaveNaming::kPng:
        written = image.dib ? PngFileWriter::WriteDib(image.dib, temporary)
                            : PngFileWriter::WriteBitmap(image.bitmap, temporary);
        break;
    default:
        break;
    }
    return written && file.Commit() ? Outcome::kSaved : Outcome::kFailed;
}

bool ImageSaver::Save(Source source, int format, const std::string& path, const JpegOptions& jpeg, bool quiet) {
    // Until the view paints a direct grab, the image exists only as its packed DIB.
    if (source == Source::kImageBitmap && !view.imageBitmap.GetSafeHandle() && view.pendingDib)
        source = Source::kPendingDib;
    Image image;
    if (source == Source::kPendingDib)
        image.dib = view.pendingDib.Get();
    else
        image.bitmap = static_cast<HBITMAP>(view.imageBitmap.GetSafeHandle());
    Outcome outcome = WriteImage(image, format, path, jpeg, quiet, view.tempBitmapPath);
    if (outcome == Outcome::kFailed) ReportFailure(path, quiet);
    return outcome == Outcome::kSaved;
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
    if (!SaveNaming::IsKnownFormat(settings.fileFormat)) return;

    if (Save(Source::kImageBitmap, settings.fileFormat, path, StoredJpegOptions(settings), false))
        view.AddHistoryEntry(name, path);
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
    if (!SaveNaming::IsKnownFormat(format)) {
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
    if (!name.found)
        ReportFailure(path, quiet);
    else if (Save(source, format, path, StoredJpegOptions(settings), quiet))
        view.AddHistoryEntry(name.name.entryName + extension, path);
}
