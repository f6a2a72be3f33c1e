// SPDX-License-Identifier: GPL-3.0-or-later
// The service report of a scripted session, read back as a parser reads it: the radio and its
// backup, the adjustments at Connect and now, every procedure run with its outcome, and every
// value that changed. And a report path that cannot be written.
#include "tests/model/ConnectedBench.h"
#include "tests/support/DialogScript.h"

#include "model/ServiceJob.h"
#include "model/TestChannels.h"
#include "ui/ServiceMenu.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QPushButton>
#include <QXmlStreamReader>

#include <map>

using namespace proceduretest;
using testsupport::DialogScript;

namespace {

using Row = std::vector<std::string>;

// The rows of every table of the page under the heading before it ("" for the first table).
std::map<std::string, std::vector<Row>> tablesOf(const QByteArray& html, QString& error) {
    std::map<std::string, std::vector<Row>> tables;
    QXmlStreamReader xml(html);
    std::string heading;
    std::string text;
    Row row;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            text.clear();
        } else if (xml.isCharacters()) {
            text += xml.text().toString().toStdString();
        } else if (xml.isEndElement()) {
            const QStringView name = xml.name();
            if (name == QLatin1String("h2")) {
                heading = text;
            } else if (name == QLatin1String("td") || name == QLatin1String("th")) {
                row.push_back(text);
            } else if (name == QLatin1String("tr")) {
                tables[heading].push_back(row);
                row.clear();
            }
        }
    }
    error = xml.hasError() ? xml.errorString() : QString();
    return tables;
}

const Row* rowNamed(const std::vector<Row>& rows, const std::string& first, std::size_t at = 0) {
    for (const Row& row : rows) {
        if (row.size() > at && row[at] == first) {
            return &row;
        }
    }
    return nullptr;
}

QByteArray contentOf(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(ServiceReportTest, AScriptedSessionIsInTheReportItsPdfBesideIt) {
    Connected c;
    DialogScript script;
    c.items().UpDown(1, 2); // Power(Hi) 200 -> 202
    c.bench.tick(10);
    ASSERT_TRUE(c.enter(ItemBpfLowAll) && c.runToEnd());
    ASSERT_TRUE(c.enter(ItemSMeter) && c.runToEnd());
    c.bench.channels().ChUnit(2).setAppearCh(false);
    c.items().EnterPushed(ItemBpfMidAll); // refused: its channel is hidden
    c.bench.tick(10);
    ASSERT_TRUE(c.enter(ItemBpfHighAll) && c.atStep(44));
    c.bench.window().cmd00(1).click(); // Reload leaves the sweep
    c.bench.radio().config().signal = 0;
    ASSERT_TRUE(c.enter(ItemSMeter) && c.runToEnd()); // no signal: no result

    const std::string pdf = c.bench.folder().file("job.pdf");
    script.choose(pdf);
    c.bench.window().serviceMenu().saveReport();
    EXPECT_TRUE(contentOf(pdf).startsWith("%PDF-"));
    QString error;
    auto tables = tablesOf(contentOf(c.bench.folder().file("job.html")), error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();

    const std::vector<Row>& facts = tables[""];
    EXPECT_EQ(*rowNamed(facts, "Program"), (Row{"Program", "VS-K5 ALN Rev.1.0"}));
    EXPECT_EQ(*rowNamed(facts, "COM port"), (Row{"COM port", "COM 1"}));
    EXPECT_EQ(*rowNamed(facts, "Radio"), (Row{"Radio", "VX-K5, sub code 0001"}));
    const std::string backup =
        c.bench.model().serviceJob().record().sessionStarts().front().backupFile;
    EXPECT_EQ(*rowNamed(facts, "Backup"), (Row{"Backup", backup}));

    const std::vector<Row>& items = tables["Adjustments"];
    EXPECT_EQ(*rowNamed(items, "Power(Hi)"), (Row{"Power(Hi)", "200", "202", "changed"}));
    EXPECT_EQ(*rowNamed(items, "BFP Low T1"), (Row{"BFP Low T1", "90", "92", "changed"}));
    EXPECT_EQ(*rowNamed(items, "SQL"), (Row{"SQL", "92", "92", ""}));
    EXPECT_EQ(*rowNamed(items, "REF Slant  0"), (Row{"REF Slant  0", "-15", "-15", ""}));

    std::vector<std::pair<std::string, std::string>> runs;
    for (const Row& row : tables["Procedures"]) {
        runs.emplace_back(row.at(1), row.at(2));
    }
    EXPECT_EQ(runs, (std::vector<std::pair<std::string, std::string>>{
                        {"Procedure", "Outcome"},
                        {"BPF Low ALL", "Completed"},
                        {"S-METER", "Completed"},
                        {"BPF Mid ALL", "Refused"},
                        {"BPF High ALL", "Abandoned"},
                        {"S-METER", "Ended without result"}}));
    const auto& procedures = tables["Procedures"];
    EXPECT_NE(procedures[1][3].find("BFP Low T1: 90 \u2192 92"), std::string::npos);
    EXPECT_EQ(procedures[3][3], "Test channel 02 is not set up for BPF Mid ALL.");
    EXPECT_EQ(procedures[5][3], "No signal reached the detector.");

    const Row* sent = rowNamed(tables["Values sent"], "Power(Hi)", 1);
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(Row(sent->begin() + 1, sent->end()), (Row{"Power(Hi)", "200", "202"}));
    EXPECT_NE(rowNamed(tables["Values sent"], "SD S1 Level", 1), nullptr);
    EXPECT_EQ(tables["Readouts"].at(0).at(0).rfind("TEMPS:", 0), 0u);

    // The curves of the runs as pictures inside the page: both sweeps that took readings and
    // the S-meter.
    const QString page = QString::fromUtf8(contentOf(c.bench.folder().file("job.html")));
    const QRegularExpression image("src=\"data:image/png;base64,([^\"]+)\" alt=\"([^\"]+)\"");
    QStringList titles;
    for (const QRegularExpressionMatch& m : image.globalMatch(page)) {
        titles << m.captured(2);
        EXPECT_FALSE(QImage::fromData(QByteArray::fromBase64(m.captured(1).toLatin1()), "PNG")
                         .isNull());
    }
    EXPECT_EQ(titles, (QStringList{"BPF Low ALL", "BPF High ALL", "S-METER"}));
}

TEST(ServiceReportTest, AReportThatCannotBeWrittenIsSaidAndLeavesNoFile) {
    Connected c;
    DialogScript script;
    c.bench.folder().writeFile("plain", "a file, not a folder");
    const std::string path = c.bench.folder().file("plain/report.html");
    script.choose(path);
    c.bench.window().serviceMenu().saveReport();
    EXPECT_EQ(c.message(), "Cannot write '" + path + "'.");
    EXPECT_TRUE(contentOf(path).isEmpty());
}
