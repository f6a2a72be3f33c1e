// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of the link error message table that no session of the golden traces shows, against
// their whole text: cloneErrorText(port unavailable, port number, the driver's last error, the
// sequencer's error). The traces show "Cannot access COM 1.", "No answer", "Illegal data" and
// the version mismatch; a rejected reading's "Communication failed." is in ProceduresTest.
#include "link/CloneErrorText.h"

#include <gtest/gtest.h>

TEST(CloneErrorTextTest, TheRowsNoSessionShowsMatchTheirTexts) {
    using D = DriverError;
    using S = SequencerError;
    const std::string Head = "\r\n\r\nCheck the following:\r\n\r\n";
    const std::string NoPort = "- Cloning cable connections.\r\n- The VX-K5 power is ON.";
    const std::string All = "- The COM port settings.\r\n" + NoPort;
    EXPECT_EQ(cloneErrorText(true, 10, D::NoAnswer, S::SubCode),
              "Cannot access COM 10." + Head + All);
    EXPECT_EQ(cloneErrorText(false, 1, D::NoEcho, S::Identity),
              "Cannot access COM port" + Head + All);
    EXPECT_EQ(cloneErrorText(false, 1, D::ImageOverflow, S::None), "Data Overflow." + Head + All);
    EXPECT_EQ(cloneErrorText(false, 1, D::WriteRefused, S::None),
              "Cannot write cloning data." + Head + NoPort);
    EXPECT_EQ(cloneErrorText(false, 1, D::WriteSendRefused, S::None), "Cannot Clone." + Head + All);
    EXPECT_EQ(cloneErrorText(false, 1, D::None, S::ModelCode), "Cannot Clone." + Head + All);
    EXPECT_EQ(cloneErrorText(false, 1, D::None, S::Identity), "Cannot Clone." + Head + All);
}
