// SPDX-License-Identifier: GPL-3.0-or-later
// The safety net of a service job. At every Connect the radio's memory goes to a backup file
// before any value is sent; every value that changes and every procedure run goes into the
// service record; an image file may be opened to compare the radio with and to revert it to;
// and a revert or a full write puts a radio back, verified.
//
//   job.connected();                 // after Connect's clone read: backups/VX-K5_0001_....img
//   job.openImage("/jobs/before.img");
//   job.revertPlan()                 // what a revert to before.img would send
//   job.startRevert(plan);           // the task runs it, one live command per turn
#pragma once

#include "model/ImageCompare.h"
#include "model/ProcedureJournal.h"
#include "model/RestoreJob.h"
#include "model/ServiceRecord.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class RigView;
struct RigSession;
class TxfTable;
class clsCmcCln3Drv;
class clsCmcCln3Sequence;
class clsCmcRadio;
class clsConsole;

class ServiceJob {
  public:
    explicit ServiceJob(RigSession& session, ServiceRecord::Clock clock = {});
    ~ServiceJob();
    ServiceJob(const ServiceJob&) = delete;
    ServiceJob& operator=(const ServiceJob&) = delete;

    // Where the backups go; empty: "backups" in the per-user data folder.
    void setBackupFolder(const std::string& folder) { backupFolder = folder; }
    std::string backupFolderInUse() const;

    // --- the model's task --------------------------------------------------------------------
    // Connect was clicked: the image still holds the radio as the utility last knew it.
    void connecting();
    // Connect's clone read is in: the backup is written and the record goes on or starts.
    void connected();
    bool busy() const { return restoreJob.running(); }
    bool tick();
    void drop();
    Progress progress() const { return restoreJob.progress(); }

    // --- the File menu -----------------------------------------------------------------------
    const ServiceRecord& record() const { return serviceRecord; }
    ServiceRecord& record() { return serviceRecord; }
    bool hasSession() const { return serviceRecord.hasSession(); }
    // Each answers what the technician must be told; empty when it was done.
    std::string openImage(const std::string& path);
    std::string saveImage(const std::string& path) const;
    // A name for a new image of the connected radio: "VX-K5_0001_20261206-140307.img".
    std::string suggestedImageName() const;

    // The image compare and revert go back to: the one opened, else this session's backup.
    const Bytes& targetImage() const;
    // The target as a column heading ("before.img") and as a message names it.
    std::string targetName() const;
    std::string targetSource() const;
    std::vector<CompareLine> compare(const TxfTable& txf) const;

    // A revert to the target; a refusal when the opened image is of another radio.
    std::string revertRefusal() const;
    RestoreJob::Plan revertPlan() const;
    void startRevert(const RestoreJob::Plan& plan);

    // A full write of an image file: the image, or why it may not be written.
    struct WriteCheck {
        Bytes image;
        std::string refusal;
    };
    WriteCheck checkWrite(const std::string& path) const;
    // The adjustments a write of image would change.
    std::vector<CellResult> writeChanges(const Bytes& image) const;
    void startWrite(const Bytes& image, const std::string& path);

    // --- the journal on disk: a run cut off by the program's end is offered back -----------
    // A procedure's bytes so far, a new one among them, before its command goes out.
    void keepJournal(const std::string& what, const QDateTime& startedAt,
                     const std::vector<ProcedureJournal::Restore>& restores);
    // The run is over: its journal goes.
    void dropJournal();

  private:
    clsCmcEeprom& image() const;
    void keepJobJournal(const char* what);
    void offerRecovery();
    void noteRecovery(RunOutcome outcome, const std::string& reason);

    RigSession& s;
    ServiceRecord serviceRecord;
    RestoreJob restoreJob;
    std::string backupFolder;
    Bytes lastKnown; // the image as it stood when Connect was clicked
    std::optional<Bytes> opened;
    std::string openedPath;
    std::string journalSubCode; // the radio whose journal is on disk; empty when none is
};
