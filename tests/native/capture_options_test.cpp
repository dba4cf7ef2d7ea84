#include "capture/capture_delay.h"
#include "capture/capture_options.h"

#include <gtest/gtest.h>

namespace {

CaptureSettings WithOptions(int delay, uint8_t pointer) {
    CaptureSettings s;
    s.delaySeconds = delay;
    s.includePointer = pointer;
    return s;
}

TEST(CaptureOptionsFile, RoundTripOfEveryOfferedDelayWithAndWithoutThePointer) {
    for (int delay : CaptureOptions::kDelayChoices)
        for (uint8_t pointer : {0, 1}) {
            std::string bytes = CaptureOptions::Encode(WithOptions(delay, pointer));
            EXPECT_EQ(bytes.size(), CaptureOptions::kFileSize);
            CaptureSettings back;
            ASSERT_TRUE(CaptureOptions::Decode(bytes, back));
            EXPECT_EQ(back.delaySeconds, delay);
            EXPECT_EQ(back.includePointer, pointer);
        }
}

TEST(CaptureOptionsFile, ForeignOrDamagedBytesLeaveTheDefaults) {
    std::string good = CaptureOptions::Encode(WithOptions(5, 1));
    const std::string damaged[] = {
        "",                                     // empty (a failed write of long ago)
        good.substr(0, 6),                      // cut short
        "XSCO" + good.substr(4),                // another file's name
        std::string("TSCO\0\5\1", 7),           // version 0 does not exist
        good + std::string(100, '\0'),          // far too long to be ours
        std::string(557, 'x'),                  // configure.dat copied over it
    };
    for (const std::string& bytes : damaged) {
        CaptureSettings s;
        EXPECT_FALSE(CaptureOptions::Decode(bytes, s)) << bytes.size();
        EXPECT_EQ(s, CaptureSettings{}) << "no delay, no pointer";
    }
}

TEST(CaptureOptionsFile, LaterVersionsAndOddValuesAreReadSoundly) {
    // A later version with an extra byte: the known fields still count.
    std::string later = std::string("TSCO\2\3\1", 7) + '\7';
    CaptureSettings s;
    ASSERT_TRUE(CaptureOptions::Decode(later, s));
    EXPECT_EQ(s.delaySeconds, 3);
    EXPECT_EQ(s.includePointer, 1);
    // A delay that is not offered is none; any non-zero pointer byte is "on".
    ASSERT_TRUE(CaptureOptions::Decode(std::string("TSCO\1\7\xFF", 7), s));
    EXPECT_EQ(s.delaySeconds, 0);
    EXPECT_EQ(s.includePointer, 1);
    // Written values are always offered ones, whatever the record held.
    ASSERT_TRUE(CaptureOptions::Decode(CaptureOptions::Encode(WithOptions(-4, 9)), s));
    EXPECT_EQ(s.delaySeconds, 0);
    EXPECT_EQ(s.includePointer, 1);
}

TEST(CaptureOptionsFile, DelayChoicesMapBothWays) {
    for (int i = 0; i < CaptureOptions::kDelayChoiceCount; ++i)
        EXPECT_EQ(CaptureOptions::DelayChoiceIndex(CaptureOptions::DelayAtChoice(i)), i);
    EXPECT_EQ(CaptureOptions::DelayChoiceIndex(2), 0);
    EXPECT_EQ(CaptureOptions::DelayAtChoice(-1), 0);  // CB_ERR: nothing chosen
    EXPECT_EQ(CaptureOptions::DelayAtChoice(5), 0);
}

TEST(CaptureDelay, NoDelayCapturesAtOnce) {
    CaptureDelay delay;
    EXPECT_EQ(delay.Request(0), CaptureDelay::Outcome::CaptureNow);
    EXPECT_FALSE(delay.IsCounting());
    EXPECT_FALSE(delay.Tick());
}

TEST(CaptureDelay, CountsDownAndIsDueOnceAtZero) {
    CaptureDelay delay;
    EXPECT_EQ(delay.Request(3), CaptureDelay::Outcome::Started);
    EXPECT_EQ(delay.SecondsLeft(), 3);
    EXPECT_FALSE(delay.Tick());
    EXPECT_FALSE(delay.Tick());
    EXPECT_EQ(delay.SecondsLeft(), 1);
    EXPECT_TRUE(delay.Tick());
    EXPECT_FALSE(delay.IsCounting());
    EXPECT_FALSE(delay.Tick()) << "a late tick does not capture twice";
}

TEST(CaptureDelay, SecondRequestCancelsAndTheNextStartsAfresh) {
    CaptureDelay delay;
    delay.Request(5);
    delay.Tick();
    EXPECT_EQ(delay.Request(5), CaptureDelay::Outcome::Cancelled);
    EXPECT_FALSE(delay.IsCounting());
    EXPECT_FALSE(delay.Tick());
    EXPECT_EQ(delay.Request(1), CaptureDelay::Outcome::Started);
    EXPECT_TRUE(delay.Tick());
}

TEST(CaptureDelay, TooltipCountsTheSecondsLeft) {
    EXPECT_EQ(CaptureDelay::CountdownTooltip("Tessaly Screen Capture", 3), "Tessaly Screen Capture - capture in 3 s");
}

}  // namespace
