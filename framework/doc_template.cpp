#include "framework/doc_template.h"

#include "framework/frame_wnd.h"
#include "framework/view.h"
#include "framework/win_app.h"

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, const CRuntimeClass* docClass,
                                       const CRuntimeClass* frameClass, const CRuntimeClass* viewClass)
    : m_resourceId(resourceId), m_docClass(docClass), m_frameClass(frameClass), m_viewClass(viewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() { delete m_document; }

std::string CSingleDocTemplate::GetDocString(int index) const {
    std::string all = AfxLoadString(m_resourceId);
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = all.find('\n', start);
        if (start == std::string::npos) return "";
        ++start;
    }
    return all.substr(start, all.find('\n', start) - start);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const char*) {
    if (m_document) return m_document->OnNewDocument() ? m_document : nullptr;

    // 1. The document.
    auto* doc = dynamic_cast<CDocument*>(m_docClass->CreateObject());
    if (!doc) return nullptr;
    doc->SetTitle(GetDocString(0));

    // 2. The frame, whose creation makes the view.
    auto* frame = dynamic_cast<CFrameWnd*>(m_frameClass->CreateObject());
    if (!frame) {
        delete doc;
        return nullptr;
    }
    CCreateContext context{m_viewClass, doc};
    if (!frame->LoadFrame(m_resourceId, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        // A frame that failed in creation has destroyed (and deleted) itself.
        delete doc;
        return nullptr;
    }
    m_document = doc;
    if (!doc->OnNewDocument()) {
        frame->DestroyWindow();
        m_document = nullptr;
        delete doc;
        return nullptr;
    }
    CWinApp* app = AfxGetApp();
    if (app && !app->m_pMainWnd) app->m_pMainWnd = frame;

    // 3. The initial update of the frame and, through it, of the view.
    frame->InitialUpdateFrame(doc, true);
    return doc;
}
