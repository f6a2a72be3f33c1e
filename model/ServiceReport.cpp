// SPDX-License-Identifier: GPL-3.0-or-later
// The service report.
#include "model/ServiceReport.h"

#include "link/clsCmcEeprom.h"
#include "model/CurvePicture.h"
#include "model/HtmlText.h"
#include "model/JobMessages.h"
#include "model/MemoryMap.h"
#include "model/ServiceRecord.h"
#include "model/SvgCanvas.h"
#include "model/clsIndEep_RigK5.h"

#include <initializer_list>

namespace {

using Eep = clsIndEep_RigK5;
using html_text::escaped;

// The PDF is drawn by Qt's rich text, which takes a cell's padding only side by side and in
// pixels: with the padding written so, the page looks the same there as in a browser.
const char* const Style = "body{font-family:sans-serif;font-size:10pt}"
                          "table{border-collapse:collapse;margin-bottom:12pt}"
                          "th,td{border:1px solid #999;padding-left:4px;padding-right:4px;"
                          "text-align:left;vertical-align:top}"
                          "td.num{text-align:right}"
                          // Rich text shares out a table's width by its longest words: the
                          // items' names would wrap.
                          "table.items td,table.items th{white-space:nowrap;font-size:9pt}"
                          ".mono{font-family:monospace;white-space:pre}"
                          "summary{cursor:pointer;margin-bottom:6pt}";

std::string timeText(const QDateTime& at) {
    return at.toString("yyyy-MM-dd HH:mm:ss").toStdString();
}

// The time of day alone on the report's own day; the date too on any other.
std::string clockText(const QDateTime& at, const QDateTime& madeAt) {
    return at.date() == madeAt.date() ? at.toString("HH:mm:ss").toStdString() : timeText(at);
}

// A table row of escaped cells, a cell beginning with '#' a number, aligned right; then the
// cells already in markup (last).
std::string row(std::initializer_list<std::string> cells, const char* cellTag = "td",
                bool changed = false, const std::string& last = {}) {
    std::string html = changed ? "<tr class=\"changed\">" : "<tr>";
    for (const std::string& cell : cells) {
        const bool number = !cell.empty() && cell[0] == '#';
        html += std::string("<") + cellTag + (number ? " class=\"num\">" : ">") +
                escaped(number ? cell.substr(1) : cell) + "</" + cellTag + ">";
    }
    return html + last + "</tr>\n";
}

// A cell of several lines, each escaped.
std::string linesCell(const std::vector<std::string>& lines) {
    std::string html = "<td>";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        html += (i > 0 ? "<br/>" : "") + escaped(lines[i]);
    }
    return html + "</td>";
}

std::string value(std::int32_t address, int byte) {
    return "#" + Eep::RigEep_CellValue(address, static_cast<std::int16_t>(byte));
}

