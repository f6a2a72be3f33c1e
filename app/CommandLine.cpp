// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's composition root and the state machine of its commands.
#include "app/CommandLine.h"

#include "app/SettingsFile.h"
#include "common/Product.h"
#include "model/JobMessages.h"
#include "model/ServiceJob.h"
#include "model/TestChannelSettings.h"
#include "platform/QtSerialControl.h"
#include "platform/SerialControl.h"
#include "platform/WriteAccess.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

namespace {

const char* const NeedsYes = "Nothing was changed: give --yes to answer Yes.";

clsCmcProfileIO openSettings(const std::string& file, const std::string& folder,
                             const std::string& userFolder) {
    if (file.empty()) {
        return settings_file::open(folder, userFolder);
    }
    // A settings file named on the command line is the only one read.
    const QFileInfo info(QString::fromStdString(file));
    const std::string dir = info.absolutePath().toStdString() + "/";
    return settings_file::open(dir, dir, info.fileName().toStdString());
}

QJsonObject runFields(const std::string& command, const ProcedureRun& run) {
    return {{"command", QString::fromStdString(command)},
            {"name", QString::fromStdString(run.name)},
            {"outcome", outcomeText(run.outcome)},
            {"reason", QString::fromStdString(run.reason)}};
}

std::string runText(const ProcedureRun& run) {
    return run.name + ": " + outcomeText(run.outcome) +
           (run.reason.empty() ? "" : " (" + run.reason + ")");
}

} // namespace

CommandLine::CommandLine(const CliRequest& asked, std::ostream& out, std::ostream& err,
                         const Places& where, std::unique_ptr<SerialControl> serial)
    : request(asked), places(where), output(out, err, asked.json, where.terminal),
      view(err, asked.yes),
      profile(openSettings(asked.settings, where.settingsFolder, where.userSettingsFolder)),
      radio(openSerial(std::move(serial)), view) {
    view.setBeforeSaying([this] { output.endProgress(); });
    radio.setBackupFolder(places.backupFolder);
    connect(&radio, &RigDoor::wantsTick, this, &CommandLine::tick);
}

CommandLine::~CommandLine() {
    radio.shutDown();
}

std::unique_ptr<SerialControl> CommandLine::openSerial(std::unique_ptr<SerialControl> serial) {
    if (serial) {
        return serial;
    }
    std::string devicePorts;
    if (!request.port.empty() && comNumber(request.port) == 0) {
        // A device path becomes COM 1's mapping in a settings file of its own, read first.
        portsFolder = std::make_unique<QTemporaryDir>();
        devicePorts = portsFolder->filePath("ports.ini").toStdString();
        platform::replaceFile(devicePorts, "[" + std::string(QtSerialControl::PortsSection) +
                                               "]\n" + QtSerialControl::portsKey(1) + "=" +
                                               request.port + "\n");
    }
    return std::make_unique<QtSerialControl>(QtSerialControl::PortsFiles([this, devicePorts] {
        std::vector<std::string> files = profile.PortsProfiles();
        if (!devicePorts.empty()) {
            files.insert(files.begin(), devicePorts);
        }
        return files;
    }));
}

std::int16_t CommandLine::loadSettings() {
    profile.setSection("OPTION");
    profile.beginLoading();
    std::int16_t port = 1;
    profile.loadData("ComPort", port, std::int16_t{1});
    test_channel_settings::load(profile, radio.channels());
    profile.endLoading();
    if (!request.port.empty()) {
        port = static_cast<std::int16_t>(std::max(comNumber(request.port), 1));
    }
    return comNumber("COM" + std::to_string(port)) == 0 ? std::int16_t{1} : port;
}

bool CommandLine::loadConstants() {
    const ConstantsSearch search =
        request.constants.empty()
            ? settings_file::constantsSearch(ConstantsSearch::FileName, profile, places.dataFolder)
            : ConstantsSearch(request.constants, {});
    const auto file = search.find();
    if (file && radio.loadConstants(*file)) {
        return true;
    }
    finish(CliExit::Failed, file ? search.refusedText(*file) : search.notFoundText());
    return false;
}

bool CommandLine::start(bool runTimer) {
    radio.setPort(loadSettings());
    if (!loadConstants()) {
        return false;
    }
    if (request.command == CliRequest::Command::Align && !prepareAlignment()) {
        return false;
    }
    radio.click(RigDoor::Connect);
    if (runTimer) {
        timers.start();
    }
    return true;
}

void CommandLine::tick() {
    if (inTick || finished()) {
        return;
    }
    inTick = true;
    radio.tick();
    inTick = false;
    radio.reportFailure(); // the view keeps the message; the command ends below
    // An alignment ends itself on a lost link, the generator's output off first.
    if (view.failed() && stage != Stage::Aligning) {
        finish(CliExit::LinkFailed);
        return;
    }
    output.progress(radio.progressNow());
    step();
    timers.armFor(msUntilDue());
}

std::int32_t CommandLine::msUntilDue() {
    const std::int32_t door = radio.msUntilDue();
    const std::int32_t settle = alignment ? alignment->msUntilDue() : 0;
    return door == 0 || settle == 0 ? std::max(door, settle) : std::min(door, settle);
}

void CommandLine::step() {
    switch (stage) {
    case Stage::Connecting:
        if (radio.settled()) {
            connected();
        }
        break;
    case Stage::Dumping:
        if (!view.dump().empty()) {
            output.result({{"command", "dump"}, {"dump", QString::fromStdString(view.dump())}},
                          CliOutput::terminalLines(view.dump()));
            finish(CliExit::Completed);
        }
        break;
    case Stage::Running:
        if (radio.settled() && radio.job().record().runs().size() > runsBefore) {
            procedureEnded();
        }
        break;
    case Stage::Job:
        if (radio.settled() && radio.job().record().runs().size() > runsBefore) {
            jobEnded();
        }
        break;
    case Stage::Aligning:
        alignment->tick();
        if (alignmentOver) {
            alignmentEnded();
        }
        break;
    case Stage::Finished:
        break;
    }
}

