// Which presses make a double click: time, rectangle, button and window of the first press, and a
// fresh start after each double click.
#include "platform/double_click.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

const int kWindow = 1;
const int kOtherWindow = 2;

TEST(DoubleClickTest, TheSecondQuickPressOnOneSpotCompletesItAndTheThirdStartsAnew) {
    DoubleClickDetector clicks(400, CSize(4, 4));
    EXPECT_FALSE(clicks.Press(1, &kWindow, CPoint(10, 10), 1000));
    EXPECT_TRUE(clicks.Press(1, &kWindow, CPoint(10, 10), 1040));
    // Two quick double clicks on one spot: the third press starts the second double click.
    EXPECT_FALSE(clicks.Press(1, &kWindow, CPoint(10, 10), 1300));
    EXPECT_TRUE(clicks.Press(1, &kWindow, CPoint(10, 10), 1340));
    // The time limit itself still counts, a moment more does not.
    EXPECT_FALSE(clicks.Press(1, &kWindow, CPoint(10, 10), 2000));
    EXPECT_TRUE(clicks.Press(1, &kWindow, CPoint(10, 10), 2400));
    EXPECT_FALSE(clicks.Press(1, &kWindow, CPoint(10, 10), 3000));
    EXPECT_FALSE(clicks.Press(1, &kWindow, CPoint(10, 10), 3401));
    // The late press is the first of the next double click.
    EXPECT_TRUE(clicks.Press(1, &kWindow, CPoint(10, 10), 3500));
}

TEST(DoubleClickTest, AnotherButtonOrWindowBreaksTheClickAndTheClockMayWrap) {
    DoubleClickDetector clicks(500, CSize(4, 4));
    EXPECT_FALSE(clicks.Press(1, &kWindow, CPoint(5, 5), 100));
    EXPECT_FALSE(clicks.Press(2, &kWindow, CPoint(5, 5), 150));
    EXPECT_FALSE(clicks.Press(1, &kWindow, CPoint(5, 5), 200));
    EXPECT_FALSE(clicks.Press(1, &kOtherWindow, CPoint(5, 5), 250));
    EXPECT_TRUE(clicks.Press(1, &kOtherWindow, CPoint(5, 5), 300));
    // The toolkit's millisecond clock runs over 32 bits and starts again from 0.
    const std::uint32_t late = 0xFFFFFF00u;
    EXPECT_FALSE(clicks.Press(1, &kWindow, CPoint(5, 5), late));
    EXPECT_TRUE(clicks.Press(1, &kWindow, CPoint(5, 5), late + 0x150u));
    // Forgetting the last press makes the next one a first press; a window going away forgets
    // only its own.
    EXPECT_FALSE(clicks.Press(1, &kWindow, CPoint(5, 5), 1000));
    clicks.Forget();
    EXPECT_FALSE(clicks.Press(1, &kWindow, CPoint(5, 5), 1010));
    clicks.ForgetWindow(&kOtherWindow);
    EXPECT_TRUE(clicks.Press(1, &kWindow, CPoint(5, 5), 1020));
    EXPECT_FALSE(clicks.Press(1, &kWindow, CPoint(5, 5), 1030));
    clicks.ForgetWindow(&kWindow);
    EXPECT_FALSE(clicks.Press(1, &kWindow, CPoint(5, 5), 1040));
}

} // namespace
