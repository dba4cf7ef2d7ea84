#include "framework/tool_bar.h"

#include <algorithm>

#include "framework/art_scale.h"
#include "framework/bar_drawing.h"
#include "framework/dock_context.h"
#include "framework/win_app.h"

namespace {

constexpr int kBorder = 2;                    // the raised frame around the buttons
constexpr COLORREF kTransparent = RGB(255, 0, 255);
const LPCSTR kToolbarResourceType = MAKEINTRESOURCEA(241);

// The update rule's target for one button: the state changes only when the rule's answer does.
class CToolCmdUI : public CCmdUI {
public:
    HWND toolbar = nullptr;
    void Enable(bool on) override {
        m_bEnableChanged = true;
        Change(TBSTATE_ENABLED, on);
    }
    void SetCheck(int check) override { Change(TBSTATE_CHECKED, check != 0); }
    void SetText(const char*) override {}

private:
    void Change(BYTE bit, bool on) {
        LRESULT state = ::SendMessageA(toolbar, TB_GETSTATE, m_nID, 0);
        if (state == -1) return;
        BYTE next = static_cast<BYTE>(on ? (state | bit) : (state & ~bit));
        if (next != static_cast<BYTE>(state)) ::SendMessageA(toolbar, TB_SETSTATE, m_nID, MAKELPARAM(next, 0));
    }
};

}  // namespace

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
    ON_MESSAGE(WM_NCPAINT, OnNcPaint)
    ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CToolBar::~CToolBar() {
    if (m_images) ImageList_Destroy(m_images);
}

bool CToolBar::Create(CWnd* parent, DWORD style, UINT id) {
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(parent);
    if (!frame) frame = parent->GetParentFrame();
    DWORD windowStyle = (style & ~CBRS_ALL) | WS_CHILD | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                        CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
    if (!CreateEx(0, TOOLBARCLASSNAMEA, nullptr, windowStyle, CRect(0, 0, 0, 0), parent->m_hWnd, id))
        return false;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    // Button commands and tooltip questions go to the frame, wherever the bar is docked or floats.
    if (frame) SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(frame->m_hWnd));
    if (frame) AttachToFrame(frame, style & CBRS_ALL);
    else m_dwStyle = style & CBRS_ALL;
    OnBarStyleChange(0, m_dwStyle);
    return true;
}

bool CToolBar::LoadToolBar(UINT resourceId, const std::vector<ScaledArt>& largerArt) {
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(resourceId), kToolbarResourceType);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    toolbar::ToolbarResource layout;
    if (!data || !toolbar::ParseToolbarResource(static_cast<const std::uint8_t*>(data),
                                                ::SizeofResource(module, found), layout))
        return false;
    UINT bitmapId = resourceId;
    int width = layout.width, height = layout.height;
    if (!largerArt.empty() && layout.width == layout.height) {
        std::vector<int> sizes{layout.width};
        for (const ScaledArt& art : largerArt) sizes.push_back(art.pixels);
        HDC screen = ::GetDC(nullptr);
        const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        const int pixels = ArtSizeForDpi(dpi, sizes);
        for (const ScaledArt& art : largerArt)
            if (art.pixels == pixels) bitmapId = art.bitmapId, width = height = pixels;
    }
    auto bitmap = static_cast<HBITMAP>(::LoadImageA(module, MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0,
                                                    LR_CREATEDIBSECTION));
    if (!bitmap || !SetBitmap(bitmap, width, height)) return false;
    std::vector<UINT> ids(layout.ids.begin(), layout.ids.end());
    return SetButtons(ids.data(), static_cast<int>(ids.size()));
}

bool CToolBar::SetBitmap(HBITMAP bitmap, int width, int height) {
    BITMAP info{};
    ::GetObjectA(bitmap, sizeof info, &info);
    HIMAGELIST images = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, info.bmWidth / std::max(width, 1), 4);
    bool ok = images && ImageList_AddMasked(images, bitmap, kTransparent) >= 0;
    ::DeleteObject(bitmap);
    if (!ok) {
        if (images) ImageList_Destroy(images);
        return false;
    }
    if (m_images) ImageList_Destroy(m_images);
    m_images = images;
    m_imageSize = CSize(width, height);
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height));
    SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(width + 7, height + 7));
    return true;
}

