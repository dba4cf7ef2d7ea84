#pragma once
// Whether a capture may start. A capture holds the gate from the request that starts it until its
// last step is done: while its agent works, and while the steps after the picture (information box,
// Save As dialog, saving) run. Those steps wait in modal loops where a hot-key or a command still
// arrives; a second capture let in there would replace the picture under the first one's feet.
class CaptureGate {
public:
    enum class Stage {
        kIdle,          // no capture: the next request starts one
        kAgentRunning,  // started, the picture not taken yet
        kPipeline,      // the picture is taken; its steps (box, dialog, saving) are running
    };
    enum class Answer {
        kGo,                       // the request starts a capture; the gate is closed behind it
        kRefusedWhileAgentRuns,    // nothing to show: the agent has the screen
        kRefusedWhilePipelineRuns  // a step of the last capture may be waiting for the user
    };

    // A request to capture: accepted only when no capture runs.
    Answer Request();
    // The running capture has its picture; false, and nothing changes, unless an agent was running
    // (a late or repeated report is no new picture).
    bool PictureTaken();
    // The running capture is over, whatever became of it.
    void Release() { stage_ = Stage::kIdle; }

    Stage stage() const { return stage_; }
    bool IsIdle() const { return stage_ == Stage::kIdle; }

private:
    Stage stage_ = Stage::kIdle;
};
