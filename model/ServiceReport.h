// SPDX-License-Identifier: GPL-3.0-or-later
// The service report a workshop keeps with the job: a well-formed XHTML page (any browser
// opens it, a parser reads it, Qt turns it into a PDF) with the program, the time, the port,
// the radio and its backup; every adjustment at Connect and now, changed ones marked; the
// readouts at the time of the report; every procedure run with its outcome; every value that
// changed, with its time; and the curves of the procedures as pictures inside the page.
#pragma once

#include <QDateTime>

#include <string>
#include <vector>

class ServiceRecord;
class clsCmcEeprom;

// A picture the report shows: a curve of a procedure, as PNG bytes in base64.
struct ReportPicture {
    std::string title;
    std::string pngBase64;
};

struct ReportInput {
    std::string program; // name and version
    QDateTime madeAt;
    const ServiceRecord& record;
    const clsCmcEeprom& imageNow;
    std::vector<std::string> adReadouts; // the lines of the readout lists as shown
    std::vector<std::string> daReadouts;
    std::vector<ReportPicture> pictures;
};

std::string serviceReportHtml(const ReportInput& input);
