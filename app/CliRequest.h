// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of vsk5-aln-cli read into one request, and the exit statuses it ends with.
// The texts of --help and --version come from here too.
//
//   parseCommandLine({"vsk5-aln-cli", "--port", "COM2", "run", "BPF-LOW", "S-METER"})
//     -> request {Run, {"BPF-LOW", "S-METER"}, port "COM2"}
//   parseCommandLine({"vsk5-aln-cli", "frobnicate"})  -> exit Usage, "Unknown command ..."
#pragma once

#include "model/ProcedureTable.h"

#include <QStringList>

#include <optional>
#include <string>
#include <vector>

enum class CliExit {
    Completed = 0,  // everything asked for was done
    Failed = 1,     // anything else: a file that cannot be read or written, no constants, ...
    Usage = 2,      // the command line itself is wrong
    Refused = 3,    // the radio or the job refused, or a question was not answered by --yes
    LinkFailed = 4, // the link to the radio failed
    Mismatch = 5,   // a verification or a compare found the radio otherwise
};

struct CliRequest {
    enum class Command { Identify, Backup, Dump, Compare, Revert, Write, Run, Report, Align };
    Command command = Command::Identify;
    std::string name;                   // as typed: "run"
    std::vector<std::string> arguments; // the image, the procedures, or the plan
    std::string output;                 // -o
    std::string port;                   // "COM3" or a device path; empty: the settings file's
    std::string settings;               // --settings
    std::string constants;              // --constants
    std::string generator;              // --generator: a resource name; empty: the settings'
    std::string report;                 // --report: where align writes its report
    bool json = false;
    bool yes = false;
};

struct CliParse {
    std::optional<CliRequest> request;
    // Without a request: what to print (help and version on standard output, a usage error on
    // standard error) and the exit status.
    std::string text;
    CliExit exit = CliExit::Completed;
};

CliParse parseCommandLine(const QStringList& arguments);

// The procedures that end by themselves, by the names the command line gives them:
// "BPF-LOW" -> BpfLow; nothing for another name.
std::optional<ProcedureId> procedureNamed(const std::string& name);

// "COM3", "com 3" -> 3; 0 for anything else (a device path among them).
int comNumber(const std::string& port);
