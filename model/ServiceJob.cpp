// SPDX-License-Identifier: GPL-3.0-or-later
// The service job's safety net.
#include "model/ServiceJob.h"

#include "common/CommonRoutines.h"
#include "common/Product.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcRadio.h"
#include "model/ImageFile.h"
#include "model/JobMessages.h"
#include "model/JournalFile.h"
#include "model/MemoryMap.h"
#include "model/ModelLog.h"
#include "model/Recovery.h"
#include "model/RigSession.h"
#include "model/RigView.h"
#include "platform/UserFolders.h"

#include <QDir>
#include <QFileInfo>

namespace {

const char* const RecoveryRun = "Recovery after a cut-off";

} // namespace

ServiceJob::ServiceJob(RigSession& session, ServiceRecord::Clock clock)
    : s(session), serviceRecord(std::move(clock)), restoreJob(session, serviceRecord) {
    // Every live value the utility stores is one the radio took: that is the record's list.
    image().setWriteObserver([this](std::int32_t adr, std::uint8_t from, std::uint8_t to) {
        if (serviceRecord.hasSession() && adr >= MemoryMap::AreaFirst &&
            adr <= MemoryMap::AreaLast) {
            serviceRecord.noteValue(adr, from, to);
        }
    });
}

ServiceJob::~ServiceJob() {
    image().setWriteObserver({});
}

clsCmcEeprom& ServiceJob::image() const {
    return s.radio.objEep();
}

std::string ServiceJob::backupFolderInUse() const {
    if (!backupFolder.empty()) {
        return backupFolder;
    }
    return platform::userDataFolder() + "/backups";
}

void ServiceJob::connecting() {
    modellog::started("Connect");
    lastKnown = image().ReadBlock(0, image().eeSize());
}

void ServiceJob::connected() {
    const QDateTime at = serviceRecord.now();
    const Bytes memory = image().ReadBlock(0, image().eeSize());
    const std::string folder = backupFolderInUse();
    std::string path;
    if (QDir().mkpath(QString::fromStdString(folder))) {
        path = ImageFile::freePath(folder, ImageFile::backupName(s.radio.radionameS(), at));
        if (!ImageFile::write(path, memory)) {
            path.clear();
        }
    }
    serviceRecord.beginSession(
        {at, s.seq.ComPortNo(), product::RadioName, s.radio.radionameS(), path}, memory, lastKnown);
    if (path.empty()) {
        s.view.showMessage(job_messages::backupFailed(folder));
    }
    offerRecovery();
}

bool ServiceJob::tick() {
    const bool done = restoreJob.tick();
    // Whatever the job found, the technician hears it now: the journal is for a program that
    // ends without a word.
    if (!restoreJob.running()) {
        dropJournal();
    }
    return done;
}

void ServiceJob::drop() {
    if (restoreJob.running()) {
        restoreJob.drop();
        dropJournal(); // the lost link is told at once, as for a procedure
    }
}

std::string ServiceJob::openImage(const std::string& path) {
    ImageFile::ReadResult file = ImageFile::read(path);
    if (!file.ok()) {
        return file.error;
    }
    opened = std::move(file.bytes);
    openedPath = path;
    return {};
}

std::string ServiceJob::saveImage(const std::string& path) const {
    if (!hasSession()) {
        return job_messages::connectFirst();
    }
    if (!ImageFile::write(path, image().ReadBlock(0, ImageFile::Size))) {
        return job_messages::cannotWriteFile(path);
    }
    return {};
}

std::string ServiceJob::suggestedImageName() const {
    return ImageFile::backupName(s.radio.radionameS(), serviceRecord.now());
}

const Bytes& ServiceJob::targetImage() const {
    return opened ? *opened : serviceRecord.imageAtConnect();
}

std::string ServiceJob::targetName() const {
    if (opened) {
        return QFileInfo(QString::fromStdString(openedPath)).fileName().toStdString();
    }
    return "At Connect";
}

std::string ServiceJob::targetSource() const {
    if (opened) {
        return job_messages::fileSource(openedPath);
    }
    const std::vector<SessionStart>& starts = serviceRecord.sessionStarts();
    return job_messages::connectBackupSource(starts.empty() ? "" : starts.front().backupFile);
}

std::vector<CompareLine> ServiceJob::compare(const TxfTable& txf) const {
    return compareImages(targetImage(), image(), txf);
}

