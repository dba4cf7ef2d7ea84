#include "capture/capture_gate.h"

CaptureGate::Answer CaptureGate::Request() {
    switch (stage_) {
        case Stage::kAgentRunning:
            return Answer::kRefusedWhileAgentRuns;
        case Stage::kPipeline:
            return Answer::kRefusedWhilePipelineRuns;
        case Stage::kIdle:
            break;
    }
    stage_ = Stage::kAgentRunning;
    return Answer::kGo;
}

bool CaptureGate::PictureTaken() {
    if (stage_ != Stage::kAgentRunning) return false;
    stage_ = Stage::kPipeline;
    return true;
}
