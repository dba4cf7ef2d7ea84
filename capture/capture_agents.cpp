#include "capture/capture_agents.h"

#include "agents/agents.h"

const CaptureAgent* AgentForMode(int captureMode) {
    static const CaptureAgent agents[] = {
        {"Fennick", InstallFennick, UninstallFennick, true, SetFennickOptions},
        {"Torvel", InstallTorvel, UninstallTorvel, true, SetTorvelOptions},
        {"Plimsey", InstallPlimsey, UninstallPlimsey, false, SetPlimseyOptions},
        {"Osgrave", InstallOsgrave, UninstallOsgrave, false, nullptr},
    };
    if (captureMode == kCaptureModeMonitor) return &agents[0];
    return captureMode >= 1 && captureMode <= 4 ? &agents[captureMode - 1] : nullptr;
}

void PrepareAgent(int captureMode, bool includePointer) {
    const CaptureAgent* agent = AgentForMode(captureMode);
    if (!agent || !agent->setOptions) return;
    // The rectangle agent takes none: its frozen screen shows a crosshair, not the pointer.
    AgentOptions options{includePointer ? TRUE : FALSE, captureMode == kCaptureModeMonitor ? TRUE : FALSE};
    agent->setOptions(&options);
}
