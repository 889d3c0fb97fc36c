// The activity lights paint at most once a frame, yet never hide activity: frames are stepped
// by hand, so nothing here depends on time.
#include "widgets/LedWidget.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One frame: the changes made during it ('1' on, '0' off), then what the light shows at its end.
struct Frame {
    const char *changes;
    bool shown;
};

struct Story {
    const char *what;
    std::vector<Frame> frames;
};

} // namespace

TEST(LedWidget, ALightLitDuringAFrameIsShownAndItsFinalStateFollows)
{
    const std::vector<Story> stories = {
        {"on stays on", {{"1", true}, {"", true}}},
        {"a flash within a frame is shown, then off", {{"10", true}, {"", false}}},
        {"many flashes within a frame show once", {{"1010101010", true}, {"", false}}},
        {"on, off, on ends on", {{"101", true}}},
        {"off after on", {{"1", true}, {"0", false}}},
        {"off then a flash in the next frame", {{"1", true}, {"010", true}, {"", false}}},
        {"a flash right after the light was shown off", {{"10", true}, {"10", true}, {"", false}}},
        {"a flash before the final-state frame is still shown", {{"10", true}, {"1", true}, {"0", false}}},
    };
    for (const Story &story : stories) {
        SCOPED_TRACE(story.what);
        LedWidget led;
        for (const Frame &frame : story.frames) {
            for (const char *c = frame.changes; *c; ++c)
                led.setLit(*c == '1');
            // As the frame timer does: a frame ends only when one was scheduled.
            if (led.framePending())
                led.ShowFrame();
            EXPECT_EQ(led.isShownLit(), frame.shown) << "after \"" << frame.changes << "\"";
        }
        // Whatever happened, the light ends up showing its real state, with no frame still to come.
        EXPECT_FALSE(led.framePending());
        EXPECT_EQ(led.isShownLit(), led.isLit());
    }
}

TEST(LedWidget, ChangesWaitForTheFrameAndNoChangeSchedulesNothing)
{
    LedWidget led;
    led.setLit(false);
    EXPECT_FALSE(led.framePending()); // nothing changed, nothing to paint
    led.setLit(true);
    EXPECT_TRUE(led.isLit());
    EXPECT_FALSE(led.isShownLit()); // not painted before the frame ends
    EXPECT_TRUE(led.framePending());
    led.ShowFrame();
    EXPECT_TRUE(led.isShownLit());
    EXPECT_FALSE(led.framePending());
    led.setLit(true);
    EXPECT_FALSE(led.framePending());
}
