// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's options and commands, read with QCommandLineParser.
#include "app/CliRequest.h"

#include "model/RigDoor.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <array>

namespace {

using Command = CliRequest::Command;

struct CommandShape {
    const char* name;
    Command command;
    int minArguments;
    int maxArguments; // -1: any number
};

constexpr std::array<CommandShape, 9> Commands{{
    {"identify", Command::Identify, 0, 0},
    {"backup", Command::Backup, 0, 0},
    {"dump", Command::Dump, 0, 0},
    {"compare", Command::Compare, 1, 1},
    {"revert", Command::Revert, 1, 1},
    {"write", Command::Write, 1, 1},
    {"run", Command::Run, 1, -1},
    {"report", Command::Report, 0, 0},
    {"align", Command::Align, 1, 1},
}};

const char* const Description =
    "Aligns a VX-K5 over its cloning cable without a window: every command connects first\n"
    "(the radio's memory is backed up as the window's Connect does it).\n"
    "\n"
    "Commands:\n"
    "  identify             print the radio's model and sub code\n"
    "  backup [-o FILE]     print where the backup went; -o also writes the image to FILE\n"
    "  dump                 print the adjustment dump as the window shows it\n"
    "  compare IMAGE        list the radio's adjustments beside IMAGE's\n"
    "  revert IMAGE         put the adjustments back as IMAGE holds them (needs --yes)\n"
    "  write IMAGE          write the whole of IMAGE to the radio (needs --yes)\n"
    "  run PROCEDURE...     run BPF-LOW, BPF-MID, BPF-HIGH, S-METER, DTCS-START, DTCS-STOP\n"
    "  report -o FILE       write the service report of this session as HTML\n"
    "  align PLAN           run the plan's automatic steps with the signal generator, then\n"
    "                       verify the radio by a clone read; --report FILE writes the\n"
    "                       service report (HTML), also after a failure\n"
    "\n"
    "Exit status:\n"
    "  0  completed          1  any other failure (a file, the constants)\n"
    "  2  usage error        3  refused (by the radio, the job, or for want of --yes)\n"
    "  4  link failure       5  the radio differs (a verification or a compare)";

struct ProcedureName {
    const char* name;
    ProcedureId id;
};

constexpr std::array<ProcedureName, 6> RunnableProcedures{{
    {"BPF-LOW", ProcedureId::BpfLow},
    {"BPF-MID", ProcedureId::BpfMid},
    {"BPF-HIGH", ProcedureId::BpfHigh},
    {"S-METER", ProcedureId::SMeter},
    {"DTCS-START", ProcedureId::DtcsStart},
    {"DTCS-STOP", ProcedureId::DtcsStop},
}};

std::optional<CommandShape> findCommand(const QString& name) {
    for (const CommandShape& shape : Commands) {
        if (name == QLatin1String(shape.name)) {
            return shape;
        }
    }
    return std::nullopt;
}

CliParse usage(const QString& text) {
    return {std::nullopt, (text + "\nTry 'vsk5-aln-cli --help'.\n").toStdString(), CliExit::Usage};
}

// The request's arguments against what its command takes; a usage error's text when wrong.
QString checkRequest(const CommandShape& shape, const CliRequest& request) {
    const int count = static_cast<int>(request.arguments.size());
    if (count < shape.minArguments || (shape.maxArguments >= 0 && count > shape.maxArguments)) {
        return QString("Wrong number of arguments for '%1'.").arg(shape.name);
    }
    if (!request.port.empty() && comNumber(request.port) == 0 && request.port[0] != '/') {
        return QString("--port takes COM1 to COM10 or a device path, not '%1'.")
            .arg(QString::fromStdString(request.port));
    }
    for (const std::string& name : request.arguments) {
        if (shape.command == Command::Run && !procedureNamed(name)) {
            return QString("Unknown procedure '%1'.").arg(QString::fromStdString(name));
        }
    }
    if (shape.command != Command::Align &&
        (!request.generator.empty() || !request.report.empty())) {
        return "--generator and --report are for 'align' only.";
    }
    if (shape.command == Command::Align &&
        QString::fromStdString(request.report).endsWith(".pdf", Qt::CaseInsensitive)) {
        return "'align' writes its report as HTML only; name the file .html.";
    }
    if (shape.command == Command::Report && request.output.empty()) {
        return "'report' needs -o FILE.";
    }
    if (shape.command == Command::Report &&
        QString::fromStdString(request.output).endsWith(".pdf", Qt::CaseInsensitive)) {
        return "'report' writes HTML only; name the file .html.";
    }
    return {};
}

} // namespace

