#pragma once
// Control bars: windows the frame lays out along its edges (status bar, toolbar, docked panes).
#include <string>
#include <vector>

#include "framework/frame_wnd.h"

class CControlBar : public CWnd {
public:
    ~CControlBar() override;

    DWORD GetBarStyle() const { return m_barStyle; }
    void SetBarStyle(DWORD style) { m_barStyle = style; }
    void EnableDocking(DWORD alignment) { m_dockAlignment = alignment; }
    DWORD DockAlignment() const { return m_dockAlignment; }
    // The edge the bar sits on: CBRS_ALIGN_TOP, _BOTTOM, _LEFT or _RIGHT.
    DWORD Edge() const;
    // The bar's thickness across its edge, for a frame client area of `available` size.
    virtual CSize CalcFixedLayout(const CRect& available);
    // Called at idle time to bring the bar's buttons in line with their update rules.
    virtual void OnUpdateCmdUI(CFrameWnd* target, bool disableIfNoHandler) {}
    CFrameWnd* Frame() const { return m_frame; }

protected:
    // Registers the bar with its frame (call after the window exists).
    void AttachToFrame(CFrameWnd* frame, DWORD barStyle);
    void PostNcDestroy() override;

    friend class CFrameWnd;
    CFrameWnd* m_frame = nullptr;
    DWORD m_barStyle = 0;
    DWORD m_dockAlignment = 0;
};

// Pane styles of the status bar.
constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_POPOUT = 0x0200;
constexpr UINT SBPS_DISABLED = 0x0400;
constexpr UINT SBPS_STRETCH = 0x0800;

class CStatusBar : public CControlBar {
public:
    bool Create(CFrameWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT id = AFX_IDW_STATUS_BAR);
    bool SetIndicators(const UINT* ids, int count);
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    bool SetPaneText(int index, const char* text);
    std::string GetPaneText(int index) const;
    int GetCount() const { return static_cast<int>(m_panes.size()); }

    CSize CalcFixedLayout(const CRect& available) override;

private:
    struct Pane {
        UINT id;
        UINT style;
        int width;
        std::string text;
    };
    std::vector<Pane> m_panes;
    // Hands the panes' right edges to the control for the current width.
    void UpdateParts();

    afx_msg void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};
