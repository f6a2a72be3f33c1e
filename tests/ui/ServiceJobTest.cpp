// SPDX-License-Identifier: GPL-3.0-or-later
// The service job's safety net end to end against the simulated radio: compare, revert, the full
// write, and the refusals, each through the File menu's entries as a technician uses them (the
// backup at Connect is the model's, tested without a window).
#include "tests/support/Bench.h"
#include "tests/support/ConnectedBench.h"
#include "tests/support/DialogScript.h"

#include "model/ImageFile.h"
#include "model/ServiceJob.h"
#include "ui/ServiceMenu.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <functional>
#include <set>

using namespace proceduretest;
using testsupport::Bench;
using OnWindow = ConnectedOn<Bench>; // connected, on the window's bench
using testsupport::DialogScript;

namespace {

constexpr std::int32_t PowerHigh = 0x7A9, BpfLowT1 = 0x7B0;
constexpr std::int16_t ItemPowerHigh = 1, ItemBpfLowT1 = 9;

Bytes memoryOf(Bench& bench) {
    const auto& memory = bench.radio().memory();
    return Bytes(memory.begin(), memory.end());
}

// The bytes written to the file name in the bench's folder; its path.
std::string imageFile(Bench& bench, const std::string& name, const Bytes& bytes) {
    const std::string path = bench.folder().file(name);
    EXPECT_TRUE(ImageFile::write(path, bytes)) << path;
    return path;
}

// A connected bench with its dialogs scripted.
struct JobBench : OnWindow {
    explicit JobBench(const vxk5sim::SimConfig& config = {}) : OnWindow(config) {}

    ServiceJob& job() { return bench.model().serviceJob(); }
    ServiceMenu& menu() { return bench.window().serviceMenu(); }
    std::string backupFile() { return job().record().sessionStarts().front().backupFile; }
    std::string backupName() {
        return QFileInfo(QString::fromStdString(backupFile())).fileName().toStdString();
    }
    bool toldAsInformation() { return bench.messages().messages().back().information; }
    // The radio's memory with Power(Hi) at 77 and a byte of a channel memory changed, written to
    // the radio through the File menu; the image.
    Bytes writeEdited() {
        Bytes edited = memoryOf(bench);
        edited[PowerHigh] = 77;
        edited[0x100] = 0x5A; // outside the adjustments: a channel memory
        edited[0x7AD] = 1;    // in them, but no item's: the report lists it all the same
        script.choose(imageFile(bench, "VX-K5_0001_edited.img", edited));
        script.answer(true);
        menu().writeImage();
        return edited;
    }
    bool jobEnds() {
        return bench.runUntil([&] { return !job().busy() && !bench.seq().OpRunning(); }, 4000);
    }
    bool sweepLow() { return enter(ItemBpfLowAll) && runToEnd(); }

    DialogScript script;
};

} // namespace

TEST(ServiceJobTest, CompareMarksExactlyTheLinesChangedSinceConnect) {
    JobBench c;
    c.items().UpDown(ItemPowerHigh, 3);
    ASSERT_TRUE(c.sweepLow());
    c.menu().compare();
    const auto& rows = c.script.comparedRows();
    ASSERT_EQ(rows.size(), 79u);
    std::set<std::string> marked;
    for (const auto& row : rows) {
        if (!row[3].empty()) {
            marked.insert(row[0]);
        }
    }
    EXPECT_EQ(marked, (std::set<std::string>{"POW HI Level", "BPF LOW T1 Level", "BPF LOW T2 Level",
                                             "BPF LOW T3 Level"}));
    EXPECT_EQ(rows[0], (std::vector<std::string>{"POW HI Level", "200", "203", "\u2260"}));
    EXPECT_TRUE(c.script.compareClosedByEsc());
}

