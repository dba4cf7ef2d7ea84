#include "history/files_out/file_drag_source.h"

#include <ole2.h>
#include <shlobj.h>

#include "history/files_out/shell_files.h"

namespace FileDragSource {

namespace {

// A reference count shared by our two small COM objects; they live on the stack of DragFiles,
// and the count only keeps the receivers' AddRef/Release honest.
class RefCounted {
protected:
    ULONG AddRefImpl() { return ++references_; }
    ULONG ReleaseImpl() { return --references_; }

private:
    ULONG references_ = 1;
};

FORMATETC DropFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

bool IsDropFormat(const FORMATETC* format) {
    return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) &&
           format->dwAspect == DVASPECT_CONTENT;
}

// Offers the files in one format only: the file-drop list in global memory.
class FileData : public IDataObject, RefCounted {
public:
    explicit FileData(const std::vector<std::string>& paths) : paths_(paths) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (!out) return E_POINTER;
        *out = (id == IID_IUnknown || id == IID_IDataObject) ? static_cast<IDataObject*>(this) : nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(); }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!medium) return E_POINTER;
        if (!IsDropFormat(format)) return DV_E_FORMATETC;
        // Each receiver gets a block of its own, released by it.
        HGLOBAL files = ShellFiles::MakeDropHandle(paths_);
        if (!files) return E_OUTOFMEMORY;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = files;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return IsDropFormat(format) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (direction != DATADIR_GET) return E_NOTIMPL;
        FORMATETC format = DropFormat();
        return ::SHCreateStdEnumFmtEtc(1, &format, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    const std::vector<std::string>& paths_;
};

// The drag goes on while the left button is held; its release drops, Esc cancels.
class FileDropSource : public IDropSource, RefCounted {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (!out) return E_POINTER;
        *out = (id == IID_IUnknown || id == IID_IDropSource) ? static_cast<IDropSource*>(this) : nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(); }

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keys) override {
        if (escapePressed) return DRAGDROP_S_CANCEL;
        if (!(keys & MK_LBUTTON)) return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

}  // namespace

DWORD DragFiles(const std::vector<std::string>& paths) {
    if (paths.empty()) return DROPEFFECT_NONE;
    // Drag and drop needs OLE on this thread; once started it stays for the thread's life.
    static const bool oleReady = SUCCEEDED(::OleInitialize(nullptr));
    if (!oleReady) return DROPEFFECT_NONE;
    FileData data(paths);
    FileDropSource source;
    DWORD effect = DROPEFFECT_NONE;
    HRESULT result = ::DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
    return result == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

}  // namespace FileDragSource
