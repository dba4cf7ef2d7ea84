#include "capture/capture_agents.h"

#include "agents/agents.h"

const CaptureAgent* AgentForMode(int captureMode) {
    static const CaptureAgent agents[] = {
        {"Fennick", InstallFennick, UninstallFennick, true},
        {"Torvel", InstallTorvel, UninstallTorvel, true},
        {"Plimsey", InstallPlimsey, UninstallPlimsey, false},
        {"Osgrave", InstallOsgrave, UninstallOsgrave, false},
    };
    return captureMode >= 1 && captureMode <= 4 ? &agents[captureMode - 1] : nullptr;
}
