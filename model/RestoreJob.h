// SPDX-License-Identifier: GPL-3.0-or-later
// Puts a radio's memory back: a revert sends every adjustment byte that differs from the
// target with its live command, one per turn of the model's task, each followed by the wait
// the console keeps after a live command; a full write sends the whole image with the clone
// write. Both end with a clone read that verifies the radio against the target and say what
// it found; the image and the console then show what the radio holds. After a write every
// value goes to the radio once more, and the job says what it found only after the last one.
//
//   plan = RestoreJob::revertPlan(backup, image, "the backup ...");   // Power(Hi) 131 -> 128
//   job.startRevert(plan, backup);
//   job.tick()  -> E8 0C 38 30 sent, 0x7A9 := 128, the item shows 128; 200 ms wait
//   job.tick()  -> clone read (identity, E2, records, E5)
//   job.tick()  -> "The VX-K5 is back at the backup ...: all 1 values verified."
#pragma once

#include "model/Progress.h"
#include "model/ServiceRecord.h"
#include "platform/Bytes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class RigView;
struct RigSession;
class clsCmcCln3Drv;
class clsCmcCln3Sequence;
class clsCmcEeprom;
class clsConsole;

class RestoreJob {
  public:
    // The bytes of the adjustment area that differ from the target: from = now, to = target.
    struct Plan {
        std::string source;                  // the target as the messages name it
        std::vector<CellResult> sends;       // reached by a live command
        std::vector<CellResult> notReverted; // no live command reaches them
    };
    static Plan revertPlan(const Bytes& target, const clsCmcEeprom& now, const std::string& source);

    // Its runs go into record.
    RestoreJob(RigSession& session, ServiceRecord& record);

    // The record names the run by what it does unless a name is given ("Recovery after a
    // cut-off").
    void startRevert(const Plan& plan, const Bytes& target, const std::string& name = {});
    void startWrite(const Bytes& target, const std::string& path, const std::string& name = {});
    bool running() const { return stage != Stage::Idle; }
    // One turn of the job in the task's procedure phase, the link idle; true when the phase is
    // done for this cycle, false while the job waits for its operation to end.
    bool tick();
    // The link is reset under the job: it ends. A write cut short leaves the image as the radio
    // held it before, not as the file that may never have reached it.
    void drop();
    Progress progress() const;

  private:
    enum class Stage { Idle, Sending, Writing, WriteSent, VerifySent, Resending };
    enum class Kind { Revert, Write };

    bool sendNext();
    void afterWrite();
    void verify();
    void finish();
    void tell(const std::string& message, bool verified);
    std::string mismatches(int& count) const;
    void consoleFollows(bool resend);
    void note(RunOutcome outcome, const std::string& reason, std::vector<CellResult> results);

    RigSession& s;
    ServiceRecord& record;
    Stage stage = Stage::Idle;
    Kind kind = Kind::Revert;
    Plan plan;
    Bytes target;
    Bytes before; // the image before the job: what the radio held
    std::string source;
    std::size_t next = 0;
    int resendTotal = 0;       // the values marked to go out once more after a write
    std::string resendMessage; // what the write found, told after the last value
    bool resendVerified = false;
    std::string runName;
    QDateTime startedAt;
};
