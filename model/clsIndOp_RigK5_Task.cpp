// The model task (26 phases), the console events, the buttons and the E8 answer checks.
#include "model/clsIndOp_RigK5.h"

#include "app/common/CommonRoutines.h"
#include "console/clsConsole.h"
#include "link/LinkGlobals.h"
#include "link/LinkHost.h"
#include "link/clsCmcCln3Drv.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcRadio.h"
#include "link/frmCom.h"
#include "model/NumberPicture.h"
#include "model/ProcedureMessages.h"
#include "model/RigHost.h"
#include "model/clsIndEep_RigK5.h"
#include "model/clsRig_Ch.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include <tuple>

namespace {

constexpr std::int16_t PhaseCount = 26;
constexpr std::int32_t AdjustmentAreaFirst = 0x7A8;
constexpr std::int32_t AdjustmentAreaLast = 0x7E7;
// E8 command 0x00 with the ten characters that open the radio's adjustment state.
const char* const UnlockE8Text = "00"
                                 "35526B39547A33577131";

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

void clsIndOp_RigK5::task() {
    clsCmcCln3Sequence& seq = gObjSeq();
    if (seq.OpRunning()) {
        return;
    }
    if (waitE8 > 0) {
        waitTick.setCounter(waitE8);
        waitE8 = 0;
    }
    if (waitTick.counter() > 0) {
        return;
    }
    for (;;) {
        auto next = static_cast<std::int16_t>((taskPhase + 1) % PhaseCount);
        const bool done = runPhase(taskPhase, next);
        if (done) {
            phaseEntry = true;
            taskPhase = next;
        } else {
            phaseEntry = false;
        }
        if (commError) {
            if (rigHost() != nullptr) {
                rigHost()->MsgBoxCloneErr(seq);
            }
            RigOpFunc_ResetAll();
            break;
        }
        if (seq.OpRunning() || !done || taskPhase == 24) {
            break;
        }
    }
    RigOpFunc_FormState();
}

// One pass of a phase; true when the phase is done. May change next.
bool clsIndOp_RigK5::runPhase(std::int16_t phase, std::int16_t& next) {
    clsCmcCln3Sequence& seq = gObjSeq();
    clsConsole& items = console();
    switch (phase) {
    case 0:
        return false;
    case 1:
        return true;
    case 2:
        // A refused unlock ends in the port manager's report on this same tick.
        std::ignore = seq.easySendE8NoAnswer(UnlockE8Text);
        return true;
    case 3:
        if (phaseEntry) {
            // The items and the dump live in the adjustment area: a read that lost any of it
            // must fail rather than load and send stale bytes.
            gObjCom()->cln3D.setRequiredReadRange(AdjustmentAreaFirst, AdjustmentAreaLast);
            seq.easyCloneRead();
            return false;
        }
        radioNameBytes = HexToByteStr(gObjRadio().radioNameM() + gObjRadio().radionameS());
        for (std::int16_t i = 0; i < items.ListCount(); ++i) {
            items.ReadFromEe(i);
            items.setFlgChanged(i, true);
        }
        reloadRequest = true;
        return true;
    case 4:
        reloadNow = reloadRequest;
        reloadRequest = false;
        return true;
    case 5:
    case 6:
    case 7:
        return readoutPhase(ReadoutPage::AD, static_cast<std::int16_t>(phase - 5));
    case 8:
    case 9:
    case 10:
        return readoutPhase(ReadoutPage::AD, static_cast<std::int16_t>(phase - 8));
    case 21:
        for (std::int16_t i = 0; i < items.ListCount(); ++i) {
            if (items.flgChanged(i)) {
                items.setFlgChanged(i, false);
                items.SendE8(i);
                if (seq.OpRunning()) {
                    return false; // the rest goes on a later pass, scanning from the top
                }
            }
        }
        return true;
    case 22:
        for (std::int16_t i = 0; i < items.ListCount(); ++i) {
            if (items.flgEnterOn(i) && items.Event_Enter(i) >= 0) {
                items.setFlgEnterOn(i, false);
                items.EnterExec(i);
                break;
            }
        }
        return true;
    case 23:
        return RigOpProc_Dispatch();
    case 24:
        if (dispParaRequest) {
            RigOpFunc_PrepareConsole();
            next = 25;
        } else {
            next = 4;
        }
        return true;
    case 25:
        if (phaseEntry && rigHost() != nullptr) {
            if (!dump) {
                dump = std::make_unique<clsIndEep_RigK5>();
            }
            dump->RigEep_DispPara(&rigHost()->txtDispPara(), gObjRadio().objEep(),
                                  [this](std::int16_t n) { return RigOp_Table_Txf_TempBorder(n); });
        }
        if (!dispParaRequest) {
            next = 24;
            if (rigHost() != nullptr) {
                rigHost()->cmd00(2).setFocus();
            }
            return true;
        }
        return false;
    default:
        if (inRange(phase, 11, 20)) {
            return readoutPhase(ReadoutPage::DA, static_cast<std::int16_t>(phase - 11));
        }
        return true;
    }
}

bool clsIndOp_RigK5::readoutPhase(ReadoutPage page, std::int16_t index) {
    if (!reloadNow) {
        return true;
    }
    bool done = false;
    if (page == ReadoutPage::AD) {
        RigOpDisp_AD(index, phaseEntry, done);
    } else {
        RigOpDisp_DA(index, phaseEntry, done);
    }
    return done;
}

std::string clsIndOp_RigK5::ConsEv_Disp(clsConsole& objConsole, std::int16_t Index,
                                        std::int16_t evNo, std::int16_t val) {
    const std::string title = objConsole.Title(Index);
    switch (evNo) {
    case 0: {
        curChNo = val;
        std::string text = title + ": " + twoDigits(val);
        if (rigHost() != nullptr) {
            const clsRig_Ch& ch = rigHost()->ChUnit(curChNo);
            if (ch.AppearCh()) {
                text += " (Frequency = " + ch.FreqOp_String() + " ) " +
                        " RF Power: " + ch.RFPower_String();
            }
        }
        return text;
    }
    case 1: {
        if (!inRange(adjStep, 54, 58) || rigHost() == nullptr) {
            return title + ": [Enter] to Start";
        }
        objConsole.setValue(0, 0);
        objConsole.setFlgChanged(0, true);
        const clsRig_Ch& ch = rigHost()->ChUnit(curChNo);
        double mhz = ch.FreqOp_Pure() / 100000.0;
        if (txfSecond) {
            mhz *= 1.00001;
        }
        return title + (txfSecond ? ": 2nd TX Freq = " : ": 1st TX Freq = ") +
               numberPicture(mhz, 3, 5) + "MHz" +
               ", Setting = " + rightField(std::to_string(val), 3) + objConsole.BarString(Index);
    }
    case 2:
        return title + ": [Enter] to Start";
    case 3:
        return title + ": [Enter] to Stop";
    case 4:
        if (inRange(adjStep, 8, 11)) {
            return title + ": Setting = " + rightField(std::to_string(val), 3) +
                   objConsole.BarString(Index);
        }
        return title + ": [Enter] to Start";
    case 5:
    case 6:
    case 7: {
        const int band = evNo - 5;
        const std::int16_t allItems[3] = {idxBpfLowAll, idxBpfMidAll, idxBpfHighAll};
        const int firstStep = 12 + 14 * band;
        if (Index == allItems[band] && inRange(adjStep, firstStep, firstStep + 13)) {
            curChNo = static_cast<std::int16_t>(band + 1);
            objConsole.setValue(0, curChNo);
            objConsole.setFlgChanged(0, true);
            return title + ": Sweeping";
        }
        return title + ": [Enter] to Sweep";
    }
    case 8:
        return title + ": [Enter] to Set";
    default:
        return "???";
    }
}

void clsIndOp_RigK5::ConsEv_SendE8(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                                   std::int16_t /*val*/) {
    if (evNo != 0 || rigHost() == nullptr) {
        return;
    }
    const clsRig_Ch& ch = rigHost()->ChUnit(curChNo);
    if (!ch.AppearCh()) {
        return;
    }
    std::string text = IntToHex2(objConsole.E8Command(Index));
    for (std::uint8_t byte :
         packedChannel(ch.FreqOp_Pure(), ch.FreqOpRef_Pure() != 0, ch.RFPower_Pure() != 0)) {
        text += IntToAsciiHex2(byte);
    }
    // The channel has no byte in the image; a refused send shows in the link's error state.
    std::ignore = gObjSeq().easySendE8NoAnswer(text);
    curChNo = 0;
}

void clsIndOp_RigK5::ConsEv_Enter(clsConsole& /*objConsole*/, std::int16_t /*Index*/,
                                  std::int16_t evNo, std::int16_t /*val*/) {
    switch (evNo) {
    case 0:
        startProcedure(1);
        break;
    case 1:
        startProcedure(4);
        break;
    case 2:
        startProcedure(6);
        break;
    case 3:
        if (inRange(adjStep, 8, 11)) {
            modNext = true; // a second Enter ends the running procedure instead of restarting it
        } else {
            startProcedure(8);
        }
        break;
    case 4:
    case 5:
    case 6: {
        // The sweeps work on test channels 1, 2 and 3 (low, middle, high band).
        const auto band = static_cast<std::int16_t>(evNo - 4);
        static const char* const names[] = {"BPF Low ALL", "BPF Mid ALL", "BPF High ALL"};
        if (testChannelReady(static_cast<std::int16_t>(band + 1), names[band])) {
            startProcedure(static_cast<std::int16_t>(12 + 14 * band));
        }
        break;
    }
    case 7:
        if (inRange(adjStep, 54, 58)) {
            txfNext = true;
        } else if (testChannelReady(0, "TXF")) {
            startProcedure(54);
            txfSecond = false;
            txfFullWrite = false;
        }
        break;
    case 8:
        startProcedure(59);
        break;
    default:
        break;
    }
}

void clsIndOp_RigK5::startProcedure(std::int16_t firstStep) {
    RigOpFunc_PrepareConsole();
    adjStep = firstStep;
    journal.begin(gObjRadio().objEep());
}

bool clsIndOp_RigK5::testChannelReady(std::int16_t channel, const std::string& procedure) {
    // A hidden channel is never sent to the radio: the procedure would run on whatever the
    // radio was tuned to last.
    if (rigHost() == nullptr || rigHost()->ChUnit(channel).AppearCh()) {
        return true;
    }
    MsgBoxProduct(procedure_messages::channelNotSetUp(procedure, twoDigits(channel)));
    return false;
}

void clsIndOp_RigK5::RigOpFunc_ClickCmd00(std::int16_t Index) {
    RigOpFunc_PrepareConsole();
    switch (Index) {
    case 0:
        RigOpFunc_ResetAll();
        taskPhase = 1;
        phaseEntry = true;
        break;
    case 1:
        if (RigProp_EditEnabled()) {
            reloadRequest = true;
        }
        break;
    case 2:
        if (RigProp_EditEnabled()) {
            dispParaRequest = true;
        } else if (RigProp_DispPara()) {
            dispParaRequest = false;
        }
        break;
    default:
        break;
    }
}

void clsIndOp_RigK5::RigOpFunc_SetComPortNo(std::int16_t portNo) {
    if (portNo != myComPortNo) {
        RigOpFunc_LeaveProcedure(); // on the port the procedure ran on
        myComPortNo = portNo;
        RigOpFunc_ResetAll();
    }
}

bool clsIndOp_RigK5::RigOpFunc_CheckSubNameLegal(const std::string& nameS) {
    return subNameIsLegal(nameS);
}

bool clsIndOp_RigK5::RigOpFunc_E8AnswerIllegal(const Bytes& answer) const {
    if (answer.size() != 7) {
        return true;
    }
    const Bytes& last = gObjCom()->cln3D.varLastE8Answer();
    if (last.size() < radioNameBytes.size() ||
        !std::equal(radioNameBytes.begin(), radioNameBytes.end(), last.begin())) {
        return true;
    }
    return hexDigitValue(static_cast<char>(answer[5])) < 0 ||
           hexDigitValue(static_cast<char>(answer[6])) < 0;
}

std::int16_t clsIndOp_RigK5::RigOpFunc_E8AnswerValue(const Bytes& answer) const {
    return static_cast<std::int16_t>(HexAsciiToInt({answer.at(5), answer.at(6)}) & 0xFF);
}