TEST(ServiceJobTest, RevertAfterASweepATxfWriteAndAnSMeterRunBringsTheRadioBackByteForByte) {
    JobBench c;
    ASSERT_TRUE(c.sweepLow());
    ASSERT_TRUE(c.enter(ItemTxf) && c.txfThroughBothEnters() && c.runToEnd());
    ASSERT_TRUE(c.enter(ItemSMeter) && c.runToEnd()); // S1, S2 live below their bytes
    const Bytes backup = ImageFile::read(c.backupFile()).bytes;
    ASSERT_NE(memoryOf(c.bench), backup);
    const std::size_t changed = areaDifferences(backup, memoryOf(c.bench)).size();
    c.bench.messages().clear();
    c.script.answer(true);
    c.menu().revert();
    ASSERT_TRUE(c.jobEnds());
    EXPECT_EQ(memoryOf(c.bench), backup);
    EXPECT_EQ(c.bench.image().ReadBlock(0, 2048), backup);
    EXPECT_EQ(c.message(), "The VX-K5 is back at the backup of this session's Connect (" +
                               c.backupName() + "): all " + std::to_string(changed) +
                               " values verified.");
    EXPECT_TRUE(c.toldAsInformation());
    ASSERT_EQ(c.script.confirmations().size(), 1u);
    EXPECT_EQ(c.script.confirmations()[0].size(), 1 + changed); // the question, then each value
    EXPECT_EQ(c.items().Value(ItemBpfLowT1), 90);
}

TEST(ServiceJobTest, ARevertTheRadioDoesNotTakeNamesTheValueThatDiffers) {
    JobBench c;
    ASSERT_TRUE(c.sweepLow());
    const int swept = c.imageByte(BpfLowT1);
    c.bench.radio().config().stuckCell = BpfLowT1; // the radio's cell no longer takes a value
    c.bench.messages().clear();
    c.script.answer(true);
    c.menu().revert();
    ASSERT_TRUE(c.jobEnds());
    EXPECT_EQ(c.message(), "After the revert the VX-K5 differs from the backup of this "
                           "session's Connect (" +
                               c.backupName() + "):\r\n\r\nBFP Low T1: the VX-K5 holds " +
                               std::to_string(swept) +
                               ", not 90\r\n\r\nThe console shows the values the VX-K5 holds "
                               "now.");
    EXPECT_FALSE(c.toldAsInformation());
    // The image and the console follow the radio, not the wish.
    EXPECT_EQ(c.imageByte(BpfLowT1), swept);
    EXPECT_EQ(c.items().Value(ItemBpfLowT1), swept);
}

TEST(ServiceJobTest, ARevertToAnOpenedImageNamesTheBytesNoCommandReaches) {
    JobBench c;
    Bytes target = memoryOf(c.bench);
    target[PowerHigh] = 150;
    target[0x7AD] = 1; // a byte of the area that no live command sets
    c.script.choose(imageFile(c.bench, "VX-K5_0001_target.img", target));
    c.menu().openImage();
    c.script.answer(true);
    c.menu().revert();
    ASSERT_TRUE(c.jobEnds());
    ASSERT_EQ(c.script.confirmations().size(), 1u);
    EXPECT_EQ(c.script.confirmations()[0],
              (std::vector<std::string>{
                  "Revert the VX-K5 to 'VX-K5_0001_target.img'?\n\nThese values are sent to the "
                  "radio, one at a time, then its memory is read back and compared:",
                  "Power(Hi): 200 \u2192 150", "",
                  "Not reverted (no adjustment command reaches these bytes):",
                  "Address 7ADh: 255 \u2192 1"}));
    EXPECT_EQ(c.message(), "The VX-K5 is back at 'VX-K5_0001_target.img': all 1 values verified."
                           "\r\n\r\nNot reverted (no adjustment command reaches these bytes):"
                           "\r\nAddress 7ADh: 255 \u2192 1");
    EXPECT_EQ(c.bench.radio().memory()[PowerHigh], 150);
    EXPECT_EQ(c.bench.radio().memory()[0x7AD], 255);
}

TEST(ServiceJobTest, AWriteOfAnEditedImageLandsInTheRadioAndVerifies) {
    JobBench c;
    const Bytes edited = c.writeEdited();
    const auto sending = [&] { return c.bench.model().progressNow().value_or(Progress{}).what; };
    ASSERT_TRUE(c.bench.runUntil([&] { return sending() == "Sending values"; }, 4000));
    EXPECT_EQ(c.bench.model().progressNow()->total, 14); // values, not bytes
    ASSERT_TRUE(c.bench.runUntil([&] { return !c.bench.messages().messages().empty(); }, 4000));
    // The file-jobs golden trace has the frames, the console and the message of such a write.
    EXPECT_EQ(memoryOf(c.bench), edited);
    EXPECT_EQ(c.script.confirmations().at(0).back(), "Address 7ADh: 255 \u2192 1");
    EXPECT_NE(c.bench.model().RigOpFunc_ReportHtml().find(
                  "<td><b>Address 7ADh</b></td><td class=\"num\"><b>255</b></td>"
                  "<td class=\"num\"><b>1</b></td><td><b>changed</b></td>"),
              std::string::npos);
}

