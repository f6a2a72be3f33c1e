// SPDX-License-Identifier: GPL-3.0-or-later
// The revert and the full write of a radio's memory, each verified by a clone read.
#include "model/RestoreJob.h"

#include "common/CommonRoutines.h"
#include "link/clsCmcCln3Drv.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcEeprom.h"
#include "model/ImageCompare.h"
#include "model/ImageFile.h"
#include "model/ItemTable.h"
#include "model/JobMessages.h"
#include "model/MemoryMap.h"
#include "model/ModelLog.h"
#include "model/RigSession.h"
#include "model/RigView.h"

namespace {

constexpr std::int32_t WaitAfterSendMs = 200; // as after an item's own live command
const char* const WriteCut =
    "The write did not complete; the radio's memory is unknown until it is read again.";
const char* const LinkReset = "Ended by a reset of the link before it was verified.";

// The message as one line of the report: its lines joined.
std::string oneLine(const std::string& message) {
    std::string line;
    std::size_t start = 0;
    while (start <= message.size()) {
        const std::size_t end = std::min(message.find("\r\n", start), message.size());
        if (end > start) {
            line += (line.empty() ? "" : " ") + message.substr(start, end - start);
        }
        start = end + 2;
    }
    return line;
}

} // namespace

RestoreJob::Plan RestoreJob::revertPlan(const Bytes& target, const clsCmcEeprom& now,
                                        const std::string& source) {
    Plan plan{source, {}, {}};
    for (const CellResult& cell : areaDifferences(now.ReadBlock(0, now.eeSize()), target)) {
        (MemoryMap::setterOfCell(cell.address) ? plan.sends : plan.notReverted).push_back(cell);
    }
    return plan;
}

RestoreJob::RestoreJob(RigSession& session, ServiceRecord& record) : s(session), record(record) {}

void RestoreJob::startRevert(const Plan& revert, const Bytes& image, const std::string& name) {
    runName = name.empty() ? "Revert adjustments" : name;
    modellog::started(runName, revert.source);
    kind = Kind::Revert;
    plan = revert;
    source = revert.source;
    target = image;
    before = s.image().ReadBlock(0, s.image().eeSize());
    next = 0;
    startedAt = record.now();
    stage = Stage::Sending;
}

void RestoreJob::startWrite(const Bytes& image, const std::string& path, const std::string& name) {
    runName = name.empty() ? "Write image to radio" : name;
    modellog::started(runName, path);
    kind = Kind::Write;
    plan = {};
    source = path;
    target = image;
    before = s.image().ReadBlock(0, s.image().eeSize());
    startedAt = record.now();
    stage = Stage::Writing;
}

bool RestoreJob::tick() {
    switch (stage) {
    case Stage::Sending:
        if (sendNext()) {
            return true;
        }
        verify();
        return false;
    case Stage::Writing:
        // The clone write sends the image's bytes: the image becomes the file until it is
        // verified, and goes back if the write does not complete.
        s.image().WriteBlock(0, target);
        s.seq.easyCloneWrite();
        stage = Stage::WriteSent;
        return false;
    case Stage::WriteSent:
        afterWrite();
        return !running();
    case Stage::VerifySent:
        finish();
        return true;
    case Stage::Resending:
        // The task's own pass sends the marked values; the job waits for the last of them.
        if (valuesToSend(s.console) == 0) {
            stage = Stage::Idle;
            tell(resendMessage, resendVerified);
        }
        return true;
    case Stage::Idle:
        break;
    }
    return true;
}

// One differing byte to the radio; false when none is left.
bool RestoreJob::sendNext() {
    if (next >= plan.sends.size()) {
        return false;
    }
    const CellResult& cell = plan.sends[next++];
    const MemoryMap::Setter setter = *MemoryMap::setterOfCell(cell.address);
    // A command that did not go out leaves the byte as the radio holds it; the link's own
    // report ends the session, and a verification would show the byte.
    if (s.seq.easySendE8NoAnswer(liveCommandText(setter.command, cell.to + setter.liveOffset))) {
        s.image().WriteByte(cell.address, cell.to);
        reloadItems(
            s.console, [&](std::int32_t a) { return a == cell.address; }, false);
    }
    s.waitAfterSend = WaitAfterSendMs;
    return true;
}

void RestoreJob::afterWrite() {
    if (s.seq.error() == SequencerError::None && s.driver.lastError() == DriverError::None) {
        verify();
        return;
    }
    s.image().WriteBlock(0, before);
    note(RunOutcome::Abandoned, WriteCut, {});
    stage = Stage::Idle;
}

