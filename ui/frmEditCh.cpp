// SPDX-License-Identifier: GPL-3.0-or-later
// The channel edit dialog.
#include "ui/frmEditCh.h"

#include "model/clsRig_Ch.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

// A frequency box that selects its whole text whenever it gets the focus, so typing replaces
// the old frequency. A mouse click would place the cursor right after the focus arrives, so
// the selection is made once more when the click has been handled.
class SelectAllLineEdit : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;

  protected:
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        selectAll();
        if (event->reason() == Qt::MouseFocusReason) {
            QTimer::singleShot(0, this, &QLineEdit::selectAll);
        }
    }
};

bool onlyBlanks(const QString& text) {
    for (QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t')) {
            return false;
        }
    }
    return true;
}

} // namespace

frmEditCh::frmEditCh(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Edit Ch"));
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif); // any sans-serif where Arial is not installed
    setFont(font);

    lblEditCh_FreqOp = new QLabel(QStringLiteral("Operating Frequency"), this);
    txtEditCh_FreqOp = new SelectAllLineEdit(this);
    lblEditCh_RFPower = new QLabel(QStringLiteral("RF Power"), this);
    cboEditCh_RFPower = new QComboBox(this);
    cboEditCh_RFPower->addItem(QStringLiteral("High")); // index 0 = power 0
    cboEditCh_RFPower->addItem(QStringLiteral("Low"));  // index 1 = power 1
    cmdEditCh_Ok = new QPushButton(QStringLiteral("OK"), this);
    cmdEditCh_Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdEditCh_Ok->setDefault(true);

    lblEditCh_FreqOp->setBuddy(txtEditCh_FreqOp);
    lblEditCh_RFPower->setBuddy(cboEditCh_RFPower);

    auto* fields = new QGridLayout;
    fields->addWidget(lblEditCh_FreqOp, 0, 0);
    fields->addWidget(txtEditCh_FreqOp, 0, 1);
    fields->addWidget(lblEditCh_RFPower, 1, 0);
    fields->addWidget(cboEditCh_RFPower, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdEditCh_Ok);
    buttons->addWidget(cmdEditCh_Cancel);
    auto* layout = new QGridLayout(this);
    layout->addLayout(fields, 0, 0);
    layout->addLayout(buttons, 1, 0);

    connect(cmdEditCh_Ok, &QPushButton::clicked, this, &frmEditCh::okClicked);
    connect(cmdEditCh_Cancel, &QPushButton::clicked, this, &frmEditCh::cancelClicked);
    cmdEditCh_Ok->installEventFilter(this);
}

void frmEditCh::setCurCh(clsRig_Ch* ch) {
    curCh = ch;
    newChannel = true;
    if (isVisible()) {
        update(); // already on screen: the next paint loads the new channel
    }
}

void frmEditCh::ResetOp() {
    if (curCh == nullptr) {
        txtEditCh_FreqOp->clear();
        cboEditCh_RFPower->setCurrentIndex(0);
        return;
    }
    txtEditCh_FreqOp->setText(
        curCh->AppearCh() ? QString::fromStdString(curCh->FreqOp_String()).trimmed() : QString());
    // Power 2 (a hand-edited setting) works as low power on the radio; show it as "Low".
    const int power = curCh->RFPower_Pure();
    cboEditCh_RFPower->setCurrentIndex(power == 0 ? 0 : 1);
}

void frmEditCh::FormAdjust() {
    const QScreen* where = screen();
    if (where == nullptr) {
        return;
    }
    const QRect area = where->availableGeometry();
    const QRect frame = frameGeometry();
    int left = frame.left();
    int top = frame.top();
    if (left + frame.width() > area.left() + area.width()) {
        left = area.left() + area.width() - frame.width();
    }
    if (top + frame.height() > area.top() + area.height()) {
        top = area.top() + area.height() - frame.height();
    }
    // A dialog larger than the screen keeps its top left corner visible.
    left = std::max(left, area.left());
    top = std::max(top, area.top());
    if (left != frame.left() || top != frame.top()) {
        move(left, top);
    }
}

void frmEditCh::firstDisplay() {
    newChannel = false;
    ResetOp();
    txtEditCh_FreqOp->setFocus(Qt::OtherFocusReason);
    txtEditCh_FreqOp->selectAll();
    FormAdjust();
}

void frmEditCh::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Loaded before the first paint, so the technician never sees the previous channel.
    if (newChannel) {
        firstDisplay();
    }
}

void frmEditCh::paintEvent(QPaintEvent* event) {
    if (newChannel) {
        firstDisplay();
    }
    QDialog::paintEvent(event);
}

bool frmEditCh::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cmdEditCh_Ok && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (const auto caption = okKeys.Feed(key->text().toStdString())) {
            setWindowTitle(QString::fromStdString(*caption));
        }
    }
    return QDialog::eventFilter(watched, event); // the key still reaches the button
}

void frmEditCh::okClicked() {
    // Until the dialog has shown the new channel, an OK (a key still held from the main
    // window) would store controls that belong to another channel.
    if (newChannel) {
        return;
    }
    if (curCh != nullptr) {
        const QString text = txtEditCh_FreqOp->text();
        if (onlyBlanks(text)) {
            curCh->setAppearCh(false);
        } else {
            curCh->setAppearCh(true);
            curCh->setFreqOp_Pure(clsRig_Ch::Conv_Freq_StrToLong(text.toStdString()));
            txtEditCh_FreqOp->clear();
            curCh->setRFPower_Pure(
                static_cast<std::int16_t>(std::max(0, cboEditCh_RFPower->currentIndex())));
            curCh->setFreqOpRef_Pure(curCh->Ref_FreqOp());
        }
    }
    accept();
}

void frmEditCh::cancelClicked() {
    txtEditCh_FreqOp->clear();
    reject();
}