TEST(ServiceJobTest, ARefusedWriteEndsInTheLinkMessageWithNothingLost) {
    JobBench c;
    const Bytes before = memoryOf(c.bench);
    c.bench.radio().config().refuseWrite = true;
    c.writeEdited();
    ASSERT_TRUE(c.jobEnds());
    EXPECT_EQ(c.message(), "Cannot write cloning data.\r\n\r\nCheck the following:\r\n\r\n- "
                           "Cloning cable connections.\r\n- The VX-K5 power is ON.");
    EXPECT_FALSE(c.toldAsInformation());
    EXPECT_EQ(memoryOf(c.bench), before);
    EXPECT_EQ(c.bench.image().ReadBlock(0, 2048), before);
    EXPECT_EQ(c.job().record().runs().back().outcome, RunOutcome::Abandoned);
}

namespace {

struct BadImageCase {
    const char* name;
    const char* file;
    int size;            // -1: no file; -2: a folder
    std::string message; // empty: the file cannot be read
};

class BadImageTest : public ::testing::TestWithParam<BadImageCase> {};

std::string wrongSize(const std::string& name, int size) {
    return "'" + name + "' is not a memory image of the VX-K5: it holds " + std::to_string(size) +
           " bytes, an image 2048.\r\nNothing was changed.";
}

} // namespace

