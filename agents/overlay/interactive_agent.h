#pragma once
// One run of an interactive agent, from start to finish: the frozen screen, the overlay that shows
// it, and the report to the caller. The window agent and the rectangle agent derive from it and
// decide what the user's input chooses.
//
// Everything happens on the caller's GUI thread, driven by its message loop: start returns at
// once, the overlay's messages do the rest, and the caller finishes the run when the report
// (WM_CAPTURE_DONE) arrives.
#include <windows.h>

#include <memory>

#include "agents/overlay/frozen_screen.h"
#include "agents/overlay/overlay_window.h"
#include "framework/gdi.h"

class InteractiveAgent : public OverlayClient {
public:
    InteractiveAgent() : overlay_(screen_, *this) {}

    // Remembers whom to report to and which bitmap object to fill, and makes the (hidden) overlay.
    // If even that fails, the caller hears at once that there is nothing to deliver.
    void Start(HWND caller, CBitmap* target);
    // Stops everything and, if a picture was chosen, hands it to the caller's bitmap object: the
    // image held before is destroyed, the object owns the picture. After a cancel the object is
    // left as it was.
    void Finish();
    // The pointer as it was when the screen froze goes into the picture.
    void IncludePointer(bool include) { includePointer_ = include; }

protected:
    // Called right after the screen has been frozen, before the overlay covers it: the moment to
    // note anything else about the screen as it stands.
    virtual void OnFrozen() {}

    // The user has chosen `area`: its part on the screen, cut from the frozen copy, is the picture.
    void Deliver(const PixelRect& area);
    // Esc, a right click or a close request: nothing to deliver.
    void OnCancel() override;

    const FrozenScreen& Screen() const { return screen_; }
    OverlayWindow& Overlay() { return overlay_; }

private:
    void OnSettled() override;
    void Report(WPARAM result);

    HWND caller_ = nullptr;
    CBitmap* target_ = nullptr;
    FrozenScreen screen_;
    OverlayWindow overlay_;
    CBitmap picture_;  // chosen, waiting for finish
    bool reported_ = false;
    bool includePointer_ = false;
};

// The one run of an agent library at a time, behind its start and finish exports.
template <class Agent>
class AgentRun {
public:
    void Start(HWND caller, CBitmap* target) {
        // The caller always finishes a run before it starts the next; should one be left over,
        // it goes without touching anything.
        running_.reset(new Agent());
        running_->Start(caller, target);
    }
    void Finish() {
        if (!running_) return;
        running_->Finish();
        running_.reset();
    }

private:
    std::unique_ptr<Agent> running_;
};
