// Every row of the link error message table, whole texts, and the sub code rule.
#include "link/CloneErrorText.h"
#include "link/LinkHost.h"

#include <gtest/gtest.h>

namespace {

const std::string Head = "\r\n\r\nCheck the following:\r\n\r\n";
const std::string All =
    "- The COM port settings.\r\n- Cloning cable connections.\r\n- The VX-K5 power is ON.";
const std::string NoPort = "- Cloning cable connections.\r\n- The VX-K5 power is ON.";

struct TextCase {
    const char* name;
    bool cannotOpen;
    bool overflow;
    std::int16_t port;
    std::int16_t lastError;
    std::int16_t seqError;
    std::string text;
};

std::ostream& operator<<(std::ostream& out, const TextCase& c) {
    return out << c.name;
}

class CloneErrorTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(CloneErrorTextTest, TextMatchesItsRow) {
    const TextCase& c = GetParam();
    EXPECT_EQ(cloneErrorText(c.cannotOpen, c.overflow, c.port, c.lastError, c.seqError), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CloneErrorTextTest,
    ::testing::Values(
        TextCase{"CannotOpen", true, false, 1, 0, 0, "Cannot access COM 1." + Head + All},
        TextCase{"CannotOpenWinsOverEverything", true, true, 10, 2, 2,
                 "Cannot access COM 10." + Head + All},
        TextCase{"Overflow", false, true, 1, 3, 1, "COM buffer Overflow." + Head + All},
        TextCase{"NoEcho", false, false, 1, 1, 3, "Cannot access COM port" + Head + All},
        TextCase{"NoAnswer", false, false, 1, 2, 0, "No answer from VX-K5." + Head + All},
        TextCase{"BadData", false, false, 1, 3, 0, "Illegal data." + Head + All},
        TextCase{"ImageOverflow", false, false, 1, 4, 0, "Data Overflow." + Head + All},
        TextCase{"WriteRefused", false, false, 1, 6, 0,
                 "Cannot write cloning data." + Head + NoPort},
        TextCase{"WriteSendRefused", false, false, 1, 7, 0, "Cannot Clone." + Head + All},
        TextCase{"DriverFive", false, false, 1, 5, 0, "Cannot Clone." + Head + All},
        TextCase{"NothingKnown", false, false, 1, 0, 0, "Communication failed." + Head + NoPort},
        TextCase{"VersionMismatch", false, false, 1, 0, 2,
                 "Version number does not match\r\nfor this VX-K5."},
        TextCase{"ModelMismatch", false, false, 1, 0, 1, "Cannot Clone." + Head + All},
        TextCase{"IdentityFailed", false, false, 1, 0, 3, "Cannot Clone." + Head + All}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SubNameRuleTest, AcceptsExactlyTheSubCodesWhoseFirstByteIsZero) {
    const std::pair<const char*, bool> cases[] = {
        {"0001", true}, {"00FF", true},  {"0000", true},  {"00", true},  {"", true},
        {"0", true},    {"0100", false}, {"FF00", false}, {"01", false}, {"0A00", false},
    };
    for (const auto& [name, legal] : cases) {
        EXPECT_EQ(subNameIsLegal(name), legal) << '"' << name << '"';
    }
}

} // namespace