std::string ServiceJob::revertRefusal() const {
    // An opened image sends its values to this radio: it must be one of this radio's.
    if (opened && !ImageFile::namesRadio(openedPath, s.radio.radionameS())) {
        return job_messages::imageNotForRadio(openedPath,
                                              ImageFile::namePrefix(s.radio.radionameS()));
    }
    return {};
}

RestoreJob::Plan ServiceJob::revertPlan() const {
    return RestoreJob::revertPlan(targetImage(), image(), targetSource());
}

void ServiceJob::startRevert(const RestoreJob::Plan& plan) {
    keepJobJournal("Revert adjustments");
    restoreJob.startRevert(plan, targetImage());
}

ServiceJob::WriteCheck ServiceJob::checkWrite(const std::string& path) const {
    ImageFile::ReadResult file = ImageFile::read(path);
    if (!file.ok()) {
        return {{}, file.error};
    }
    if (!ImageFile::namesRadio(path, s.radio.radionameS())) {
        return {{},
                job_messages::imageNotForRadio(path, ImageFile::namePrefix(s.radio.radionameS()))};
    }
    return {std::move(file.bytes), {}};
}

std::vector<CellResult> ServiceJob::writeChanges(const Bytes& file) const {
    return areaDifferences(image().ReadBlock(0, image().eeSize()), file);
}

void ServiceJob::startWrite(const Bytes& file, const std::string& path) {
    keepJobJournal("Write image to radio");
    restoreJob.startWrite(file, path);
}

void ServiceJob::keepJournal(const std::string& what, const QDateTime& startedAt,
                             const std::vector<ProcedureJournal::Restore>& restores) {
    std::vector<std::pair<std::int32_t, std::uint8_t>> bytes;
    for (const ProcedureJournal::Restore& r : restores) {
        bytes.emplace_back(r.address, r.stored);
    }
    const std::string sub = s.radio.radionameS();
    if (hasSession() &&
        JournalFile::write(backupFolderInUse(), {sub, what, startedAt, {}, bytes})) {
        journalSubCode = sub;
    }
}

// A job's journal names a backup of the radio as the job found it, written beside the others:
// the adjustments made since Connect are part of what a cut-off job is put back to.
void ServiceJob::keepJobJournal(const char* what) {
    const QDateTime at = serviceRecord.now();
    const std::string sub = s.radio.radionameS();
    const std::string backup =
        ImageFile::freePath(backupFolderInUse(), ImageFile::backupName(sub, at));
    if (ImageFile::write(backup, image().ReadBlock(0, ImageFile::Size)) &&
        JournalFile::write(backupFolderInUse(), {sub, what, at, backup, {}})) {
        journalSubCode = sub;
    }
}

void ServiceJob::dropJournal() {
    if (!journalSubCode.empty()) {
        JournalFile::remove(backupFolderInUse(), journalSubCode);
        journalSubCode.clear();
    }
}

// A journal left for this radio: the run it names was cut off. Its file stays until the bytes
// are back (a put-back cut off in turn is offered again) or the technician says No.
void ServiceJob::offerRecovery() {
    const std::string sub = s.radio.radionameS();
    const std::optional<JournalEntry> entry = JournalFile::read(backupFolderInUse(), sub);
    if (!entry) {
        return;
    }
    const Recovery offer = Recovery::of(*entry, image());
    journalSubCode = sub;
    if (offer.kind == Recovery::Kind::Nothing) {
        dropJournal(); // the radio holds the values from before the run already
        return;
    }
    if (offer.kind == Recovery::Kind::Unreadable) {
        // Nothing the program could put back: the technician is told what is missing, once.
        s.view.showMessage(offer.question);
        noteRecovery(RunOutcome::Refused, firstLine(offer.question));
        dropJournal();
        return;
    }
    if (!s.view.askYesNo(offer.question, offer.lines)) {
        noteRecovery(RunOutcome::Refused, Recovery::leftAsItWas(*entry));
        dropJournal();
        return;
    }
    // The put-back is a job of its own: the record notes it, under this name, when it ends
    // and with what it found; its journal stays until it is verified.
    if (offer.kind == Recovery::Kind::Write) {
        restoreJob.startWrite(offer.target, entry->backupFile, RecoveryRun);
    } else {
        restoreJob.startRevert(offer.plan, offer.target, RecoveryRun);
    }
}

void ServiceJob::noteRecovery(RunOutcome outcome, const std::string& reason) {
    serviceRecord.noteRun({RecoveryRun, serviceRecord.now(), outcome, reason, {}});
}
