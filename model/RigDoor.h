// SPDX-License-Identifier: GPL-3.0-or-later
// The one door into the radio. It owns everything that talks to it (the port manager and its
// frame driver, the identity and memory image, the sequencer, the console's items, the test
// channels, the model) and offers the commands a client may give: connect, reload, the dump,
// step an item, Enter, choose the port and its hold time, leave the running procedure, the
// image jobs and the report. What is to be shown goes out through the RigView it was given.
// The window, the command line and the tests are all clients of this door and nothing else.
//
//   RigDoor door(std::make_unique<QtSerialControl>(...), view);
//   door.loadConstants("Const.ini");
//   door.click(RigDoor::Connect);        // the next ticks unlock, clone-read and send
//   every 50 ms: door.tick(); ... door.reportFailure();   // a failure's box outside the tick
//   door.pressEnter(*door.itemOf(ProcedureId::BpfLow));   // "BPF Low ALL" starts its sweep
#pragma once

#include "console/clsConsole.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcRadio.h"
#include "link/frmCom.h"
#include "model/JobProposal.h"
#include "model/ProcedureTable.h"
#include "model/TestChannels.h"
#include "model/clsIndOp_RigK5.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class SerialControl;

class RigDoor : public QObject {
    Q_OBJECT

  public:
    using Button = clsIndOp_RigK5::Button;
    static constexpr Button Connect = clsIndOp_RigK5::Connect;
    static constexpr Button Reload = clsIndOp_RigK5::Reload;
    static constexpr Button DispPara = clsIndOp_RigK5::DispPara;

    // The door on COM 1, not connected; the view outlives it.
    RigDoor(std::unique_ptr<SerialControl> serial, RigView& view);
    ~RigDoor() override;
    RigDoor(const RigDoor&) = delete;
    RigDoor& operator=(const RigDoor&) = delete;

    // --- set-up ---------------------------------------------------------------------------------
    // Reads the model constants; then the buttons and readout lists get their captions. False
    // when the file could not be read or was refused.
    bool loadConstants(const std::string& file);
    // Where every Connect's backup goes; empty: "backups" in the per-user data folder.
    void setBackupFolder(const std::string& folder);

    // --- the radio ------------------------------------------------------------------------------
    // One of the window's three buttons: Connect, Reload, Disp para (which also leaves the
    // dump). Every click first ends a running procedure.
    void click(Button button);
    // A key on the console: the item at row steps by `by` (negative: down); false when there is
    // no such item or a revert or write is putting the radio back (the items take no keys then).
    bool stepItem(int row, int by);
    // Enter on the item at row; false as for stepItem.
    bool pressEnter(int row);
    // The console's row of a procedure's item; nothing before the constants were read.
    std::optional<int> itemOf(ProcedureId procedure) const;
    int itemCount() const { return items.ListCount(); }
    // Puts back what a running procedure changed, in the radio and the image.
    void leaveProcedure() { rig.RigOpFunc_LeaveProcedure(); }

    // --- the port -------------------------------------------------------------------------------
    // The COM numbers a port may have, as the technician reads them ("COM 1" to "COM 10").
    static constexpr std::int16_t FirstPort = frmCom::imdMinComPortNum;
    static constexpr std::int16_t LastPort = frmCom::imdmaxComPortNum;
    // A new port number disconnects (a running procedure is left on the old port first).
    void setPort(std::int16_t number) { rig.RigOpFunc_SetComPortNo(number); }
    std::int16_t port() const { return rig.myComPortNoNow(); }
    bool portOpen() const { return com.comOpen(); }
    // Milliseconds the port stays open after the last operation; 0: it is never released.
    void setHoldTime(std::int32_t milliseconds) { sequencer.setComHoldReload(milliseconds); }

