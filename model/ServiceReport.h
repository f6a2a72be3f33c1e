// SPDX-License-Identifier: GPL-3.0-or-later
// The service report a workshop keeps with the job: a well-formed XHTML page (any browser
// opens it, a parser reads it, Qt turns it into a PDF). It reads as a service record: the
// program, the time, the port, the radio and its backup; one row per procedure run with its
// outcome, start and end and the values before -> after of the items it changed; every
// adjustment at Connect and now, changed ones marked; the readouts, each with the time it was
// read; the curves of the procedures as vector pictures with their legends; and, as an
// appendix, every value sent step by step.
//
//   serviceReportHtml(input, ReportForm::Page)    -> the .html file: curves as SVG, the
//                                                    appendix collapsed
//   serviceReportHtml(input, ReportForm::Print)   -> what the PDF prints: no appendix, each
//                                                    curve an <img src="curve:0"/> to draw
#pragma once

#include <QDateTime>

#include <string>
#include <vector>

class CurveLog;
class ServiceRecord;
class clsCmcEeprom;

// A readout line as shown, and when and on what occasion ("at Connect") it was read.
struct ReportReadout {
    std::string line;
    std::string occasion;
    QDateTime at;
};

struct ReportInput {
    std::string program; // name and version
    QDateTime madeAt;
    const ServiceRecord& record;
    const clsCmcEeprom& imageNow;
    std::vector<ReportReadout> readouts; // A/D, then D/A
    const CurveLog* curves = nullptr;
};

enum class ReportForm {
    Page,            // the HTML file
    Print,           // the PDF: the step-by-step values left out
    PrintEveryValue, // the PDF "with every value sent"
};

// In the printed forms a curve stands as an image named so, followed by its CurveKind as a
// number: the printer draws the curve there itself, as vector graphics.
inline constexpr const char* PrintedCurvePrefix = "curve:";

std::string serviceReportHtml(const ReportInput& input, ReportForm form = ReportForm::Page);
