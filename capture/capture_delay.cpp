#include "capture/capture_delay.h"

CaptureDelay::Outcome CaptureDelay::Request(int delaySeconds) {
    if (IsCounting()) {
        Cancel();
        return Outcome::Cancelled;
    }
    if (delaySeconds <= 0) return Outcome::CaptureNow;
    secondsLeft_ = delaySeconds;
    return Outcome::Started;
}

bool CaptureDelay::Tick() {
    if (!IsCounting()) return false;  // a tick left over from a cancelled count
    return --secondsLeft_ == 0;
}

std::string CaptureDelay::CountdownTooltip(const std::string& programName, int secondsLeft) {
    return programName + " - capture in " + std::to_string(secondsLeft) + " s";
}