bool CToolBar::SetButtons(const UINT* ids, int count) {
    while (SendMessage(TB_BUTTONCOUNT) > 0) SendMessage(TB_DELETEBUTTON, 0);
    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        if (ids[i] == ID_SEPARATOR) {
            b.fsStyle = BTNS_SEP;
        } else {
            b.iBitmap = image++;
            b.idCommand = static_cast<int>(ids[i]);
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_BUTTON;
            b.iString = -1;
        }
        buttons.push_back(b);
    }
    if (!buttons.empty() &&
        !SendMessage(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())))
        return false;
    m_floatWrap.assign(buttons.size(), false);
    Measure();
    return true;
}

int CToolBar::GetCount() const {
    return static_cast<int>(::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0));
}

UINT CToolBar::GetItemID(int index) const {
    TBBUTTON b{};
    if (!::SendMessageA(m_hWnd, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&b))) return 0;
    return (b.fsStyle & BTNS_SEP) ? ID_SEPARATOR : static_cast<UINT>(b.idCommand);
}

CRect CToolBar::GetItemRect(int index) const {
    CRect r;
    ::SendMessageA(m_hWnd, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
}

std::vector<toolbar::Item> CToolBar::Items() const {
    std::vector<toolbar::Item> items;
    int count = GetCount();
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        ::SendMessageA(m_hWnd, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
        bool separator = (b.fsStyle & BTNS_SEP) != 0;
        int width = separator ? (b.iBitmap > 0 ? b.iBitmap : 8) : LOWORD(::SendMessageA(m_hWnd, TB_GETBUTTONSIZE, 0, 0));
        items.push_back({width, separator});
    }
    return items;
}

CSize CToolBar::ApplyWrap(const std::vector<bool>& wrap) {
    int count = GetCount();
    bool changed = false;
    for (int i = 0; i < count; ++i) {
        TBBUTTONINFOA info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_BYINDEX | TBIF_STATE;
        if (SendMessage(TB_GETBUTTONINFOA, i, reinterpret_cast<LPARAM>(&info)) < 0) continue;
        bool wanted = i < static_cast<int>(wrap.size()) && wrap[i];
        BYTE state = static_cast<BYTE>(wanted ? (info.fsState | TBSTATE_WRAP) : (info.fsState & ~TBSTATE_WRAP));
        if (state == info.fsState) continue;
        info.fsState = state;
        SendMessage(TB_SETBUTTONINFOA, i, reinterpret_cast<LPARAM>(&info));
        changed = true;
    }
    if (changed) {
        SendMessage(TB_AUTOSIZE);
        Invalidate();  // the buttons moved between rows
    }
    CSize extent(0, 0);
    for (int i = 0; i < count; ++i) {
        CRect r = GetItemRect(i);
        extent.cx = std::max<LONG>(extent.cx, r.right);
        extent.cy = std::max<LONG>(extent.cy, r.bottom);
    }
    return CSize(extent.cx + 2 * kBorder, extent.cy + 2 * kBorder);
}

void CToolBar::Measure() {
    size_t count = static_cast<size_t>(GetCount());
    m_vertSize = ApplyWrap(std::vector<bool>(count, true));
    m_floatSize = ApplyWrap(m_floatWrap);
    m_horzSize = ApplyWrap(std::vector<bool>(count, false));
    ApplyShape();
}

void CToolBar::ApplyShape() {
    size_t count = static_cast<size_t>(GetCount());
    switch (m_shape) {
    case Shape::kHorizontal: ApplyWrap(std::vector<bool>(count, false)); break;
    case Shape::kVertical: ApplyWrap(std::vector<bool>(count, true)); break;
    case Shape::kFloating: m_floatSize = ApplyWrap(m_floatWrap); break;
    }
}

void CToolBar::OnBarStyleChange(DWORD oldStyle, DWORD newStyle) {
    if (HWND tips = reinterpret_cast<HWND>(SendMessage(TB_GETTOOLTIPS)))
        ::SendMessageA(tips, TTM_ACTIVATE, (newStyle & CBRS_TOOLTIPS) != 0, 0);
    Shape shape = (newStyle & CBRS_FLOATING)      ? Shape::kFloating
                : (newStyle & CBRS_ORIENT_VERT) && !(newStyle & CBRS_ORIENT_HORZ) ? Shape::kVertical
                                                                                  : Shape::kHorizontal;
    if (shape != m_shape) {
        m_shape = shape;
        ApplyShape();
    }
}

CSize CToolBar::CalcFixedLayout(BOOL stretch, BOOL horizontal) {
    CSize size = horizontal ? m_horzSize : m_vertSize;
    if (stretch) {
        if (horizontal) size.cx = 32767;
        else size.cy = 32767;
    }
    return size;
}

CSize CToolBar::CalcDynamicLayout(int length, DWORD mode) {
    if (mode & (LM_HORZDOCK | LM_VERTDOCK)) return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZDOCK) != 0);
    if (mode & (LM_MRUWIDTH | LM_COMMIT)) return m_floatSize;
    // A floating toolbar being sized: as many rows as the height allows, or as the width needs.
    std::vector<toolbar::Item> items = Items();
    int buttonHeight = HIWORD(SendMessage(TB_GETBUTTONSIZE));
    if (mode & LM_LENGTHY) m_floatWrap = toolbar::WrapIntoRows(items, (length - 2 * kBorder) / std::max(buttonHeight, 1));
    else m_floatWrap = toolbar::WrapAfter(items, length - 2 * kBorder);
    if (m_shape == Shape::kFloating) m_floatSize = ApplyWrap(m_floatWrap);
    return m_floatSize;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, bool disableIfNoHandler) {
    CToolCmdUI state;
    state.toolbar = m_hWnd;
    state.m_pOther = this;
    int count = GetCount();
    for (int i = 0; i < count; ++i) {
        UINT id = GetItemID(i);
        if (id == ID_SEPARATOR) continue;
        state.m_nID = id;
        state.m_nIndex = i;
        state.DoUpdate(target, disableIfNoHandler);
    }
}

