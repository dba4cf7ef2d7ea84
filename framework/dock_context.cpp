#include "framework/dock_context.h"

#include <algorithm>
#include <vector>

#include "framework/bar_drawing.h"
#include "framework/control_bar.h"
#include "framework/dock_bar.h"
#include "framework/dock_layout.h"
#include "framework/dock_sides.h"
#include "framework/mini_frame.h"

namespace {

// How far towards the frame's middle a dock bar catches a dragged bar.
constexpr int kDockReach = 16;

geo::Rect Geo(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
CRect Win(const geo::Rect& r) { return CRect(r.left, r.top, r.right, r.bottom); }

}  // namespace

CDockContext::CDockContext(CControlBar* bar) : m_pBar(bar), m_pDockSite(bar->GetDockingFrame()) {}

CMiniDockFrameWnd* CDockContext::FloatingFrame() const {
    if (!m_pBar->IsFloating()) return nullptr;
    return dynamic_cast<CMiniDockFrameWnd*>(CWnd::FromHandlePermanent(::GetParent(m_pBar->m_pDockBar->m_hWnd)));
}

void CDockContext::RememberPlace() {
    if (!m_pBar->m_pDockBar) return;
    if (CMiniDockFrameWnd* mini = FloatingFrame()) {
        CRect r;
        mini->GetWindowRect(&r);
        m_ptMRUFloatPos = r.TopLeft();
        m_hasFloatPos = true;
    } else {
        m_uMRUDockID = m_pBar->m_pDockBar->GetDlgCtrlID();
        m_pBar->GetWindowRect(&m_rectMRUDockPos);
    }
}

template <class OnMove>
bool CDockContext::TrackMouse(HWND captureWindow, OnMove onMove) {
    ::SetCapture(captureWindow);
    bool done = false, accepted = false;
    while (!done) {
        if (::GetCapture() != captureWindow) break;  // taken away: cancelled
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE: {
            CPoint p;
            ::GetCursorPos(&p);
            onMove(p);
            break;
        }
        case WM_LBUTTONUP:
            done = accepted = true;
            break;
        case WM_RBUTTONDOWN:
            done = true;
            break;
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (msg.wParam == VK_ESCAPE) {
                done = true;
            } else if (msg.wParam == VK_CONTROL) {
                CPoint p;
                ::GetCursorPos(&p);
                onMove(p);
            }
            break;
        default:
            ::DispatchMessageA(&msg);
            break;
        }
    }
    if (::GetCapture() == captureWindow) ::ReleaseCapture();
    return accepted;
}

void CDockContext::StartDrag(CPoint start) {
    if (!m_pBar->m_pDockBar || !m_pDockSite) return;
    m_pDockSite = m_pBar->GetDockingFrame();
    bool dynamic = (m_pBar->GetBarStyle() & CBRS_SIZE_DYNAMIC) != 0;
    CMiniDockFrameWnd* mini = FloatingFrame();

    // The three shapes the bar may take: docked along a top or bottom row, docked at a side,
    // floating (its mini frame).
    CSize horz = dynamic ? m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK) : m_pBar->CalcFixedLayout(FALSE, TRUE);
    CSize vert = dynamic ? m_pBar->CalcDynamicLayout(0, LM_VERTDOCK) : m_pBar->CalcFixedLayout(FALSE, FALSE);
    CRect floatRect;
    if (mini) {
        mini->GetWindowRect(&floatRect);
    } else {
        CSize inside = dynamic ? m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH) : m_pBar->CalcFixedLayout(FALSE, TRUE);
        floatRect = CMiniDockFrameWnd::FrameRectFor(CRect(0, 0, inside.cx, inside.cy));
    }
    CRect from;
    if (mini) mini->GetWindowRect(&from);
    else m_pBar->GetWindowRect(&from);
    geo::Point grab{start.x - from.left, start.y - from.top};

    // Where the frame's dock bars catch the bar, in the order they are asked.
    std::vector<dock::DockArea> areas;
    for (UINT id : {dock::kTop, dock::kBottom, dock::kLeft, dock::kRight}) {
        CDockBar* dockBar = m_pDockSite->GetDockBar(id);
        DWORD side = id == dock::kTop ? CBRS_ALIGN_TOP : id == dock::kBottom ? CBRS_ALIGN_BOTTOM
                   : id == dock::kLeft ? CBRS_ALIGN_LEFT : CBRS_ALIGN_RIGHT;
        if (!dockBar || !(m_pBar->DockAlignment() & side)) continue;
        CRect r;
        dockBar->GetWindowRect(&r);
        areas.push_back({id, dock::DockAreaOf(Geo(r), id, kDockReach)});
    }

    CScreenTrackerDC screen;
    CRect shown;
    int shownThickness = 0;
    bool moved = false;
    UINT target = 0;
    CRect targetRect;
    auto show = [&](const CRect& r, int thickness) {
        if (shownThickness) InvertHalftoneFrame(screen.Get(), shown, shownThickness);
        shown = r;
        shownThickness = thickness;
        if (thickness) InvertHalftoneFrame(screen.Get(), shown, thickness);
    };
    auto follow = [&](CPoint p) {
        if (!moved && std::abs(p.x - start.x) <= ::GetSystemMetrics(SM_CXDRAG) &&
            std::abs(p.y - start.y) <= ::GetSystemMetrics(SM_CYDRAG))
            return;
        moved = true;
        geo::Point cursor{p.x, p.y};
        geo::Rect h = dock::PlaceDragShape({horz.cx, horz.cy}, cursor, grab);
        geo::Rect v = dock::PlaceDragShape({vert.cx, vert.cy}, cursor, grab);
        geo::Rect f = dock::PlaceDragShape({floatRect.Width(), floatRect.Height()}, cursor, grab);
        bool floatOnly = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
        target = floatOnly ? 0 : dock::PickDockArea(areas, cursor);
        targetRect = Win(target ? (dock::IsHorizontal(target) ? h : v) : f);
        show(targetRect, target ? 2 : 4);
    };
    bool accepted = TrackMouse(m_pBar->m_hWnd, follow);
    show(CRect(), 0);
    if (!accepted || !moved) return;

    if (target) {
        m_pDockSite->DockControlBar(m_pBar, m_pDockSite->GetDockBar(target), &targetRect);
    } else {
        m_pDockSite->FloatControlBar(m_pBar, targetRect.TopLeft(), m_pBar->GetBarStyle());
    }
    RememberPlace();
}

