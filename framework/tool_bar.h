#pragma once
// The toolbar: a control bar that hosts the toolbar common control. Its buttons are commands like
// menu items (their update rules enable and check them at idle time, only on change, and a
// disabled one never runs); it docks at any side, one row across or one column down, or floats
// wrapped into rows.
#include <vector>

#include "framework/control_bar.h"
#include "framework/toolbar_layout.h"

class CToolBar : public CControlBar {
public:
    ~CToolBar() override;

    bool Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
    // Larger images of the same buttons, for larger display scales.
    struct ScaledArt {
        UINT bitmapId;
        int pixels;  // width and height of one image
    };
    // Buttons and images from the toolbar resource and the bitmap resource of the same id; where
    // the display scale calls for larger images, the largest of `largerArt` that fits it.
    bool LoadToolBar(UINT resourceId, const std::vector<ScaledArt>& largerArt = {});
    // Takes `bitmap` (images of width x height side by side; magenta is transparent).
    bool SetBitmap(HBITMAP bitmap, int width, int height);
    // Buttons in order; 0 stands for a separator. Images go to the buttons in order.
    bool SetButtons(const UINT* ids, int count);
    int GetCount() const;
    UINT GetItemID(int index) const;
    // The button's rectangle in the toolbar's client coordinates.
    CRect GetItemRect(int index) const;

    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CFrameWnd* target, bool disableIfNoHandler) override;

protected:
    void OnBarStyleChange(DWORD oldStyle, DWORD newStyle) override;

    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg LRESULT OnNcCalcSize(WPARAM calcValid, LPARAM params);
    afx_msg LRESULT OnNcPaint(WPARAM, LPARAM);
    afx_msg LRESULT OnNcHitTest(WPARAM, LPARAM);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    enum class Shape { kHorizontal, kVertical, kFloating };
    HIMAGELIST m_images = nullptr;
    CSize m_imageSize{16, 16};
    std::vector<bool> m_floatWrap;  // where the floating toolbar's rows end
    Shape m_shape = Shape::kHorizontal;
    CSize m_horzSize, m_vertSize, m_floatSize;  // measured, borders included

    std::vector<toolbar::Item> Items() const;
    // Sets the row ends in the control and measures the buttons' extent, borders included.
    CSize ApplyWrap(const std::vector<bool>& wrap);
    void Measure();
    // Puts the buttons into the shape of the bar's place: docked across, docked down, floating.
    void ApplyShape();
    bool OverButton(CPoint point) const;
};
