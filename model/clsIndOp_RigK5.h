// SPDX-License-Identifier: GPL-3.0-or-later
// The VX-K5 model object: what the window's buttons and the console reach, and the task the
// tick runs. It builds the console's 23 items, hands their events to the procedures, keeps the
// readouts and the TXF table, and tells the window what to show through RigView.
//
// A typical exchange after "Connect": the technician steps "   Power(Hi)" to 128; the task
// hands the change to the console, which sends the E8 text "0C3830" (command 0x0C, then the
// characters "8" and "0") and asks the model to wait 200 ms before the task goes on.
#pragma once

#include "console/ConsoleEvents.h"
#include "model/ModelTask.h"
#include "model/RigSession.h"
#include "model/ServiceReport.h"

#include <cstdint>
#include <optional>
#include <string>

class RigView;
class TestChannels;
class clsCmcCln3Drv;
class clsCmcCln3Sequence;
class clsCmcRadio;
class clsConsole;

class clsIndOp_RigK5 : public ConsoleEvents {
  public:
    using Link = RigSession::Link;
    // The window's three buttons.
    enum Button : std::int16_t { Connect = 0, Reload = 1, DispPara = 2 };

    // Port 1, the item table built, not connected.
    clsIndOp_RigK5(const Link& link, clsConsole& console, TestChannels& channels, RigView& view);
    ~clsIndOp_RigK5() override;
    clsIndOp_RigK5(const clsIndOp_RigK5&) = delete;
    clsIndOp_RigK5& operator=(const clsIndOp_RigK5&) = delete;

    // Back to "not connected": sequencer reset on our port, captions, the 23 items rebuilt. A
    // procedure still running is dropped without a word to the radio: the link is being reset
    // (an error, a new port, a new Connect after its own clean-up).
    void RigOpFunc_ResetAll();
    // Leaves a running procedure before the program ends: every byte it changed goes back to
    // the radio and the image as the procedure found it.
    void RigOpFunc_LeaveProcedure();
    // A click on button Index; every click first ends a running procedure.
    void RigOpFunc_ClickCmd00(std::int16_t Index);
    // A new port number disconnects (after leaving a running procedure on the old port).
    void RigOpFunc_SetComPortNo(std::int16_t portNo);
    // The captions of the buttons and the readout lists with their placeholders.
    void RigOpFunc_FormResource();
    // The window shows the page of the mode the model is in.
    void RigOpFunc_FormState();
    // Reads the constants file; true when it was accepted.
    bool RigProp_ReadParametersFromExtFile(const std::string& fileName = "Const.ini");
    // One tick of the model's task; the window then shows the mode the model is in. After
    // LinkFailed the caller resets the model and reports why.
    [[nodiscard]] TaskOutcome task();
    // Milliseconds until the model's own wait is over; 0 when none runs.
    std::int32_t msUntilDue() { return modelTask.msUntilDue(); }

    // --- the service job's safety net ---------------------------------------------------------
    ServiceJob& serviceJob() { return session.job; }
    // Why a revert or a write may not start now (not connected, an adjustment running); empty
    // when it may.
    std::string RigOpFunc_JobRefusal() const;
    // Both leave the dump first: the task runs them in the console's cycle.
    void RigOpFunc_StartRevert(const RestoreJob::Plan& plan);
    void RigOpFunc_StartWrite(const Bytes& image, const std::string& path);
    bool RigProp_JobRunning() const { return session.job.busy(); }
    // What the utility is busy with: Connect (the phase in words, the clone read's bytes or the
    // values sent), a revert or a write, or the running procedure; nothing when idle.
    std::optional<Progress> progressNow() const;
    // The connected radio and its port ("VX-K5 0001 on COM 1"); empty when not connected.
    std::string identityText() const;
    // The service report as it stands now, in the form asked for.
    std::string RigOpFunc_ReportHtml(ReportForm form = ReportForm::Page) const;

    bool RigProp_EditEnabled() const { return modelTask.editEnabled(); }
    bool RigProp_DispPara() const { return modelTask.dumpShown(); }
    bool RigProp_Shielding() const { return !RigProp_EditEnabled() && !RigProp_DispPara(); }
    // The radio's own rule for its sub code: the first two characters compare at most "00"
    // as text. For the four hex digits of the two sub code bytes this accepts exactly the
    // radios whose first sub code byte is 0: "0001" and "00FF" pass, "0100" does not, and so
    // does an empty text.
    static bool RigOpFunc_CheckSubNameLegal(const std::string& nameS);

    // ConsoleEvents
    std::string ConsEv_Disp(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                            std::int16_t val) override;
    void ConsEv_SendE8(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                       std::int16_t val) override;
    void ConsEv_Enter(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                      std::int16_t val) override;
    void WaitE8Required(std::int32_t wt) override { session.waitAfterSend = wt; }

    const TxfTable& txfTable() const { return session.txf; }
    const CurveLog& curves() const { return session.curves; }
    const Readouts& readouts() const { return session.readouts; }
    const ItemIndexes& indexes() const { return session.indexes; }
    TaskPhase taskPhaseNow() const { return modelTask.phase(); }
    std::int16_t adjStepNow() const { return session.procedures.step(); }
    std::int16_t myComPortNoNow() const { return myComPortNo; }

  private:
    std::string channelLine(const std::string& title, std::int16_t val);

    RigSession session;
    ModelTask modelTask;
    std::int16_t myComPortNo = 1;
};
