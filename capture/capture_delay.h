#pragma once
// The delay before a capture, as a countdown of whole seconds (platform-free). The first capture
// request starts it (or, with no delay set, captures at once); a second request while it counts
// cancels it, so a hot-key pressed by mistake can be taken back.
#include <string>

class CaptureDelay {
public:
    enum class Outcome {
        CaptureNow,  // no delay: take the picture at once
        Started,     // counting from the delay down; a tick each second
        Cancelled,   // it was counting: nothing is taken
    };

    Outcome Request(int delaySeconds);
    // One second has passed; true when the count has run out and the picture is due now.
    bool Tick();
    void Cancel() { secondsLeft_ = 0; }
    bool IsCounting() const { return secondsLeft_ > 0; }
    int SecondsLeft() const { return secondsLeft_; }

    // The notification-area tooltip while counting, after the program's name: "<name> - capture in 3 s".
    static std::string CountdownTooltip(const std::string& programName, int secondsLeft);

private:
    int secondsLeft_ = 0;
};