std::optional<ProcedureId> procedureNamed(const std::string& name) {
    for (const ProcedureName& procedure : RunnableProcedures) {
        if (name == procedure.name) {
            return procedure.id;
        }
    }
    return std::nullopt;
}

int comNumber(const std::string& port) {
    static const QRegularExpression com("^COM ?([0-9]+)$",
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = com.match(QString::fromStdString(port));
    const int n = match.hasMatch() ? match.captured(1).toInt() : 0;
    return n >= RigDoor::FirstPort && n <= RigDoor::LastPort ? n : 0;
}

namespace {

// The options every command takes, registered with the parser.
struct CliOptions {
    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption port{"port",
                            "COM1 to COM10 (the settings file's [PORTS] apply) "
                            "or a device path.",
                            "port"};
    QCommandLineOption settings{"settings",
                                "The settings file (default: VSK5ALN.ini "
                                "where the window keeps it).",
                                "file"};
    QCommandLineOption constants{"constants",
                                 "The model constants (default: Const.ini "
                                 "where the window finds it).",
                                 "file"};
    QCommandLineOption json{"json", "Results as one JSON object per line."};
    QCommandLineOption yes{"yes", "Answer the questions of revert and write with Yes."};
    QCommandLineOption output{{"o", "output"}, "Where backup or report writes.", "file"};
    QCommandLineOption generator{"generator",
                                 "The signal generator for align, by its VISA resource "
                                 "name (default: the settings file's [INSTRUMENTS]).",
                                 "resource"};
    QCommandLineOption report{"report", "Where align writes the service report (HTML).", "file"};

    explicit CliOptions(QCommandLineParser& parser)
        : help(parser.addHelpOption()), version(parser.addVersionOption()) {
        parser.addOptions({port, settings, constants, json, yes, output, generator, report});
        parser.addPositionalArgument("command", "identify, backup, dump, compare, revert, write, "
                                                "run, report or align.");
        parser.addPositionalArgument("arguments", "The image, the procedures or the plan.",
                                     "[arguments...]");
    }
};

CliRequest requestOf(const CommandShape& shape, const QStringList& words,
                     const QCommandLineParser& parser, const CliOptions& options) {
    CliRequest request;
    request.command = shape.command;
    request.name = shape.name;
    for (const QString& word : words) {
        request.arguments.push_back(word.toStdString());
    }
    request.output = parser.value(options.output).toStdString();
    request.port = parser.value(options.port).toStdString();
    request.settings = parser.value(options.settings).toStdString();
    request.constants = parser.value(options.constants).toStdString();
    request.generator = parser.value(options.generator).toStdString();
    request.report = parser.value(options.report).toStdString();
    request.json = parser.isSet(options.json);
    request.yes = parser.isSet(options.yes);
    return request;
}

} // namespace

CliParse parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(Description);
    const CliOptions options(parser);
    if (!parser.parse(arguments)) {
        return usage(parser.errorText());
    }
    if (parser.isSet(options.help)) {
        return {std::nullopt, parser.helpText().toStdString(), CliExit::Completed};
    }
    if (parser.isSet(options.version)) {
        return {std::nullopt, "vsk5-aln-cli " VSK5_VERSION "\n", CliExit::Completed};
    }
    QStringList words = parser.positionalArguments();
    if (words.isEmpty()) {
        return usage("No command given.");
    }
    const std::optional<CommandShape> shape = findCommand(words.takeFirst());
    if (!shape) {
        return usage(QString("Unknown command '%1'.").arg(parser.positionalArguments().first()));
    }
    const CliRequest request = requestOf(*shape, words, parser, options);
    if (const QString wrong = checkRequest(*shape, request); !wrong.isEmpty()) {
        return usage(wrong);
    }
    return {request, {}, CliExit::Completed};
}
