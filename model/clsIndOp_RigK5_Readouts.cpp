// A/D and D/A readouts: ask the radio with E8 command 3, judge the answer, show what changed;
// and the window state that follows the mode of the utility.
#include "model/clsIndOp_RigK5.h"

#include "app/common/CommonRoutines.h"
#include "link/LinkGlobals.h"
#include "link/clsCmcCln3Drv.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/frmCom.h"
#include "model/NumberPicture.h"
#include "model/RigHost.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr std::int16_t ReadoutCommand = 3;
constexpr int DaParameterOffset = 3; // D/A entry n is parameter n + 3

enum class Reading { Temperature, Voltage, Percent, None };

struct ReadoutRow {
    int row; // list row less the caption row; -1 = no line
    const char* label;
    Reading reading;
};

const ReadoutRow AdRows[4] = {{0, "TEMPS:", Reading::Temperature},
                              {1, "LVIN :", Reading::Voltage},
                              {2, "SD   :", Reading::Voltage},
                              {3, "", Reading::None}};

const ReadoutRow DaRows[11] = {{0, "BPF T1 :", Reading::Voltage},
                               {1, "BPF T2 :", Reading::Voltage},
                               {2, "BPF T3 :", Reading::Voltage},
                               {-1, "", Reading::None},
                               {-1, "", Reading::None},
                               {3, "Volium :", Reading::Voltage},
                               {4, "DTCS BL:", Reading::Voltage},
                               {5, "REF    :", Reading::Percent},
                               {6, "Dev    :", Reading::Voltage},
                               {7, "SQL Lev:", Reading::Percent},
                               {-1, "", Reading::None}};

// "123:7Bh:" — the raw value in decimal (3 wide) and in hexadecimal (2 digits).
std::string valuePrefix(int v) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X", v);
    return rightField(std::to_string(v), 3) + ":" + rightField(std::string("00") + hex, 2) + "h:";
}

double volts(int v) {
    return static_cast<std::int16_t>(v * 5) / 255.0;
}

// The thermistor of the temperature sensor: B = 4000, 47 kOhm against 10 kOhm at 25 'C.
double celsius(int v) {
    const double u = volts(v);
    const double r = (500000.0 - u * 100000.0) / u / 47000.0;
    return 1.0 / (std::log(r) / 4000.0 + 1.0 / 298.15) - 273.15;
}

std::string lineText(const ReadoutRow& row, int v) {
    const std::string prefix = row.label + valuePrefix(v);
    switch (row.reading) {
    case Reading::Temperature:
        if (v == 0 || v == 255) {
            return prefix + "*Error"; // open or shorted sensor
        }
        return prefix + rightField(numberPicture(celsius(v), 0, 2) + "'C", 8);
    case Reading::Voltage:
        return prefix + rightField(numberPicture(volts(v), 1, 2) + "V", 7);
    case Reading::Percent:
        return prefix + rightField(numberPicture(v / 255.0 * 100.0, 1, 2) + "%", 7);
    case Reading::None:
        break;
    }
    return "";
}

void setListLine(QListWidget& list, int row, const std::string& text) {
    while (list.count() <= row) {
        list.addItem(QString());
    }
    list.item(row)->setText(QString::fromStdString(text));
}

} // namespace

std::string clsIndOp_RigK5::adLineText(int channel, int v) {
    return lineText(AdRows[std::clamp(channel, 0, 3)], v);
}

std::string clsIndOp_RigK5::daLineText(int entry, int v) {
    return lineText(DaRows[std::clamp(entry, 0, 10)], v);
}

void clsIndOp_RigK5::RigOpDisp_AD(std::int16_t channel, bool firstRequest, bool& done) {
    readout(ReadoutPage::AD, channel, firstRequest, done);
}

void clsIndOp_RigK5::RigOpDisp_DA(std::int16_t entry, bool firstRequest, bool& done) {
    readout(ReadoutPage::DA, entry, firstRequest, done);
}

void clsIndOp_RigK5::readout(ReadoutPage page, std::int16_t index, bool firstRequest, bool& done) {
    const bool ad = page == ReadoutPage::AD;
    clsCmcCln3Sequence& seq = gObjSeq();
    done = false;
    if (firstRequest) {
        const int parameter = ad ? index : index + DaParameterOffset;
        seq.easySendE8ReqAnswer(IntToHex2(ReadoutCommand) + IntToAsciiHex2(parameter));
        return;
    }
    if (seq.OpRunning()) {
        return;
    }
    done = true;
    const Bytes answer = gObjCom()->cln3D.varLastE8Answer();
    if (RigOpFunc_E8AnswerIllegal(answer)) {
        commError = true;
        return;
    }
    const std::int16_t v = RigOpFunc_E8AnswerValue(answer);
    std::int16_t& last = ad ? adLast.at(static_cast<std::size_t>(index))
                            : daLast.at(static_cast<std::size_t>(index));
    if (v != last) {
        last = v;
        writeReadoutLine(page, index, v);
    }
}

void clsIndOp_RigK5::writeReadoutLine(ReadoutPage page, std::int16_t index, std::int16_t v) {
    const bool ad = page == ReadoutPage::AD;
    const ReadoutRow& row = ad ? AdRows[index] : DaRows[index];
    if (row.row < 0 || rigHost() == nullptr) {
        return;
    }
    setListLine(rigHost()->lbo01(ad ? 0 : 1), row.row + 1, lineText(row, v));
}

void clsIndOp_RigK5::RigOpFunc_FormState() {
    RigHost* host = rigHost();
    if (host == nullptr) {
        return;
    }
    host->fra01(0).setVisible(RigProp_Shielding());
    const bool consoleWasShown = !host->fra01(1).isHidden();
    host->fra01(1).setVisible(RigProp_EditEnabled());
    if (!consoleWasShown && RigProp_EditEnabled()) {
        host->lboConsole().setFocus();
    }
    host->fra01(3).setVisible(RigProp_DispPara());
    host->cmd00(0).setEnabled(!RigProp_DispPara());
    host->cmd00(1).setEnabled(RigProp_EditEnabled());
    host->cmd00(2).setEnabled(!RigProp_Shielding());
    // In the dump view "Disp para" is both the default and the cancel button (Enter and Esc
    // leave the dump); the main window routes Esc to it.
    host->cmd00(2).setDefault(RigProp_DispPara());
}