void CDockContext::ToggleDocking() {
    if (!m_pBar->m_pDockBar || !m_pDockSite) return;
    if (m_pBar->IsFloating()) {
        UINT id = m_uMRUDockID;
        if (!id) {
            // Never docked by the user: back to the first side it may dock at.
            DWORD allowed = m_pBar->DockAlignment();
            id = (allowed & CBRS_ALIGN_TOP) ? dock::kTop : (allowed & CBRS_ALIGN_BOTTOM) ? dock::kBottom
               : (allowed & CBRS_ALIGN_LEFT) ? dock::kLeft : dock::kRight;
        }
        CDockBar* dockBar = m_pDockSite->GetDockBar(id);
        if (!dockBar) return;
        m_pDockSite->DockControlBar(m_pBar, dockBar, m_rectMRUDockPos.IsRectEmpty() ? nullptr : &m_rectMRUDockPos);
    } else {
        CPoint at = m_ptMRUFloatPos;
        if (!m_hasFloatPos) {
            CRect r;
            m_pBar->GetWindowRect(&r);
            at = r.TopLeft();
        }
        m_pDockSite->FloatControlBar(m_pBar, at, m_pBar->GetBarStyle());
        RememberPlace();
    }
}

void CDockContext::StartResize(int hitTest, CPoint) {
    CMiniDockFrameWnd* mini = FloatingFrame();
    if (!mini) return;
    m_nHitTest = hitTest;
    mini->GetWindowRect(&m_rectFrameDragHorz);
    bool left = hitTest == HTLEFT || hitTest == HTTOPLEFT || hitTest == HTBOTTOMLEFT;
    bool top = hitTest == HTTOP || hitTest == HTTOPLEFT || hitTest == HTTOPRIGHT;
    bool corner = hitTest == HTTOPLEFT || hitTest == HTTOPRIGHT || hitTest == HTBOTTOMLEFT || hitTest == HTBOTTOMRIGHT;
    bool sidesOnly = hitTest == HTLEFT || hitTest == HTRIGHT;

    auto follow = [&](CPoint p) {
        CRect frame, inside;
        mini->GetWindowRect(&frame);
        m_pBar->GetWindowRect(&inside);
        CSize extra(frame.Width() - inside.Width(), frame.Height() - inside.Height());
        m_rectFrameDragHorz = frame;
        CSize size;
        if (corner) {
            size = m_pBar->CalcDynamicLayout(0, LM_HORZ);  // the bar reads the cursor itself
        } else if (sidesOnly) {
            int width = (left ? frame.right - p.x : p.x - frame.left) - extra.cx;
            size = m_pBar->CalcDynamicLayout(std::max(width, 0), LM_HORZ);
        } else {
            int height = (top ? frame.bottom - p.y : p.y - frame.top) - extra.cy;
            size = m_pBar->CalcDynamicLayout(std::max(height, 0), LM_HORZ | LM_LENGTHY);
        }
        // The side held moves; the opposite one stays.
        CRect next = frame;
        next.right = next.left + size.cx + extra.cx;
        next.bottom = next.top + size.cy + extra.cy;
        if (left) next.OffsetRect(frame.right - next.right, 0);
        if (top) next.OffsetRect(0, frame.bottom - next.bottom);
        m_rectFrameDragHorz = next;
        mini->SetWindowPos(nullptr, next.left, next.top, next.Width(), next.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        mini->RecalcLayout();
    };
    TrackMouse(mini->m_hWnd, follow);
    m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_COMMIT);
    m_nHitTest = 0;
    mini->RecalcLayout();
}