std::string facts(const ReportInput& in) {
    std::string html = "<table width=\"100%\">\n" + row({"Program", in.program}, "td") +
                       row({"Report made", timeText(in.madeAt)});
    if (!in.record.sessionLog().empty()) {
        html += row({"Session log", in.record.sessionLog()});
    }
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

struct Adjustment {
    std::string name;
    std::int32_t address = 0;
    int was = 0;
    int now = 0;
};

// An adjustment's four cells, bold when it changed; empty cells where the column ends.
std::string adjustmentCells(const Adjustment* a) {
    if (!a) {
        return "<td></td><td></td><td></td><td></td>";
    }
    const bool changed = a->was != a->now;
    const auto cell = [changed](const std::string& text, const char* open) {
        const std::string shown = changed ? "<b>" + escaped(text) + "</b>" : escaped(text);
        return open + shown + "</td>";
    };
    return cell(a->name, "<td>") +
           cell(Eep::RigEep_CellValue(a->address, static_cast<std::int16_t>(a->was)),
                "<td class=\"num\">") +
           cell(Eep::RigEep_CellValue(a->address, static_cast<std::int16_t>(a->now)),
                "<td class=\"num\">") +
           cell(changed ? "changed" : "", "<td>");
}

// Two columns of items side by side, so that the whole area fits on about one page.
std::string adjustments(const ReportInput& in) {
    std::vector<Adjustment> list;
    const Bytes& before = in.record.imageAtConnect();
    for (std::int32_t a = MemoryMap::AreaFirst; a <= MemoryMap::AreaLast; ++a) {
        const int was = before.at(static_cast<std::size_t>(a));
        const int now = in.imageNow.ReadByte(a);
        std::string name = Eep::RigEep_CellName(a);
        // Bytes no item or dump line shows are listed only when they changed.
        if (name.rfind("Address ", 0) != 0 || was != now) {
            list.push_back({std::move(name), a, was, now});
        }
    }
    const std::size_t half = (list.size() + 1) / 2;
    const std::string heading = "<th>Item</th><th>At Connect</th><th>Now</th><th></th>";
    std::string html = "<h2>Adjustments</h2>\n<table class=\"items\" width=\"100%\">\n<tr>" +
                       heading + heading + "</tr>\n";
    for (std::size_t i = 0; i < half; ++i) {
        html += "<tr>" + adjustmentCells(&list[i]) +
                adjustmentCells(i + half < list.size() ? &list[i + half] : nullptr) + "</tr>\n";
    }
    return html + "</table>\n";
}

std::string readouts(const ReportInput& in) {
    std::string html = "<h2>Readouts</h2>\n<table width=\"100%\">\n";
    for (const ReportReadout& r : in.readouts) {
        html += "<tr><td class=\"mono\">" + escaped(r.line) + "</td><td>" +
                escaped("read " + r.occasion + " " + clockText(r.at, in.madeAt)) + "</td></tr>\n";
    }
    return html + "</table>\n";
}

// Why the run ended so on a line of its own, then the items it changed with their values
// before and after, one after the other: a TXF write changes forty of them.
std::vector<std::string> runDetails(const ProcedureRun& run) {
    std::vector<std::string> lines;
    if (!run.reason.empty()) {
        lines.push_back(run.reason);
    }
    std::string changes;
    for (const CellResult& r : run.results) {
        changes +=
            (changes.empty() ? "" : "; ") + job_messages::changeLine(r.address, r.from, r.to);
    }
    if (!changes.empty()) {
        lines.push_back(changes);
    }
    return lines;
}

std::string procedures(const ReportInput& in) {
    std::string html =
        "<h2>Procedures</h2>\n<table width=\"100%\">\n" +
        row({"Procedure", "Started", "Ended", "Outcome", "Values before \u2192 after"}, "th");
    for (const ProcedureRun& run : in.record.runs()) {
        html += row({run.name, clockText(run.at, in.madeAt), clockText(run.endedAt, in.madeAt),
                     outcomeText(run.outcome)},
                    "td", false, linesCell(runDetails(run)));
    }
    return html + "</table>\n";
}

std::string valuesSent(const ReportInput& in, ReportForm form) {
    const std::vector<SentValue>& values = in.record.valuesSent();
    std::string table = "<table width=\"100%\">\n" + row({"Time", "Item", "Old", "New"}, "th");
    for (const SentValue& v : values) {
        table += row({clockText(v.at, in.madeAt), Eep::RigEep_CellName(v.address),
                      value(v.address, v.from), value(v.address, v.to)});
    }
    table += "</table>\n";
    const std::string heading = "<h2>Values sent</h2>\n";
    if (form == ReportForm::PrintEveryValue) {
        return heading + table;
    }
    // In the page the steps wait, folded, for whoever needs them.
    return heading + "<details>\n<summary>Every value sent, step by step (" +
           std::to_string(values.size()) + ")</summary>\n" + table + "</details>\n";
}

std::string curves(const ReportInput& in, ReportForm form) {
    // On paper a heading could end a page with its curve on the next: each curve carries its
    // title in the picture.
    std::string html = form == ReportForm::Page ? "<h2>Curves</h2>\n" : "";
    for (const CurveKind kind : curve_picture::kindsHeld(*in.curves)) {
        if (form == ReportForm::Page) {
            SvgCanvas svg(curve_picture::Width, curve_picture::Height);
            curve_picture::draw(*in.curves, kind, svg);
            html += "<p>\n" + svg.text(curve_picture::title(kind)) + "</p>\n";
        } else {
            html += "<p><img src=\"" + std::string(PrintedCurvePrefix) +
                    std::to_string(static_cast<int>(kind)) + "\" alt=\"" +
                    escaped(curve_picture::title(kind)) + "\"/></p>\n";
        }
    }
    return html;
}

} // namespace

std::string serviceReportHtml(const ReportInput& in, ReportForm form) {
    std::string html = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE html>\n"
                       "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n"
                       "<meta charset=\"UTF-8\"/>\n<title>Service report</title>\n<style>" +
                       std::string(Style) + "</style>\n</head>\n<body>\n<h1>Service report</h1>\n";
    html += facts(in) + procedures(in);
    if (in.record.hasSession()) {
        html += adjustments(in);
    }
    html += readouts(in);
    if (in.curves && !curve_picture::kindsHeld(*in.curves).empty()) {
        html += curves(in, form);
    }
    if (form != ReportForm::Print) {
        html += valuesSent(in, form);
    }
    return html + "</body>\n</html>\n";
}