TEST_P(BadImageTest, IsRefusedWithAMessageAndNothingSent) {
    const BadImageCase& p = GetParam();
    JobBench c;
    const std::string path = c.bench.folder().file(p.file);
    if (p.size >= 0) {
        imageFile(c.bench, p.file, Bytes(static_cast<std::size_t>(p.size), 0x11));
    } else if (p.size == -2) {
        c.bench.folder().makeFolder(p.file);
    }
    const Bytes before = memoryOf(c.bench);
    c.script.choose(path);
    c.menu().writeImage();
    c.bench.tick(40);
    EXPECT_EQ(c.message(), p.message.empty() ? "Cannot read '" + path + "'.\r\nNothing was changed."
                                             : p.message);
    EXPECT_TRUE(c.script.confirmations().empty());
    EXPECT_EQ(c.bench.radio().framesSeen(0xE3), 0);
    EXPECT_EQ(memoryOf(c.bench), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadImageTest,
    ::testing::Values(
        BadImageCase{"NoRadioInItsName", "radio.img", 2048,
                     "'radio.img' is not an image of this VX-K5: its name must begin with "
                     "\"VX-K5_0001_\".\r\nNothing was sent."},
        BadImageCase{"Short", "VX-K5_0001_short.img", 2047,
                     wrongSize("VX-K5_0001_short.img", 2047)},
        BadImageCase{"Long", "VX-K5_0001_long.img", 4096, wrongSize("VX-K5_0001_long.img", 4096)},
        BadImageCase{"Missing", "VX-K5_0001_gone.img", -1, ""},
        BadImageCase{"AFolder", "VX-K5_0001_folder.img", -2, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ServiceJobTest, AnImageThatCannotBeOpenedLeavesTheOneOpenedBefore) {
    JobBench c;
    c.script.choose(imageFile(c.bench, "VX-K5_0001_good.img", memoryOf(c.bench)));
    c.script.choose(imageFile(c.bench, "VX-K5_0001_bad.img", Bytes(100, 0)));
    c.menu().openImage();
    c.menu().openImage();
    EXPECT_EQ(c.job().targetName(), "VX-K5_0001_good.img");
    EXPECT_EQ(c.bench.messages().messages().size(), 1u);
}

namespace {

struct TurnCase {
    const char* name;
    std::function<void(JobBench&)> arrange;
    const char* message;
};

class NotItsTurnTest : public ::testing::TestWithParam<TurnCase> {};

} // namespace

TEST_P(NotItsTurnTest, RevertAndWriteAreRefusedWithNothingSent) {
    JobBench c;
    GetParam().arrange(c);
    c.bench.clearWire();
    c.bench.messages().clear();
    const std::size_t asked = c.script.confirmations().size();
    c.menu().revert();
    c.menu().writeImage();
    const auto& shown = c.bench.messages().messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, GetParam().message);
    EXPECT_EQ(shown[1].text, GetParam().message);
    EXPECT_TRUE(c.script.fileRequests().empty());
    EXPECT_EQ(c.script.confirmations().size(), asked);
    EXPECT_TRUE(c.bench.e8Payloads().empty());
    EXPECT_EQ(c.bench.radio().framesSeen(0xE3), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, NotItsTurnTest,
    ::testing::Values(TurnCase{"BeforeConnect",
                               [](JobBench& c) { c.bench.model().RigOpFunc_ResetAll(); },
                               "Connect to the VX-K5 first."},
                      TurnCase{"WhileASweepRuns",
                               [](JobBench& c) { ASSERT_TRUE(c.enter(ItemBpfLowAll)); },
                               "Wait until the running adjustment has ended."},
                      TurnCase{"WhileARevertRuns",
                               [](JobBench& c) {
                                   c.items().UpDown(ItemPowerHigh, 2);
                                   c.bench.tick(10);
                                   c.script.answer(true);
                                   c.menu().revert();
                               },
                               "Wait until the running adjustment has ended."}),
    [](const auto& info) { return std::string(info.param.name); });

// A job cut off half way, after an adjustment made before it, as if the program had died there:
// its journal, left on disk, is offered back at the next Connect, the radio as the job found it
// (the adjustment kept). A procedure cut off so is the crash test's (LineFaultsTest).
struct CutOff {
    const char* row;
    const char* name;
    bool write;   // else a revert
    bool putBack; // the answer to the offer
};

class CutOffTest : public ::testing::TestWithParam<CutOff> {};

TEST_P(CutOffTest, IsOfferedBackAtTheNextConnectAsTheRunFoundTheRadio) {
    JobBench c;
    const Bytes atConnect = ImageFile::read(c.backupFile()).bytes;
    ASSERT_TRUE(c.sweepLow());
    const Bytes before = memoryOf(c.bench);
    c.script.answer(true);
    if (GetParam().write) {
        c.script.choose(imageFile(c.bench, "VX-K5_0001_copy.img", atConnect));
        c.menu().writeImage();
    } else {
        c.menu().revert();
    }
    ASSERT_TRUE(c.bench.runUntil([&] { return memoryOf(c.bench) != before; }, 400));
    const std::string journal = "backups/VX-K5_0001_journal.txt";
    const std::string left = c.bench.folder().readFile(journal);
    c.bench.model().RigOpFunc_ResetAll(); // the run ends, and its journal with it
    ASSERT_FALSE(c.bench.folder().exists(journal));
    c.bench.folder().writeFile(journal, left);
    const Bytes cut = memoryOf(c.bench);
    c.script.answer(GetParam().putBack);
    ASSERT_TRUE(c.bench.connect());
    ASSERT_TRUE(c.jobEnds());
    EXPECT_EQ(memoryOf(c.bench), GetParam().putBack ? before : cut);
    const std::vector<ProcedureRun>& runs = c.job().record().runs();
    const std::string& asked = c.script.confirmations().back().at(0);
    EXPECT_EQ(
        asked.rfind("\"" + std::string(GetParam().name) + "\" was cut off before its end (started ",
                    0),
        0u)
        << asked;
    EXPECT_FALSE(c.bench.folder().exists(journal));
    EXPECT_EQ(runs.back().name, "Recovery after a cut-off");
    EXPECT_EQ(runs.back().outcome,
              GetParam().putBack ? RunOutcome::Completed : RunOutcome::Refused);
}

INSTANTIATE_TEST_SUITE_P(Runs, CutOffTest,
                         ::testing::Values(CutOff{"Revert", "Revert adjustments", false, true},
                                           CutOff{"Write", "Write image to radio", true, true},
                                           CutOff{"WriteLeftAsItWas", "Write image to radio", true,
                                                  false}),
                         [](const auto& info) { return std::string(info.param.row); });

TEST(ServiceJobTest, SaveImageAsWritesTheValuesAsTheyAreNow) {
    JobBench c;
    c.items().UpDown(ItemPowerHigh, 1);
    c.bench.tick(10);
    const std::string path = c.bench.folder().file("now"); // no extension: ".img" is added
    c.script.choose(path);
    c.menu().saveImage();
    const Bytes saved = ImageFile::read(path + ".img").bytes;
    EXPECT_EQ(saved, c.bench.image().ReadBlock(0, 2048));
    EXPECT_EQ(saved.at(PowerHigh), 201);
    EXPECT_TRUE(QRegularExpression("/VX-K5_0001_\\d{8}-\\d{6}\\.img$")
                    .match(QString::fromStdString(c.script.fileRequests()[0].suggested))
                    .hasMatch());
}