bool CToolBar::OverButton(CPoint point) const {
    return ::SendMessageA(m_hWnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)) >= 0;
}

void CToolBar::OnLButtonDown(UINT flags, CPoint point) {
    if (!OverButton(point) && m_pDockContext && m_pDockBar) {
        ::ClientToScreen(m_hWnd, &point);
        m_pDockContext->StartDrag(point);
        return;
    }
    Default();
}

void CToolBar::OnLButtonDblClk(UINT flags, CPoint point) {
    if (!OverButton(point) && m_pDockContext && m_pDockBar) {
        m_pDockContext->ToggleDocking();
        return;
    }
    Default();
}

LRESULT CToolBar::OnNcCalcSize(WPARAM, LPARAM params) {
    LRESULT result = Default();
    auto* rect = reinterpret_cast<RECT*>(params);
    if (rect->right - rect->left >= 2 * kBorder && rect->bottom - rect->top >= 2 * kBorder)
        ::InflateRect(rect, -kBorder, -kBorder);
    return result;
}

LRESULT CToolBar::OnNcPaint(WPARAM, LPARAM) {
    Default();
    CRect window;
    GetWindowRect(&window);
    HDC dc = ::GetWindowDC(m_hWnd);
    CRect r(0, 0, window.Width(), window.Height());
    Draw3dRect(dc, r, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    ::InflateRect(&r, -1, -1);
    Draw3dRect(dc, r, ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNFACE));
    ::ReleaseDC(m_hWnd, dc);
    return 0;
}

LRESULT CToolBar::OnNcHitTest(WPARAM, LPARAM) {
    // The frame around the buttons is a handle to drag the bar by, like the gaps between them.
    return HTCLIENT;
}

void CToolBar::OnDestroy() {
    SendMessage(TB_SETIMAGELIST, 0, 0);
    CControlBar::OnDestroy();
}
