// Plimsey: the window agent. It freezes the screen, and while the pointer moves over the frozen
// picture it frames the window, button or control beneath (the deepest visible one, as the windows
// stood at the freeze) and shows its size. A left click, or Enter, takes that rectangle, clipped
// to the screen, from the frozen picture (with the pointer where it was at the freeze, if asked).
// Esc or a right click cancels.
#include <cstdio>
#include <vector>

#include "agents/agents.h"
#include "agents/overlay/interactive_agent.h"
#include "agents/overlay/overlay_drawing.h"
#include "agents/plimsey/window_snapshot.h"
#include "framework/framework.h"

namespace {

CWinApp theAgent("Plimsey");

AgentOptions options{};

class WindowPicker : public InteractiveAgent {
public:
    WindowPicker() { IncludePointer(options.includePointer != FALSE); }

protected:
    void OnFrozen() override { windows_ = SnapshotWindows(); }

    void OnPointerMove(PixelPoint at) override {
        PixelRect target = TargetAt(at);
        if (target == target_) return;  // no repaint while the pointer stays over one window
        target_ = target;
        Overlay().Redraw();
    }
    // Taken on the release, so that the release does not reach the window beneath afterwards.
    void OnLeftDown(PixelPoint at) override {
        pressed_ = true;
        Overlay().HoldMouse(true);
        OnPointerMove(at);
    }
    void OnLeftUp(PixelPoint at) override {
        if (!pressed_) return;  // a button already held when the overlay came up
        Deliver(TargetAt(at));
    }
    void OnKey(UINT key, PixelPoint pointer) override {
        if (key == VK_RETURN) Deliver(TargetAt(pointer));
    }

    void Decorate(HDC dc) override {
        if (target_.IsEmpty()) return;
        OverlayDrawing::FrameInside(dc, target_, kFrameThickness, OverlayDrawing::kAccent);
        char size[32];
        std::snprintf(size, sizeof size, "%d x %d", target_.Width(), target_.Height());
        SIZE box = OverlayDrawing::TextBoxSize(dc, size);
        OverlayDrawing::TextBox(dc, CaptureGeometry::PlaceLabel(target_, box.cx, box.cy, Screen().Bounds()), size);
    }
    HCURSOR Cursor() const override { return ::LoadCursor(nullptr, IDC_ARROW); }

private:
    static constexpr int kFrameThickness = 3;

    // The deepest window under the pointer, clipped to the screen; over the bare desktop, the
    // whole screen.
    PixelRect TargetAt(PixelPoint at) const {
        const CaptureGeometry::WindowNode* window = CaptureGeometry::DeepestWindowAt(windows_, at.x, at.y);
        return CaptureGeometry::ClipToDesktop(window ? window->rect : Screen().Bounds(), Screen().Bounds());
    }

    std::vector<CaptureGeometry::WindowNode> windows_;
    PixelRect target_;
    bool pressed_ = false;
};

AgentRun<WindowPicker> run;

}  // namespace

void SetPlimseyOptions(const AgentOptions* chosen) { options = chosen ? *chosen : AgentOptions{}; }

void InstallPlimsey(HWND window, CBitmap* bitmap) { run.Start(window, bitmap); }

void UninstallPlimsey() { run.Finish(); }
