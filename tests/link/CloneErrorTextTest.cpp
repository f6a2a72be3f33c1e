// Every row of the link error message table against its whole text, one line per row:
// cloneErrorText(errCannotOpen, errOverflow, comPortNum, driver lastError, sequencer error).
#include "link/CloneErrorText.h"

#include <gtest/gtest.h>

TEST(CloneErrorTextTest, EveryTextMatchesItsRow) {
    const std::string Head = "\r\n\r\nCheck the following:\r\n\r\n";
    const std::string NoPort = "- Cloning cable connections.\r\n- The VX-K5 power is ON.";
    const std::string All = "- The COM port settings.\r\n" + NoPort;
    EXPECT_EQ(cloneErrorText(true, false, 1, 0, 0), "Cannot access COM 1." + Head + All);
    EXPECT_EQ(cloneErrorText(true, true, 10, 2, 2), "Cannot access COM 10." + Head + All);
    EXPECT_EQ(cloneErrorText(false, true, 1, 3, 1), "COM buffer Overflow." + Head + All);
    EXPECT_EQ(cloneErrorText(false, false, 1, 1, 3), "Cannot access COM port" + Head + All);
    EXPECT_EQ(cloneErrorText(false, false, 1, 2, 0), "No answer from VX-K5." + Head + All);
    EXPECT_EQ(cloneErrorText(false, false, 1, 3, 0), "Illegal data." + Head + All);
    EXPECT_EQ(cloneErrorText(false, false, 1, 4, 0), "Data Overflow." + Head + All);
    EXPECT_EQ(cloneErrorText(false, false, 1, 6, 0), "Cannot write cloning data." + Head + NoPort);
    EXPECT_EQ(cloneErrorText(false, false, 1, 7, 0), "Cannot Clone." + Head + All);
    EXPECT_EQ(cloneErrorText(false, false, 1, 5, 0), "Cannot Clone." + Head + All);
    EXPECT_EQ(cloneErrorText(false, false, 1, 0, 0), "Communication failed." + Head + NoPort);
    EXPECT_EQ(cloneErrorText(false, false, 1, 0, 2),
              "Version number does not match\r\nfor this VX-K5.");
    EXPECT_EQ(cloneErrorText(false, false, 1, 0, 1), "Cannot Clone." + Head + All);
    EXPECT_EQ(cloneErrorText(false, false, 1, 0, 3), "Cannot Clone." + Head + All);
}
