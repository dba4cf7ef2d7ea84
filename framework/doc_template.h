#pragma once
// Document, and the single-document template that creates document, frame and view together.
#include <string>

#include "framework/message_map.h"

class CDocument;
class CFrameWnd;
class CView;

// Handed down through frame creation so the frame can make its view.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
};

class CDocument : public CCmdTarget {
public:
    virtual bool OnNewDocument() { return true; }
    void AddView(CView* view) { m_view = view; }
    void RemoveView(CView* view) { if (m_view == view) m_view = nullptr; }
    CView* GetView() const { return m_view; }
    void SetTitle(const std::string& title) { m_title = title; }
    const std::string& GetTitle() const { return m_title; }

private:
    CView* m_view = nullptr;
    std::string m_title;
};

class CDocTemplate {
public:
    virtual ~CDocTemplate() = default;
    virtual CDocument* OpenDocumentFile(const char* path) = 0;
};

// One document, one frame, one view, created in that order from resource `resourceId` (menu,
// accelerators, icon and the document string whose first part is the window title).
class CSingleDocTemplate : public CDocTemplate {
public:
    CSingleDocTemplate(UINT resourceId, const CRuntimeClass* docClass,
                       const CRuntimeClass* frameClass, const CRuntimeClass* viewClass);
    ~CSingleDocTemplate() override;
    CDocument* OpenDocumentFile(const char* path) override;
    // The n-th part of the document string ("title\nnew name\nfile type\n...").
    std::string GetDocString(int index) const;

private:
    UINT m_resourceId;
    const CRuntimeClass* m_docClass;
    const CRuntimeClass* m_frameClass;
    const CRuntimeClass* m_viewClass;
    CDocument* m_document = nullptr;
};
