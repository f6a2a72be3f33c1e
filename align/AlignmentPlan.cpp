// SPDX-License-Identifier: GPL-3.0-or-later
// The alignment plan's loader: the file's sections checked one by one against the steps this
// program runs and the bench's limits.
#include "align/AlignmentPlan.h"

#include "align/PlanFile.h"
#include "align/PlanMessages.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <map>

namespace {

const char* const PlanSectionName = "Plan";
const char* const PlanKeys = "Title and Note";
const char* const StepKeys = "Channel, Level, Modulation, Connect and Instructions";

bool sameName(const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

// A whole number or a decimal, nothing after it; the text's own value.
std::optional<double> numberIn(const std::string& text) {
    bool ok = false;
    const double value = QString::fromStdString(text).toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

class StepReader {
  public:
    StepReader(const std::string& name, double maximum, const TestChannels& channels)
        : plan(name), maximumDbm(maximum), channels(channels) {}

    // The step of the section, or the error's text in why.
    std::optional<PlanStep> read(const PlanSection& section, const StepShape& shape,
                                 std::string& why) const {
        PlanStep step{shape.name, shape.kind, shape.procedure, -1, {}, {}, {}, {}, section.line};
        for (const PlanEntry& e : section.entries) {
            why = take(e, step);
            if (!why.empty()) {
                return std::nullopt;
            }
        }
        if (step.levelDbm && step.channel < 0) {
            why = plan_messages::channelMissing(plan, section.line, step.name);
            return std::nullopt;
        }
        return step;
    }

  private:
    std::string take(const PlanEntry& e, PlanStep& step) const {
        if (sameName(e.key, "Channel")) {
            return takeChannel(e, step);
        }
        if (sameName(e.key, "Level")) {
            // The unit may be written, as on the generator's front panel.
            QString value = QString::fromStdString(e.value).trimmed();
            if (value.endsWith("dBm", Qt::CaseInsensitive)) {
                value.chop(3);
            }
            const std::optional<double> level = numberIn(value.trimmed().toStdString());
            if (!level) {
                return plan_messages::levelNoNumber(plan, e.line, e.value);
            }
            if (*level > maximumDbm) {
                return plan_messages::levelTooHigh(plan, e.line, *level, maximumDbm);
            }
            step.levelDbm = level;
        } else if (sameName(e.key, "Modulation")) {
            step.modulation = e.value;
        } else if (sameName(e.key, "Connect")) {
            step.connect = e.value;
        } else if (sameName(e.key, "Instructions")) {
            step.instructions = e.value;
        } else {
            return plan_messages::unknownKey(plan, e.line, e.key, StepKeys);
        }
        return {};
    }

    std::string takeChannel(const PlanEntry& e, PlanStep& step) const {
        const std::optional<double> number = numberIn(e.value);
        if (!number || *number != std::floor(*number)) {
            return plan_messages::channelNoNumber(plan, e.line, e.value);
        }
        if (*number < 0 || *number >= TestChannels::Count) {
            return plan_messages::channelOutOfRange(plan, e.line, static_cast<int>(*number));
        }
        step.channel = static_cast<int>(*number);
        const clsRig_Ch& ch = channels.ChUnit(step.channel);
        if (!ch.AppearCh() || ch.FreqOp_Pure() <= 0) {
            return plan_messages::channelNotSetUp(plan, e.line, step.channel);
        }
        return {};
    }

    std::string plan;
    double maximumDbm;
    const TestChannels& channels;
};

std::string readPlanSection(const PlanSection& section, const std::string& name,
                            AlignmentPlan& plan) {
    for (const PlanEntry& e : section.entries) {
        if (sameName(e.key, "Title")) {
            plan.title = e.value;
        } else if (sameName(e.key, "Note")) {
            plan.note = e.value;
        } else {
            return plan_messages::unknownKey(name, e.line, e.key, PlanKeys);
        }
    }
    return {};
}

} // namespace

const std::vector<StepShape>& knownSteps() {
    static const std::vector<StepShape> steps{
        {"BPF-LOW", StepKind::Automatic, ProcedureId::BpfLow},
        {"BPF-MID", StepKind::Automatic, ProcedureId::BpfMid},
        {"BPF-HIGH", StepKind::Automatic, ProcedureId::BpfHigh},
        {"S-METER", StepKind::Automatic, ProcedureId::SMeter},
        {"TXF", StepKind::Automatic, ProcedureId::Txf},
        {"DTCS-START", StepKind::Automatic, ProcedureId::DtcsStart},
        {"DTCS-STOP", StepKind::Automatic, ProcedureId::DtcsStop},
        // Power, deviation, squelch and DTCS balance are judged by a person on a meter; the
        // "MOD Level" item helps with the deviation but the technician sets it.
        {"POWER", StepKind::Manual, std::nullopt},
        {"MOD-LEVEL", StepKind::Manual, ProcedureId::ModLevel},
        {"SQUELCH", StepKind::Manual, std::nullopt},
        {"DTCS-BALANCE", StepKind::Manual, std::nullopt},
    };
    return steps;
}

std::optional<StepShape> stepNamed(const std::string& name) {
    for (const StepShape& shape : knownSteps()) {
        if (sameName(name, shape.name)) {
            return shape;
        }
    }
    return std::nullopt;
}

PlanLoad parseAlignmentPlan(const std::string& text, const std::string& name,
                            double maximumLevelDbm, const TestChannels& channels) {
    const PlanFile file = parsePlanText(text, name);
    if (!file.error.empty()) {
        return {std::nullopt, file.error};
    }
    AlignmentPlan plan;
    std::map<std::string, int> seen; // a section's name, upper case, and its first line
    const StepReader reader(name, maximumLevelDbm, channels);
    for (const PlanSection& section : file.sections) {
        const std::string key = QString::fromStdString(section.name).toUpper().toStdString();
        if (const auto first = seen.find(key); first != seen.end()) {
            return {std::nullopt,
                    plan_messages::stepTwice(name, section.line, section.name, first->second)};
        }
        seen.emplace(key, section.line);
        std::string why;
        if (sameName(section.name, PlanSectionName)) {
            why = readPlanSection(section, name, plan);
        } else if (const std::optional<StepShape> shape = stepNamed(section.name)) {
            if (std::optional<PlanStep> step = reader.read(section, *shape, why)) {
                plan.steps.push_back(std::move(*step));
            }
        } else {
            why = plan_messages::unknownStep(name, section.line, section.name);
        }
        if (!why.empty()) {
            return {std::nullopt, why};
        }
    }
    if (plan.steps.empty()) {
        return {std::nullopt, plan_messages::noSteps(name)};
    }
    return {std::move(plan), {}};
}

PlanLoad loadAlignmentPlan(const std::string& path, double maximumLevelDbm,
                           const TestChannels& channels) {
    const QString file = QString::fromStdString(path);
    const std::string name = QFileInfo(file).fileName().toStdString();
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        return {std::nullopt, plan_messages::cannotRead(name)};
    }
    return parseAlignmentPlan(in.readAll().toStdString(), name, maximumLevelDbm, channels);
}