void RestoreJob::verify() {
    // A write is checked over the whole memory, a revert over the adjustments it sent.
    if (kind == Kind::Write) {
        s.driver.setRequiredReadRange(0, ImageFile::Size - 1);
    } else {
        s.driver.setRequiredReadRange(MemoryMap::AreaFirst, MemoryMap::AreaLast);
    }
    s.seq.easyCloneRead();
    stage = Stage::VerifySent;
}

void RestoreJob::finish() {
    namespace text = job_messages;
    int count = 0;
    const std::string lines = mismatches(count);
    std::string message;
    if (kind == Kind::Revert) {
        message = count == 0 ? text::revertVerified(source, static_cast<int>(plan.sends.size()))
                             : text::revertDiffers(source, lines);
        // What no command reaches stays as it is; the technician read it before, and again here.
        if (!plan.notReverted.empty()) {
            message += "\r\n\r\n" + text::notRevertedHeading();
            for (const CellResult& cell : plan.notReverted) {
                message += "\r\n" + text::changeLine(cell.address, cell.from, cell.to);
            }
        }
    } else {
        message = count == 0 ? text::writeVerified(source) : text::writeDiffers(source, lines);
    }
    // After a full write every value goes to the radio once more, as after Connect, so that it
    // works on the memory it now holds. The technician hears what the job found only after the
    // last of them: a cable pulled at the message would cut them off.
    consoleFollows(kind == Kind::Write);
    note(RunOutcome::Completed, oneLine(message),
         areaDifferences(before, s.image().ReadBlock(0, s.image().eeSize())));
    if (kind == Kind::Write) {
        resendTotal = valuesToSend(s.console);
        resendMessage = message;
        resendVerified = count == 0;
        stage = Stage::Resending;
        return;
    }
    stage = Stage::Idle;
    tell(message, count == 0);
}

// A job that verified comes in the information box; one that found the radio otherwise warns.
void RestoreJob::tell(const std::string& message, bool verified) {
    if (verified) {
        s.view.showInformation(message);
    } else {
        s.view.showMessage(message);
    }
}

// The lines of the verification that differ from the target, and how many.
std::string RestoreJob::mismatches(int& count) const {
    std::string lines;
    const auto add = [&](const std::string& line) {
        lines += (lines.empty() ? "" : "\r\n") + line;
        ++count;
    };
    const auto check = [&](std::int32_t a) {
        const int wanted = target.at(static_cast<std::size_t>(a));
        if (s.image().ReadByte(a) != wanted) {
            add(job_messages::mismatchLine(a, s.image().ReadByte(a), wanted));
        }
    };
    if (kind == Kind::Revert) {
        for (const CellResult& cell : plan.sends) {
            check(cell.address);
        }
        return lines;
    }
    for (std::int32_t a = MemoryMap::AreaFirst; a <= MemoryMap::AreaLast; ++a) {
        check(a);
    }
    int outside = 0;
    for (std::int32_t a = 0; a < ImageFile::Size; ++a) {
        const bool inArea = a >= MemoryMap::AreaFirst && a <= MemoryMap::AreaLast;
        outside += !inArea && s.image().ReadByte(a) != target.at(static_cast<std::size_t>(a));
    }
    if (outside > 0) {
        add(job_messages::bytesOutsideArea(outside));
    }
    return lines;
}

void RestoreJob::consoleFollows(bool resend) {
    reloadItems(
        s.console, [](std::int32_t) { return true; }, resend);
}

void RestoreJob::note(RunOutcome outcome, const std::string& reason,
                      std::vector<CellResult> results) {
    record.noteRun({runName, startedAt, outcome, reason, std::move(results)});
}

void RestoreJob::drop() {
    if (stage == Stage::Writing || stage == Stage::WriteSent) {
        s.image().WriteBlock(0, before);
        note(RunOutcome::Abandoned, WriteCut, {});
    } else if (running() && stage != Stage::Resending) { // a resend's write is in the record
        note(RunOutcome::Abandoned, LinkReset, {});
    }
    stage = Stage::Idle;
}

Progress RestoreJob::progress() const {
    switch (stage) {
    case Stage::Sending:
        return {"Sending values", static_cast<int>(next), static_cast<int>(plan.sends.size())};
    case Stage::Writing:
    case Stage::WriteSent:
        return {"Writing memory", s.driver.cloneBytesDone(), ImageFile::Size};
    case Stage::VerifySent:
        return {"Verifying", s.driver.cloneBytesDone(), ImageFile::Size};
    case Stage::Resending:
        return sendingValues(s.console, resendTotal);
    case Stage::Idle:
        break;
    }
    return {};
}
