// SPDX-License-Identifier: GPL-3.0-or-later
// The service report of a scripted session, read back as a parser reads it: the radio and its
// backup, every procedure run with its outcome, times and changes, the adjustments at Connect
// and now, the readouts with the time they were read, the curves, and every value that changed.
// The PDF of two sweeps and a TXF write is two to three pages; with every value sent, more. And
// a report path that cannot be written.
#include "tests/support/Bench.h"
#include "tests/support/ConnectedBench.h"
#include "tests/support/DialogScript.h"

#include "model/ServiceJob.h"
#include "model/TestChannels.h"
#include "ui/ServiceMenu.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <map>

using namespace proceduretest;
using testsupport::Bench;
using OnWindow = ConnectedOn<Bench>; // connected, on the window's bench
using testsupport::DialogScript;

namespace {

using Row = std::vector<std::string>;

// The rows of every table of the page under the heading before it ("" for the first table).
std::map<std::string, std::vector<Row>> tablesOf(const std::string& html, QString& error) {
    std::map<std::string, std::vector<Row>> tables;
    QXmlStreamReader xml(QByteArray::fromStdString(html));
    std::string heading;
    std::string text;
    Row row;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("br")) {
            text += "\n";
        } else if (xml.isStartElement()) {
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

// The adjustments stand in two columns of items side by side: one row per item.
std::vector<Row> itemRows(const std::vector<Row>& rows) {
    std::vector<Row> items;
    for (const Row& row : rows) {
        for (std::size_t at = 0; at + 4 <= row.size(); at += 4) {
            items.emplace_back(row.begin() + static_cast<std::ptrdiff_t>(at),
                               row.begin() + static_cast<std::ptrdiff_t>(at + 4));
        }
    }
    return items;
}

const Row* rowNamed(const std::vector<Row>& rows, const std::string& first, std::size_t at = 0) {
    for (const Row& row : rows) {
        if (row.size() > at && row[at] == first) {
            return &row;
        }
    }
    return nullptr;
}

int pdfPages(const std::string& pdf) {
    return static_cast<int>(QString::fromLatin1(pdf.data(), static_cast<qsizetype>(pdf.size()))
                                .count(QRegularExpression("/Type\\s*/Page(?![s\\w])")));
}

struct PagesCase {
    const char* name;
    void (ServiceMenu::*entry)();
    int fewestPages;
    int mostPages;
};

class ReportPagesTest : public ::testing::TestWithParam<PagesCase> {};

} // namespace

namespace {

// A step, two whole runs, a refused one, one left by Reload and one without a result.
bool playSession(OnWindow& c) {
    c.items().UpDown(1, 2); // Power(Hi) 200 -> 202
    c.bench.tick(10);
    if (!c.enter(ItemBpfLowAll) || !c.runToEnd() || !c.enter(ItemSMeter) || !c.runToEnd()) {
        return false;
    }
    c.bench.channels().ChUnit(2).setAppearCh(false);
    c.items().EnterPushed(ItemBpfMidAll); // refused: its channel is hidden
    c.bench.tick(10);
    if (!c.enter(ItemBpfHighAll) || !c.atStep(44)) {
        return false;
    }
    c.bench.window().cmd00(1).click(); // Reload leaves the sweep
    c.bench.radio().config().signal = 0;
    return c.enter(ItemSMeter) && c.runToEnd(); // no signal: no result
}

// Every run in order with its outcome, times, and what it changed or why it ended so.
void checkProcedures(const std::vector<Row>& procedures) {
    std::vector<std::pair<std::string, std::string>> runs;
    const QRegularExpression clock("^\\d\\d:\\d\\d:\\d\\d$");
    for (const Row& row : procedures) {
        runs.emplace_back(row.at(0), row.at(3));
        EXPECT_TRUE(runs.size() == 1 ||
                    (clock.match(QString::fromStdString(row.at(1))).hasMatch() &&
                     clock.match(QString::fromStdString(row.at(2))).hasMatch()));
    }
    EXPECT_EQ(runs, (std::vector<std::pair<std::string, std::string>>{
                        {"Procedure", "Outcome"},
                        {"BPF Low ALL", "Completed"},
                        {"S-METER", "Completed"},
                        {"BPF Mid ALL", "Refused"},
                        {"BPF High ALL", "Abandoned"},
                        {"S-METER", "Ended without result"}}));
    // The items a run changed, one after the other, below the reason it ended so.
    EXPECT_EQ(procedures[1][4], "BFP Low T1: 90 \u2192 92; BPF Low T2: 106 \u2192 104; "
                                "BPF Low T3: 96 \u2192 98");
    EXPECT_EQ(procedures[3][4], "Test channel 02 is not set up for BPF Mid ALL.");
    EXPECT_EQ(procedures[5][4], "No signal reached the detector.");
}

// The curves of the runs drawn inside the page, each with its legend: both sweeps that took
// readings and the S-meter; the steps fold away.
void checkCurvesAndSteps(const QString& page) {
    const QRegularExpression picture("<svg [^>]*aria-label=\"([^\"]+)\"");
    QStringList titles;
    for (const QRegularExpressionMatch& m : picture.globalMatch(page)) {
        titles << m.captured(1);
    }
    EXPECT_EQ(titles, (QStringList{"BPF Low ALL", "BPF High ALL", "S-METER"}));
    EXPECT_EQ(page.count(">Before the sweep (dotted)</text>"), 2);
    EXPECT_EQ(page.count(">Where it settled (dashed)</text>"), 2);
    EXPECT_TRUE(page.contains("<details>\n<summary>Every value sent, step by step ("));
}

} // namespace

TEST(ServiceReportTest, AScriptedSessionIsInTheReportItsPdfBesideIt) {
    OnWindow c;
    DialogScript script;
    ASSERT_TRUE(playSession(c));

    const std::string pdf = c.bench.folder().file("job.pdf");
    script.choose(pdf);
    c.bench.window().serviceMenu().saveReport();
    EXPECT_EQ(c.bench.folder().readFile("job.pdf").rfind("%PDF-", 0), 0u);
    const std::string html = c.bench.folder().readFile("job.html");
    QString error;
    auto tables = tablesOf(html, error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();

    const std::vector<Row>& facts = tables[""];
    EXPECT_EQ(*rowNamed(facts, "Program"), (Row{"Program", "VS-K5 ALN Rev.1.0"}));
    EXPECT_EQ(*rowNamed(facts, "COM port"), (Row{"COM port", "COM 1"}));
    EXPECT_EQ(*rowNamed(facts, "Radio"), (Row{"Radio", "VX-K5, sub code 0001"}));
    const std::string backup =
        c.bench.model().serviceJob().record().sessionStarts().front().backupFile;
    EXPECT_EQ(*rowNamed(facts, "Backup"), (Row{"Backup", backup}));

    const std::vector<Row> items = itemRows(tables["Adjustments"]);
    EXPECT_EQ(*rowNamed(items, "Power(Hi)"), (Row{"Power(Hi)", "200", "202", "changed"}));
    EXPECT_EQ(*rowNamed(items, "BFP Low T1"), (Row{"BFP Low T1", "90", "92", "changed"}));
    EXPECT_EQ(*rowNamed(items, "SQL"), (Row{"SQL", "92", "92", ""}));
    EXPECT_EQ(*rowNamed(items, "REF Slant  0"), (Row{"REF Slant  0", "-15", "-15", ""}));

    checkProcedures(tables["Procedures"]);
    const Row* sent = rowNamed(tables["Values sent"], "Power(Hi)", 1);
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(Row(sent->begin() + 1, sent->end()), (Row{"Power(Hi)", "200", "202"}));
    EXPECT_NE(rowNamed(tables["Values sent"], "SD S1 Level", 1), nullptr);
    // Each readout says when it was read: the temperature by the Reload that left the sweep,
    // the signal level by the S-meter's run.
    const std::vector<Row>& readouts = tables["Readouts"];
    ASSERT_GE(readouts.size(), 3u);
    EXPECT_EQ(readouts[0][0].rfind("TEMPS:", 0), 0u);
    const QRegularExpression at("^read (at Reload|during S-METER) \\d\\d:\\d\\d:\\d\\d$");
    EXPECT_TRUE(at.match(QString::fromStdString(readouts[0][1])).captured(1) == "at Reload")
        << readouts[0][1];
    EXPECT_TRUE(at.match(QString::fromStdString(readouts[2][1])).captured(1) == "during S-METER")
        << readouts[2][1];

    checkCurvesAndSteps(QString::fromStdString(html));
}

// A session of two sweeps and a TXF write: its PDF is a few pages, the steps left out; the
// entry with every value sent prints them too.
TEST_P(ReportPagesTest, TwoSweepsAndATxfWrite) {
    OnWindow c;
    DialogScript script;
    ASSERT_TRUE(c.enter(ItemBpfLowAll) && c.runToEnd());
    ASSERT_TRUE(c.enter(ItemBpfMidAll) && c.runToEnd());
    ASSERT_TRUE(c.enter(ItemTxf) && c.txfThroughBothEnters() && c.runToEnd());
    const std::string pdf = c.bench.folder().file("job.pdf");
    script.choose(pdf);
    (c.bench.window().serviceMenu().*GetParam().entry)();
    const int pages = pdfPages(c.bench.folder().readFile("job.pdf"));
    EXPECT_GE(pages, GetParam().fewestPages);
    EXPECT_LE(pages, GetParam().mostPages);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ReportPagesTest,
    ::testing::Values(PagesCase{"StepsLeftOut", &ServiceMenu::saveReport, 2, 3},
                      PagesCase{"WithEveryValueSent", &ServiceMenu::saveReportWithEveryValue, 5,
                                99}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ServiceReportTest, AReportThatCannotBeWrittenIsSaidAndLeavesNoFile) {
    OnWindow c;
    DialogScript script;
    c.bench.folder().writeFile("plain", "a file, not a folder");
    const std::string path = c.bench.folder().file("plain/report.html");
    script.choose(path);
    c.bench.window().serviceMenu().saveReport();
    EXPECT_EQ(c.message(), "Cannot write '" + path + "'.");
    EXPECT_FALSE(c.bench.folder().exists("plain/report.html"));
}
