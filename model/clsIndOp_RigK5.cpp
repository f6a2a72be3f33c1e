// SPDX-License-Identifier: GPL-3.0-or-later
// The model object: reset, buttons, port, window state and the console events.
#include "model/clsIndOp_RigK5.h"

#include "common/CommonRoutines.h"
#include "common/Product.h"
#include "console/clsConsole.h"
#include "link/clsCmcCln3Drv.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcRadio.h"
#include "model/JobMessages.h"
#include "model/MemoryMap.h"
#include "model/ModelLog.h"
#include "model/ProcedureTable.h"
#include "model/RigView.h"
#include "model/ServiceReport.h"
#include "model/TestChannels.h"

#include <tuple>

namespace {

// The channel frequency (10 Hz units) as four packed-decimal bytes, digits 10^7 down to 10^1;
// the last low nibble carries the reference (2) and low-power (1) flags.
Bytes packedChannel(std::int32_t frequency, bool reference, bool lowPower) {
    const auto digit = [frequency](int power) {
        std::int32_t divisor = 1;
        for (int i = 0; i < power; ++i) {
            divisor *= 10;
        }
        return static_cast<std::uint8_t>((frequency / divisor) % 10);
    };
    const auto flags = static_cast<std::uint8_t>((reference ? 2 : 0) + (lowPower ? 1 : 0));
    return {static_cast<std::uint8_t>(digit(7) << 4 | digit(6)),
            static_cast<std::uint8_t>(digit(5) << 4 | digit(4)),
            static_cast<std::uint8_t>(digit(3) << 4 | digit(2)),
            static_cast<std::uint8_t>(digit(1) << 4 | flags)};
}

} // namespace

clsIndOp_RigK5::clsIndOp_RigK5(const Link& link, clsConsole& console, TestChannels& channels,
                               RigView& view)
    : session(link, console, channels, view), modelTask(session) {
    console.myEventClass = this;
    console.myCln3Seq = &link.seq;
    console.myEeprom = &link.radio.objEep();
    RigOpFunc_ResetAll();
}

clsIndOp_RigK5::~clsIndOp_RigK5() {
    // The console keeps a pointer to its event object; it must not outlive us with it.
    if (session.console.myEventClass == this) {
        session.console.myEventClass = nullptr;
    }
}

void clsIndOp_RigK5::RigOpFunc_ResetAll() {
    session.procedures.drop();
    session.job.drop();
    session.seq.easyReset(myComPortNo);
    modelTask.reset();
    session.readouts.reset();
    RigOpFunc_FormResource();
    session.indexes = buildItemTable(session.console);
    session.procedures.prepareConsole();
}

TaskOutcome clsIndOp_RigK5::task() {
    const TaskOutcome outcome = modelTask.task();
    if (outcome == TaskOutcome::Ran) {
        RigOpFunc_FormState();
    }
    return outcome;
}

void clsIndOp_RigK5::RigOpFunc_LeaveProcedure() {
    session.procedures.prepareConsole();
}

void clsIndOp_RigK5::RigOpFunc_FormResource() {
    session.view.setButtonCaptions({"Connect", "Reload(F5)", "Disp para"});
    session.view.resetReadouts(ReadoutPage::AD, "[A/D]", 3);
    session.view.resetReadouts(ReadoutPage::DA, "[D/A]", 8);
}

void clsIndOp_RigK5::RigOpFunc_FormState() {
    session.view.showMode(RigProp_DispPara()      ? RigView::Mode::DispPara
                          : RigProp_EditEnabled() ? RigView::Mode::Editing
                                                  : RigView::Mode::Idle);
}

bool clsIndOp_RigK5::RigProp_ReadParametersFromExtFile(const std::string& fileName) {
    const bool taken = session.txf.readConstantsFrom(fileName);
    qCInfo(lcModel, "read constants %s: %s", fileName.c_str(), taken ? "taken" : "refused");
    return taken;
}

void clsIndOp_RigK5::RigOpFunc_ClickCmd00(std::int16_t Index) {
    session.procedures.prepareConsole();
    switch (Index) {
    case Connect:
        session.job.connecting();
        RigOpFunc_ResetAll();
        modelTask.connect();
        break;
    case Reload:
        if (RigProp_EditEnabled()) {
            modelTask.requestReload();
        }
        break;
    case DispPara:
        if (RigProp_EditEnabled()) {
            modelTask.setDumpWanted(true);
        } else if (RigProp_DispPara()) {
            modelTask.setDumpWanted(false); // the same button leaves the dump
        }
        break;
    default:
        break;
    }
}