    // --- the test channels and the safety net ---------------------------------------------------
    TestChannels& channels() { return testChannels; }
    ServiceJob& job() { return rig.serviceJob(); }
    // Why a revert or a write may not start now; empty when it may.
    std::string jobRefusal() const { return rig.RigOpFunc_JobRefusal(); }
    void startRevert(const RestoreJob::Plan& plan) { rig.RigOpFunc_StartRevert(plan); }
    void startWrite(const Bytes& image, const std::string& path) {
        rig.RigOpFunc_StartWrite(image, path);
    }
    bool jobRunning() const { return rig.RigProp_JobRunning(); }
    // A revert to the job's target, or a write of the image file at path, with the question it
    // asks; carryOut starts it once the answer is Yes.
    JobProposal proposeRevert() { return job_proposal::revert(jobRefusal(), job()); }
    JobProposal proposeWrite(const std::string& path) {
        return job_proposal::write(jobRefusal(), job(), path);
    }
    void carryOut(const JobProposal& proposal);
    std::string reportHtml(ReportForm form = ReportForm::Page) const {
        return rig.RigOpFunc_ReportHtml(form);
    }

    // --- what a client may look at --------------------------------------------------------------
    bool connected() const { return rig.RigProp_EditEnabled() || rig.RigProp_DispPara(); }
    bool editEnabled() const { return rig.RigProp_EditEnabled(); }
    bool dumpShown() const { return rig.RigProp_DispPara(); }
    // Connected with every value sent, no key waiting, no operation, procedure or job running:
    // what a client waits for between two commands.
    bool settled() const;
    // The step of the running procedure; 0 when none runs.
    std::int16_t procedureStep() const { return rig.adjStepNow(); }
    std::optional<Progress> progressNow() const { return rig.progressNow(); }
    std::string identityText() const { return rig.identityText(); }
    const CurveLog& curves() const { return rig.curves(); }
    const TxfTable& txfTable() const { return rig.txfTable(); }
    const Readouts& readouts() const { return rig.readouts(); }
    const clsCmcEeprom& image() const { return identity.objEep(); }
    const clsCmcRadio& radio() const { return identity; }
    // Why the link failed last (the message the view was given); empty while none has since the
    // door was built or the last Connect.
    const std::string& lastFailure() const { return failure; }

    // --- the tick -------------------------------------------------------------------------------
    // One tick of the link and the model: the bytes received, the sequencer's step, the model's
    // task. A failure on the way resets the model at once; its message waits for reportFailure.
    void tick();
    // Shows the failure of the last tick, once. Called after the tick has ended, so that a
    // message box's own event loop never runs inside a tick.
    void reportFailure();
    // Milliseconds until the next wait of the model or the link falls due (the wait after a
    // live command, an echo or answer deadline, the port's release); 0 when none runs.
    std::int32_t msUntilDue();
    // The end: a running procedure put back, the port closed.
    void shutDown();
    // Ticks that ran (for the tests that prove no tick ran inside a message box).
    long ticksRun() const { return tickCount; }
    // True while tick() runs (for the tests that prove a failure's box opens after it).
    bool ticking() const { return inTick; }

    // The parts below the door, for the tests and the bench only: a client works through the
    // commands above.
    frmCom& portManager() { return com; }
    clsCmcCln3Sequence& seq() { return sequencer; }
    clsConsole& console() { return items; }
    clsIndOp_RigK5& model() { return rig; }
    clsCmcRadio& identityAndImage() { return identity; }

  signals:
    // Bytes arrived or the port went away: a tick now rather than at the next timer tick.
    void wantsTick();

  private:
    // A failure of the link: its message chosen from the link's state now, the model reset.
    void linkFailed();

    RigView& view;
    frmCom com;
    clsCmcRadio identity;
    clsCmcCln3Sequence sequencer;
    TestChannels testChannels;
    clsConsole items;
    clsIndOp_RigK5 rig;
    std::string failure;
    bool failureToShow = false;
    long tickCount = 0;
    bool inTick = false;
};
