// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the channel frequency parser and the channel dialog's OK path. Whatever is
// typed, a channel's frequency ends up inside 136 to 174 MHz on a point of the 12.5, 8.33,
// 6.25 or 5 kHz grid, the dialog stores what the parser makes of its text (blanks only hide the
// channel and keep its frequency), and showing a stored frequency and taking it back, by the
// parser or by opening the dialog and clicking OK, never moves it. Any number of 0 and up snaps to
// the grid, and any stored number, also one a hand-edited settings file holds, shows without
// harm.
#include "model/clsRig_Ch.h"
#include "tests/fuzz/FuzzChecks.h"
#include "ui/frmEditCh.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <limits>

using fuzzcheck::require;

namespace {

// Grid points of a 25 kHz block (2500 units of 10 Hz): 12.5, 8.33, 6.25 and 5 kHz steps,
// the thirds cut to whole units.
bool onGrid(std::int64_t frequency) {
    static const int points[] = {0, 500, 625, 833, 1000, 1250, 1500, 1666, 1875, 2000};
    const std::int64_t r = ((frequency % 2500) + 2500) % 2500;
    return std::find(std::begin(points), std::end(points), r) != std::end(points);
}

bool inBandOnGrid(std::int32_t frequency) {
    return frequency >= clsRig_Ch::FreqLowest && frequency <= clsRig_Ch::FreqHighest &&
           onGrid(frequency);
}

void checkParser(const std::string& typed, std::int32_t stored) {
    const std::int32_t parsed = clsRig_Ch::Conv_Freq_StrToLong(typed);
    require(inBandOnGrid(parsed), "a typed frequency off the band or the grid");
    require(clsRig_Ch::Conv_Freq_StrToLong(clsRig_Ch::Conv_Freq_LongToStr(parsed)) == parsed,
            "showing and reading a frequency moved it");
    // The parser hands the snapping only numbers of 0 and up (a stored one is held inside the
    // band before it is used).
    const std::int32_t snapped = clsRig_Ch::AdjustFreq(stored & 0x7FFFFFFF);
    require(onGrid(snapped) || snapped == std::numeric_limits<std::int32_t>::max(),
            "a stored number snapped off the grid");
    std::ignore = clsRig_Ch::Conv_Freq_LongToStr(stored);
}

// OK clicked on the dialog for the channel with the text given (nothing typed: as shown).
void okOnDialog(clsRig_Ch& ch, const QString* typed, int power) {
    frmEditCh dialog;
    dialog.setCurCh(&ch);
    dialog.show(); // loads the controls from the channel, as exec() does
    if (typed != nullptr) {
        dialog.txtEditCh_FreqOp->setText(*typed);
        dialog.cboEditCh_RFPower->setCurrentIndex(power);
    }
    const std::string text = dialog.txtEditCh_FreqOp->text().toStdString();
    const bool blanks = text.find_first_not_of(" \t") == std::string::npos;
    const clsRig_Ch before = ch;
    dialog.cmdEditCh_Ok->click();
    require(ch.AppearCh() == !blanks, "OK did not show or hide the channel as typed");
    if (blanks) {
        require(ch.FreqOp_Pure() == before.FreqOp_Pure(), "hiding a channel moved it");
        return;
    }
    require(ch.FreqOp_Pure() == clsRig_Ch::Conv_Freq_StrToLong(text),
            "OK stored another frequency");
    require(inBandOnGrid(ch.FreqOp_Pure()), "OK stored a frequency off the band or the grid");
    require(ch.FreqOpRef_Pure() == ch.Ref_FreqOp(), "OK stored a reference that does not suit");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_channel";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const auto stored = in.ConsumeIntegral<std::int32_t>();
    const bool appear = in.ConsumeBool();
    const int power = in.ConsumeIntegralInRange(0, 1);
    const std::string typed = in.ConsumeRemainingBytesAsString();
    checkParser(typed, stored);

    clsRig_Ch ch; // as the settings load it: held inside the band
    ch.setAppearCh(appear);
    ch.setFreqOp_Pure(std::clamp(stored, clsRig_Ch::FreqLowest, clsRig_Ch::FreqHighest));
    const QString text = QString::fromUtf8(typed.data(), static_cast<qsizetype>(typed.size()));
    okOnDialog(ch, &text, power);
    const clsRig_Ch stored1 = ch;
    okOnDialog(ch, nullptr, power); // opened again and confirmed as shown
    require(ch.AppearCh() == stored1.AppearCh() && ch.FreqOp_Pure() == stored1.FreqOp_Pure(),
            "opening the dialog and clicking OK moved the frequency");
    return 0;
}
