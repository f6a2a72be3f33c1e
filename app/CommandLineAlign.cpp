// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's align command: the plan and the generator before Connect, and what it
// prints and writes when the run has ended.
#include "app/BenchSettings.h"
#include "app/CommandLine.h"
#include "model/JobMessages.h"
#include "platform/WriteAccess.h"

#include <QTimer>

namespace {

const char* const NeedsGenerator =
    "'align' needs a signal generator: give --generator RESOURCE or name one in the settings "
    "file's [INSTRUMENTS] section.";

// A state in the words of the command line: as run prints a procedure's outcome.
std::string stateWords(const AlignmentRun& run, std::size_t step) {
    switch (run.state(step)) {
    case StepState::Done:
        return run.result(step);
    case StepState::ToDo:
        return "Not run";
    default:
        return stepStateText(run.state(step));
    }
}

} // namespace

// The plan refused or no generator to be had: the command line is wrong, nothing is connected.
bool CommandLine::prepareAlignment() {
    BenchSettings settings = bench_settings::load(profile);
    if (!request.generator.empty()) {
        settings.generator.resource = request.generator;
    }
    const PlanLoad load = loadAlignmentPlan(request.arguments.front(),
                                            settings.generator.maximumLevelDbm, radio.channels());
    if (!load.plan) {
        finish(CliExit::Usage, load.error);
        return false;
    }
    if (settings.generator.resource.empty()) {
        finish(CliExit::Usage, NeedsGenerator);
        return false;
    }
    std::string why;
    bench = instruments::BenchGenerator::create(settings.generator, why);
    if (!bench) {
        finish(CliExit::Usage, why);
        return false;
    }
    alignment =
        std::make_unique<AlignmentRun>(radio, *load.plan, &bench->generator(), settings.settleMs);
    connect(alignment.get(), &AlignmentRun::finished, this, [this](bool, const QString& message) {
        alignmentOver = true;
        alignmentMessage = message.toStdString();
    });
    return true;
}

// One line per automatic step, the verifying read's, the report, and the exit status.
void CommandLine::alignmentEnded() {
    const AlignmentPlan& plan = alignment->plan();
    for (std::size_t i = 0; i < plan.steps.size(); ++i) {
        const PlanStep& step = plan.steps[i];
        if (step.kind != StepKind::Automatic) {
            continue;
        }
        const std::string words = stateWords(*alignment, i);
        const bool failed = alignment->state(i) == StepState::Failed;
        output.result({{"command", "align"},
                       {"step", QString::fromStdString(step.name)},
                       {"name", procedureRow(*step.procedure).name},
                       {"outcome", QString::fromStdString(words)},
                       {"reason", QString::fromStdString(failed ? alignment->result(i) : "")}},
                      step.name + ": " + words);
    }
    const RunEnd end = alignment->end();
    if (end == RunEnd::Completed || end == RunEnd::Mismatch) {
        const char* words = end == RunEnd::Completed ? "Completed" : "Differs";
        output.result({{"command", "align"}, {"step", "VERIFY"}, {"outcome", words}},
                      std::string("Verifying read: ") + words);
    }
    CliExit code = alignmentExit();
    // The model has told its own failures (a procedure's, the link's) already.
    const std::string& told = view.lastMessage();
    std::string message;
    if (end != RunEnd::Completed && (told.empty() || !alignmentMessage.ends_with(told))) {
        message = alignmentMessage;
    }
    if (!request.report.empty() &&
        !platform::replaceFile(request.report, radio.reportHtml(ReportForm::Page))) {
        if (!message.empty()) {
            view.say(message);
        }
        message = job_messages::cannotWriteFile(request.report);
        code = code == CliExit::Completed ? CliExit::Failed : code;
    }
    finish(code, message);
}

CliExit CommandLine::alignmentExit() {
    switch (alignment->end()) {
    case RunEnd::Completed:
        return CliExit::Completed;
    case RunEnd::LinkFailed:
        return CliExit::LinkFailed;
    case RunEnd::Mismatch:
        return CliExit::Mismatch;
    default:
        return CliExit::Failed;
    }
}
