// SPDX-License-Identifier: GPL-3.0-or-later
// The record of one service job, from the Connect that read the radio to the report: where and
// when the radio was read and backed up, its memory at that moment, every value that changed
// in it since (item, old, new, when), and every adjustment procedure run with its outcome.
// Reconnecting to the same radio (its adjustments as the utility last knew them) continues the
// job; any other radio starts a new one.
//
//   record.beginSession({now, 1, "VX-K5", "0001", "VX-K5_0001_20261206-140307.img"}, image);
//   record.noteValue(0x7A9, 128, 131);          // "Power(Hi)" stepped up three times
//   record.noteRun({"BPF Low ALL", now, RunOutcome::Completed, "", {{0x7B0, 90, 92}, ...}});
#pragma once

#include "platform/Bytes.h"

#include <QDateTime>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct SessionStart {
    QDateTime at;
    int comPort = 0;
    std::string model;
    std::string subCode;
    std::string backupFile; // the full path; empty when the backup could not be written
};

struct SentValue {
    QDateTime at;
    std::int32_t address = 0;
    int from = 0;
    int to = 0;
};

// A byte a run touched: its value before the run and after it.
struct CellResult {
    std::int32_t address = 0;
    int from = 0;
    int to = 0;
};

enum class RunOutcome {
    Completed,          // reached its end; its values stand
    EndedWithoutResult, // ended itself without a sound result; its values were put back
    Abandoned,          // left before its end
    Refused,            // never started
};
// The outcome in the words of the report and the log: "Ended without result".
const char* outcomeText(RunOutcome outcome);

struct ProcedureRun {
    std::string name;
    QDateTime at;
    RunOutcome outcome = RunOutcome::Completed;
    std::string reason; // why it ended so, in the technician's words; empty when completed
    std::vector<CellResult> results;
    QDateTime endedAt{}; // stamped by the record when the run is noted, at its end
};

class ServiceRecord {
  public:
    using Clock = std::function<QDateTime()>;

    // Without a clock the local time is used.
    explicit ServiceRecord(Clock clock = {});

    QDateTime now() const;

    // A Connect has read the radio: image is its whole memory. The job goes on when the radio
    // holds what the record last knew of it (lastKnown); otherwise a new job starts.
    void beginSession(const SessionStart& start, const Bytes& image, const Bytes& lastKnown);
    bool hasSession() const { return !connects.empty(); }
    // The first Connect of the job and the ones that continued it.
    const std::vector<SessionStart>& sessionStarts() const { return connects; }
    // The radio's memory as the job's first Connect read it.
    const Bytes& imageAtConnect() const { return firstImage; }

    void noteValue(std::int32_t address, int from, int to);
    void noteRun(ProcedureRun run);

    const std::vector<SentValue>& valuesSent() const { return values; }
    const std::vector<ProcedureRun>& runs() const { return procedureRuns; }

    // The file this program session logs to, for support; empty while there is none. It
    // belongs to the program's session, not to the job: a new job keeps it.
    void setSessionLog(std::string path) { logFile = std::move(path); }
    const std::string& sessionLog() const { return logFile; }

  private:
    Clock clock;
    std::vector<SessionStart> connects;
    Bytes firstImage;
    std::vector<SentValue> values;
    std::vector<ProcedureRun> procedureRuns;
    std::string logFile;
};