void CommandLine::connected() {
    using Command = CliRequest::Command;
    switch (request.command) {
    case Command::Identify: {
        const SessionStart& session = radio.job().record().sessionStarts().back();
        output.result({{"command", "identify"},
                       {"model", QString::fromStdString(session.model)},
                       {"subCode", QString::fromStdString(session.subCode)},
                       {"port", session.comPort}},
                      session.model + " " + session.subCode);
        finish(CliExit::Completed);
        break;
    }
    case Command::Backup:
        backup();
        break;
    case Command::Dump:
        stage = Stage::Dumping;
        radio.click(RigDoor::DispPara);
        break;
    case Command::Compare:
        compare();
        break;
    case Command::Revert:
        if (openImage()) {
            propose(radio.proposeRevert());
        }
        break;
    case Command::Write:
        propose(radio.proposeWrite(request.arguments.front()));
        break;
    case Command::Run:
        nextProcedure();
        break;
    case Command::Report:
        report();
        break;
    case Command::Align:
        stage = Stage::Aligning;
        alignment->runAutomatic();
        break;
    }
}

void CommandLine::backup() {
    const std::string& file = radio.job().record().sessionStarts().back().backupFile;
    if (file.empty()) {
        finish(CliExit::Failed); // the model has said why
        return;
    }
    if (!request.output.empty()) {
        if (const std::string refused = radio.job().saveImage(request.output); !refused.empty()) {
            finish(CliExit::Failed, refused);
            return;
        }
    }
    output.result({{"command", "backup"},
                   {"backup", QString::fromStdString(file)},
                   {"image", QString::fromStdString(request.output)}},
                  file + (request.output.empty() ? "" : "\n" + request.output));
    finish(CliExit::Completed);
}

bool CommandLine::openImage() {
    const std::string refused = radio.job().openImage(request.arguments.front());
    if (!refused.empty()) {
        finish(CliExit::Failed, refused);
    }
    return refused.empty();
}

void CommandLine::compare() {
    if (!openImage()) {
        return;
    }
    const std::vector<CompareLine> lines = radio.job().compare(radio.txfTable());
    QJsonArray rows;
    std::string text = "                      " + radio.job().targetName() + " | VX-K5";
    int differences = 0;
    for (const CompareLine& line : lines) {
        differences += line.differs;
        rows.append(QJsonObject{{"label", QString::fromStdString(line.label)},
                                {"image", QString::fromStdString(line.first)},
                                {"radio", QString::fromStdString(line.second)},
                                {"differs", line.differs}});
        std::string label = line.label;
        label.resize(std::max<std::size_t>(label.size(), 22), ' ');
        text += "\n" + label + line.first + " | " + line.second + (line.differs ? "  *" : "");
    }
    output.result({{"command", "compare"},
                   {"image", QString::fromStdString(radio.job().targetName())},
                   {"differences", differences},
                   {"lines", rows}},
                  text);
    finish(differences == 0 ? CliExit::Completed : CliExit::Mismatch);
}

void CommandLine::propose(const JobProposal& proposal) {
    if (!proposal.asks()) {
        finish(proposal.refused ? CliExit::Refused : CliExit::Completed, proposal.message);
        return;
    }
    if (!request.yes) {
        view.ask(proposal.question, proposal.lines);
        finish(CliExit::Refused, NeedsYes);
        return;
    }
    view.ask(proposal.question, proposal.lines);
    view.clearMessages();
    runsBefore = radio.job().record().runs().size();
    stage = Stage::Job;
    radio.carryOut(proposal);
}

void CommandLine::jobEnded() {
    const ProcedureRun& run = radio.job().record().runs().back();
    output.result(runFields(request.name, run), runText(run));
    finish(view.informed() ? CliExit::Completed : CliExit::Mismatch);
}

void CommandLine::nextProcedure() {
    if (procedureNext == request.arguments.size()) {
        finish(CliExit::Completed);
        return;
    }
    const std::optional<int> row = radio.itemOf(*procedureNamed(request.arguments[procedureNext]));
    runsBefore = radio.job().record().runs().size();
    stage = Stage::Running;
    if (!row || !radio.pressEnter(*row)) {
        finish(CliExit::Refused);
    }
}

void CommandLine::procedureEnded() {
    const ProcedureRun& run = radio.job().record().runs().back();
    QJsonObject fields = runFields(request.name, run);
    fields.insert("procedure", QString::fromStdString(request.arguments[procedureNext]));
    output.result(fields, runText(run));
    if (run.outcome != RunOutcome::Completed) {
        finish(run.outcome == RunOutcome::Refused ? CliExit::Refused : CliExit::Failed);
        return;
    }
    ++procedureNext;
    nextProcedure();
}

void CommandLine::report() {
    if (!platform::replaceFile(request.output, radio.reportHtml(ReportForm::Page))) {
        finish(CliExit::Failed, job_messages::cannotWriteFile(request.output));
        return;
    }
    output.result({{"command", "report"}, {"report", QString::fromStdString(request.output)}},
                  request.output);
    finish(CliExit::Completed);
}

void CommandLine::finish(CliExit code, const std::string& message) {
    if (!message.empty()) {
        view.say(message);
    }
    output.endProgress();
    stage = Stage::Finished;
    exit = code;
    timers.stop();
    radio.shutDown(); // a running procedure put back, the port closed
    emit finishedWith(static_cast<int>(code));
}
