#include "capture/capture_gate.h"

#include <gtest/gtest.h>

namespace {

using Answer = CaptureGate::Answer;
using Stage = CaptureGate::Stage;

TEST(CaptureGate, OneCaptureRunsFromRequestToRelease) {
    CaptureGate gate;
    EXPECT_TRUE(gate.IsIdle());
    ASSERT_EQ(gate.Request(), Answer::kGo);
    EXPECT_EQ(gate.stage(), Stage::kAgentRunning);
    EXPECT_FALSE(gate.IsIdle());
    ASSERT_TRUE(gate.PictureTaken());
    EXPECT_EQ(gate.stage(), Stage::kPipeline);
    EXPECT_FALSE(gate.IsIdle()) << "the steps after the picture still belong to the capture";
    gate.Release();
    EXPECT_TRUE(gate.IsIdle());
    EXPECT_EQ(gate.Request(), Answer::kGo) << "the next capture starts once the last one is over";
}

TEST(CaptureGate, RequestsDuringACaptureAreRefusedAndSayWhy) {
    CaptureGate gate;
    ASSERT_EQ(gate.Request(), Answer::kGo);
    EXPECT_EQ(gate.Request(), Answer::kRefusedWhileAgentRuns);
    EXPECT_EQ(gate.Request(), Answer::kRefusedWhileAgentRuns);
    EXPECT_EQ(gate.stage(), Stage::kAgentRunning) << "a refusal changes nothing";

    ASSERT_TRUE(gate.PictureTaken());
    // The information box or the Save As dialog is open: a hot-key here must not start a capture
    // that would replace the picture being saved.
    EXPECT_EQ(gate.Request(), Answer::kRefusedWhilePipelineRuns);
    EXPECT_EQ(gate.Request(), Answer::kRefusedWhilePipelineRuns);
    EXPECT_EQ(gate.stage(), Stage::kPipeline);
}

TEST(CaptureGate, AReportNobodyWaitsForIsNoNewPicture) {
    CaptureGate gate;
    EXPECT_FALSE(gate.PictureTaken()) << "no capture runs";
    EXPECT_TRUE(gate.IsIdle());

    ASSERT_EQ(gate.Request(), Answer::kGo);
    ASSERT_TRUE(gate.PictureTaken());
    EXPECT_FALSE(gate.PictureTaken()) << "a second report during the pipeline";
    EXPECT_EQ(gate.stage(), Stage::kPipeline);
}

TEST(CaptureGate, ACaptureGivenUpBeforeItsPictureOpensTheGate) {
    // The watchdog, an agent with nothing to deliver, a mode that has no agent.
    CaptureGate gate;
    ASSERT_EQ(gate.Request(), Answer::kGo);
    gate.Release();
    EXPECT_TRUE(gate.IsIdle());
    EXPECT_FALSE(gate.PictureTaken()) << "the report after the watchdog";
    EXPECT_EQ(gate.Request(), Answer::kGo);
}

}  // namespace
