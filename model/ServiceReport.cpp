// SPDX-License-Identifier: GPL-3.0-or-later
// The service report.
#include "model/ServiceReport.h"

#include "link/clsCmcEeprom.h"
#include "model/JobMessages.h"
#include "model/MemoryMap.h"
#include "model/ServiceRecord.h"
#include "model/clsIndEep_RigK5.h"

#include <initializer_list>

namespace {

using Eep = clsIndEep_RigK5;

// The PDF is drawn by Qt's rich text, which takes a cell's padding only side by side and in
// pixels: with the padding written so, the page looks the same there as in a browser.
const char* const Style = "body{font-family:sans-serif;font-size:10pt}"
                          "table{border-collapse:collapse;margin-bottom:12pt}"
                          "th,td{border:1px solid #999;padding-left:4px;padding-right:4px;"
                          "text-align:left}"
                          "td.num{text-align:right}tr.changed td{font-weight:bold}"
                          ".mono{font-family:monospace;white-space:pre}";

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string timeText(const QDateTime& at) {
    return at.toString("yyyy-MM-dd HH:mm:ss").toStdString();
}

// A table row of escaped cells; a cell beginning with '#' is a number, aligned right.
std::string row(std::initializer_list<std::string> cells, const char* cellTag = "td",
                bool changed = false) {
    std::string html = changed ? "<tr class=\"changed\">" : "<tr>";
    for (const std::string& cell : cells) {
        const bool number = !cell.empty() && cell[0] == '#';
        html += std::string("<") + cellTag + (number ? " class=\"num\">" : ">") +
                escaped(number ? cell.substr(1) : cell) + "</" + cellTag + ">";
    }
    return html + "</tr>\n";
}

std::string value(std::int32_t address, int byte) {
    return "#" + Eep::RigEep_CellValue(address, static_cast<std::int16_t>(byte));
}

std::string facts(const ReportInput& in) {
    std::string html = "<table>\n" + row({"Program", in.program}, "td") +
                       row({"Report made", timeText(in.madeAt)});
    const std::vector<SessionStart>& starts = in.record.sessionStarts();
    if (starts.empty()) {
        return html + row({"Radio", "Not connected in this session"}) + "</table>\n";
    }
    const SessionStart& first = starts.front();
    html += row({"COM port", "COM " + std::to_string(starts.back().comPort)}) +
            row({"Radio", first.model + ", sub code " + first.subCode});
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::string backup =
            starts[i].backupFile.empty() ? "not written" : starts[i].backupFile;
        html += row({i == 0 ? "Connected" : "Connected again", timeText(starts[i].at)}) +
                row({"Backup", backup});
    }
    return html + "</table>\n";
}

std::string adjustments(const ReportInput& in) {
    std::string html =
        "<h2>Adjustments</h2>\n<table>\n" + row({"Item", "At Connect", "Now", ""}, "th");
    const Bytes& before = in.record.imageAtConnect();
    for (std::int32_t a = MemoryMap::AreaFirst; a <= MemoryMap::AreaLast; ++a) {
        const int was = before.at(static_cast<std::size_t>(a));
        const int now = in.imageNow.ReadByte(a);
        const std::string name = Eep::RigEep_CellName(a);
        // Bytes no item or dump line shows are listed only when they changed.
        if (name.rfind("Address ", 0) == 0 && was == now) {
            continue;
        }
        html += row({name, value(a, was), value(a, now), was != now ? "changed" : ""}, "td",
                    was != now);
    }
    return html + "</table>\n";
}

std::string readouts(const ReportInput& in) {
    std::string html = "<h2>Readouts</h2>\n<table>\n";
    for (const std::vector<std::string>* lines : {&in.adReadouts, &in.daReadouts}) {
        for (const std::string& line : *lines) {
            html += "<tr><td class=\"mono\">" + escaped(line) + "</td></tr>\n";
        }
    }
    return html + "</table>\n";
}

const char* outcomeText(RunOutcome outcome) {
    switch (outcome) {
    case RunOutcome::Completed:
        return "Completed";
    case RunOutcome::EndedWithoutResult:
        return "Ended without result";
    case RunOutcome::Abandoned:
        return "Abandoned";
    case RunOutcome::Refused:
        return "Refused";
    }
    return "";
}

// What goes before the next part of a run's details: a blank after a sentence, else "; ".
const char* separatorAfter(const std::string& text) {
    if (text.empty()) {
        return "";
    }
    return text.back() == '.' ? " " : "; ";
}

std::string runDetails(const ProcedureRun& run) {
    std::string text = run.reason;
    for (const CellResult& r : run.results) {
        text += separatorAfter(text) + job_messages::changeLine(r.address, r.from, r.to);
    }
    return text;
}

std::string procedures(const ReportInput& in) {
    std::string html =
        "<h2>Procedures</h2>\n<table>\n" + row({"Time", "Procedure", "Outcome", "Details"}, "th");
    for (const ProcedureRun& run : in.record.runs()) {
        html += row({timeText(run.at), run.name, outcomeText(run.outcome), runDetails(run)});
    }
    return html + "</table>\n";
}

std::string valuesSent(const ReportInput& in) {
    std::string html =
        "<h2>Values sent</h2>\n<table>\n" + row({"Time", "Item", "Old", "New"}, "th");
    for (const SentValue& v : in.record.valuesSent()) {
        html += row({timeText(v.at), Eep::RigEep_CellName(v.address), value(v.address, v.from),
                     value(v.address, v.to)});
    }
    return html + "</table>\n";
}

std::string curves(const ReportInput& in) {
    std::string html = "<h2>Curves</h2>\n";
    for (const ReportPicture& picture : in.pictures) {
        html += "<p>" + escaped(picture.title) + "</p>\n<p><img src=\"data:image/png;base64," +
                picture.pngBase64 + "\" alt=\"" + escaped(picture.title) +
                "\" width=\"480\"/></p>\n";
    }
    return html;
}

} // namespace

std::string serviceReportHtml(const ReportInput& in) {
    std::string html = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE html>\n"
                       "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n"
                       "<meta charset=\"UTF-8\"/>\n<title>Service report</title>\n<style>" +
                       std::string(Style) + "</style>\n</head>\n<body>\n<h1>Service report</h1>\n";
    html += facts(in);
    if (in.record.hasSession()) {
        html += adjustments(in);
    }
    html += readouts(in) + procedures(in) + valuesSent(in);
    if (!in.pictures.empty()) {
        html += curves(in);
    }
    return html + "</body>\n</html>\n";
}
