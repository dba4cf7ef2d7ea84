// Osgrave: the rectangle agent. It freezes the screen and shows a crosshair over the frozen
// picture, with a magnifier and a readout beside the pointer (its position, or the size of the
// rectangle being drawn). The user drags from one corner to the other, both corner pixels
// included; the arrow keys move the pointer by one pixel for exact corners, and Enter fixes a
// corner from the keyboard (see RectangleChoice for the whole set of rules, and why a click
// without a drag chooses nothing and keeps the agent waiting). Esc or a right click cancels.
#include <cstdio>

#include "agents/agents.h"
#include "agents/overlay/interactive_agent.h"
#include "agents/overlay/overlay_drawing.h"
#include "framework/framework.h"

namespace {

CWinApp theAgent("Osgrave");

class AreaSelector : public InteractiveAgent {
protected:
    void OnPointerMove(PixelPoint at) override {
        if (at == pointer_) return;
        pointer_ = at;
        Overlay().Redraw();
    }
    void OnLeftDown(PixelPoint at) override {
        pointer_ = at;
        choice_.Press(at);
        Overlay().HoldMouse(true);  // the release comes back here, wherever it happens
        Overlay().Redraw();
    }
    void OnLeftUp(PixelPoint at) override {
        Overlay().HoldMouse(false);
        pointer_ = at;
        if (std::optional<PixelRect> chosen = choice_.Release(at)) Deliver(*chosen);
        else Overlay().Redraw();
    }
    void OnKey(UINT key, PixelPoint pointer) override {
        if (key != VK_RETURN) return;
        pointer_ = pointer;
        if (std::optional<PixelRect> chosen = choice_.Enter(pointer)) Deliver(*chosen);
        else Overlay().Redraw();
    }

    void Decorate(HDC dc) override {
        const PixelRect& screen = Screen().Bounds();
        OverlayDrawing::Crosshair(dc, pointer_, screen);
        char readout[32];
        if (choice_.HasCorner()) {
            PixelRect selection = choice_.Selection(pointer_);
            OverlayDrawing::FrameAround(dc, selection, OverlayDrawing::kAccent);
            std::snprintf(readout, sizeof readout, "%d x %d", selection.Width(), selection.Height());
        } else {
            std::snprintf(readout, sizeof readout, "%d, %d", pointer_.x, pointer_.y);
        }
        // The magnifier with the readout beneath it, beside the pointer and on the screen.
        const int size = OverlayDrawing::kMagnifierSize;
        int readoutHeight = OverlayDrawing::TextBoxSize(dc, readout).cy;
        PixelRect panel = CaptureGeometry::PlaceNearPointer(pointer_, size, size + readoutHeight, kPanelGap, screen);
        PixelRect magnifier{panel.left, panel.top, panel.right, panel.top + size};
        OverlayDrawing::Magnifier(dc, Screen().Dc(), pointer_, magnifier, screen);
        OverlayDrawing::TextBox(dc, {panel.left, magnifier.bottom, panel.right, panel.bottom}, readout);
    }
    HCURSOR Cursor() const override { return ::LoadCursor(nullptr, IDC_CROSS); }

private:
    static constexpr int kPanelGap = 20;  // clear of the crosshair cursor

    CaptureGeometry::RectangleChoice choice_;
    PixelPoint pointer_{-1, -1};
};

AgentRun<AreaSelector> run;

}  // namespace

void InstallOsgrave(HWND window, CBitmap* bitmap) { run.Start(window, bitmap); }

void UninstallOsgrave() { run.Finish(); }