void clsIndOp_RigK5::RigOpFunc_SetComPortNo(std::int16_t portNo) {
    if (portNo != myComPortNo) {
        session.procedures.prepareConsole(); // on the port the procedure ran on
        myComPortNo = portNo;
        RigOpFunc_ResetAll();
    }
}

bool clsIndOp_RigK5::RigOpFunc_CheckSubNameLegal(const std::string& nameS) {
    return nameS.substr(0, 2) <= std::string("00");
}

std::string clsIndOp_RigK5::ConsEv_Disp(clsConsole& objConsole, std::int16_t Index,
                                        std::int16_t evNo, std::int16_t val) {
    const std::string title = objConsole.Title(Index);
    if (evNo == procedureRow(ProcedureId::Channel).dispEvent) {
        return channelLine(title, val);
    }
    if (const std::optional<ProcedureRow> row = procedureForDisp(evNo)) {
        return title + ": " + session.procedures.line(*row, Index, val);
    }
    return "???";
}

// The channel item: its number, and the frequency and power of a channel in use.
std::string clsIndOp_RigK5::channelLine(const std::string& title, std::int16_t val) {
    session.curChNo = val;
    std::string text = title + ": " + twoDigits(val);
    const clsRig_Ch& ch = session.channels.ChUnit(session.curChNo);
    if (ch.AppearCh()) {
        text += " (Frequency = " + ch.FreqOp_String() + " ) " + " RF Power: " + ch.RFPower_String();
    }
    return text;
}

// Only the channel item sends through its own event: the channel's frequency and flags as
// packed decimal digits; a channel not in use is never sent.
void clsIndOp_RigK5::ConsEv_SendE8(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                                   std::int16_t /*val*/) {
    if (evNo != 0) {
        return;
    }
    const clsRig_Ch& ch = session.channels.ChUnit(session.curChNo);
    if (!ch.AppearCh()) {
        return;
    }
    std::string text = IntToHex2(objConsole.E8Command(Index));
    for (std::uint8_t byte :
         packedChannel(ch.FreqOp_Pure(), ch.FreqOpRef_Pure() != 0, ch.RFPower_Pure() != 0)) {
        text += IntToAsciiHex2(byte);
    }
    // The channel has no byte in the image; a refused send shows in the link's error state.
    std::ignore = session.seq.easySendE8NoAnswer(text);
    session.curChNo = 0;
}

void clsIndOp_RigK5::ConsEv_Enter(clsConsole& /*objConsole*/, std::int16_t /*Index*/,
                                  std::int16_t evNo, std::int16_t /*val*/) {
    session.procedures.enter(evNo);
}

std::string clsIndOp_RigK5::RigOpFunc_JobRefusal() const {
    if (RigProp_Shielding()) {
        return job_messages::connectFirst();
    }
    if (session.procedures.step() != 0 || session.job.busy()) {
        return job_messages::waitForAdjustment();
    }
    return {};
}

void clsIndOp_RigK5::RigOpFunc_StartRevert(const RestoreJob::Plan& plan) {
    modelTask.setDumpWanted(false);
    session.job.startRevert(plan);
}

void clsIndOp_RigK5::RigOpFunc_StartWrite(const Bytes& image, const std::string& path) {
    modelTask.setDumpWanted(false);
    session.job.startWrite(image, path);
}

std::optional<Progress> clsIndOp_RigK5::progressNow() const {
    if (session.job.busy()) {
        return session.job.progress();
    }
    if (modelTask.connecting()) {
        return modelTask.connectProgress();
    }
    return session.procedures.progress();
}

std::string clsIndOp_RigK5::identityText() const {
    if (RigProp_Shielding()) {
        return {};
    }
    return std::string(product::RadioName) + " " + session.radio.radionameS() + " on COM " +
           std::to_string(myComPortNo);
}

std::string clsIndOp_RigK5::RigOpFunc_ReportHtml(ReportForm form) const {
    ReportInput input{product::Title,
                      session.job.record().now(),
                      session.job.record(),
                      session.radio.objEep(),
                      {},
                      &session.curves};
    const auto add = [&](ReadoutPage page, int index, std::int16_t value) {
        if (readoutRow(page, index) >= 0 && value >= 0) {
            const ReadoutStamp& read = session.readouts.stamp(page, index);
            input.readouts.push_back({readoutLine(page, index, value), read.occasion, read.at});
        }
    };
    for (int i = 0; i < AdCount; ++i) {
        add(ReadoutPage::AD, i, session.readouts.adLast(i));
    }
    for (int i = 0; i < DaCount; ++i) {
        add(ReadoutPage::DA, i, session.readouts.daLast(i));
    }
    return serviceReportHtml(input, form);
}
