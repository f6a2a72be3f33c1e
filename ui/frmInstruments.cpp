// SPDX-License-Identifier: GPL-3.0-or-later
// The instruments dialog.
#include "ui/frmInstruments.h"

#include "ui/UiHooks.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

frmInstruments::frmInstruments(const Choice& choice, QWidget* parent)
    : QDialog(parent), given(choice) {
    setWindowTitle(QStringLiteral("Instruments"));
    buildFields();
    txtResource->setText(QString::fromStdString(choice.generator.resource));
    txtProfile->setText(QString::fromStdString(choice.generator.profile));
    spnSettle->setValue(choice.settleMs);
    spnMaximum->setValue(choice.generator.maximumLevelDbm);
    connect(cmdTest, &QPushButton::clicked, this, &frmInstruments::test);
    connect(cmdProfile, &QPushButton::clicked, this, &frmInstruments::chooseProfile);
}

// The probe closes its connection as it goes; nothing it says then reaches the dialog.
frmInstruments::~frmInstruments() {
    if (probe) {
        QObject::disconnect(&probe->instrument(), nullptr, this, nullptr);
    }
}

void frmInstruments::buildFields() {
    txtResource = new QLineEdit(this);
    txtResource->setPlaceholderText(QStringLiteral("TCPIP::192.168.1.20::5025::SOCKET"));
    txtResource->setMinimumWidth(320);
    cmdTest = new QPushButton(QStringLiteral("&Test"), this);
    cmdTest->setAutoDefault(false);
    lblTest = new QLabel(this);
    lblTest->setWordWrap(true);
    lblTest->setTextInteractionFlags(Qt::TextSelectableByMouse);
    txtProfile = new QLineEdit(this);
    cmdProfile = new QPushButton(QStringLiteral("…"), this);
    cmdProfile->setAutoDefault(false);
    spnSettle = new QSpinBox(this);
    spnSettle->setRange(0, instruments::kLongestSettleMs);
    spnSettle->setSuffix(QStringLiteral(" ms"));
    spnMaximum = new QDoubleSpinBox(this);
    spnMaximum->setRange(instruments::kLowestMaximumDbm, instruments::kHighestMaximumDbm);
    spnMaximum->setDecimals(1);
    spnMaximum->setSuffix(QStringLiteral(" dBm"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    cmdOk = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* resourceRow = new QHBoxLayout;
    resourceRow->addWidget(txtResource);
    resourceRow->addWidget(cmdTest);
    auto* profileRow = new QHBoxLayout;
    profileRow->addWidget(txtProfile);
    profileRow->addWidget(cmdProfile);
    auto* form = new QFormLayout(this);
    // A row of two controls has no buddy of its own: the label's key goes to the text field.
    auto* resourceLabel = new QLabel(QStringLiteral("Signal &generator:"), this);
    resourceLabel->setBuddy(txtResource);
    auto* profileLabel = new QLabel(QStringLiteral("Command &profile:"), this);
    profileLabel->setBuddy(txtProfile);
    form->addRow(resourceLabel, resourceRow);
    form->addRow(QString(), lblTest);
    form->addRow(profileLabel, profileRow);
    form->addRow(QStringLiteral("&Settle time after a change:"), spnSettle);
    form->addRow(QStringLiteral("&Highest level allowed:"), spnMaximum);
    form->addRow(buttons);
}

QString frmInstruments::menuCaption() {
    return QStringLiteral("&Instruments…");
}

frmInstruments::Choice frmInstruments::choice() const {
    Choice c = given;
    c.generator.resource = txtResource->text().trimmed().toStdString();
    c.generator.profile = txtProfile->text().trimmed().toStdString();
    c.generator.maximumLevelDbm = spnMaximum->value();
    c.settleMs = spnSettle->value();
    return c;
}

void frmInstruments::test() {
    if (probe) {
        return; // one question at a time; its timeout ends it
    }
    std::string why;
    probe = instruments::BenchGenerator::create(choice().generator, why);
    if (!probe) {
        lblTest->setText(QString::fromStdString(why));
        return;
    }
    cmdTest->setEnabled(false);
    lblTest->setText(QStringLiteral("Asking the signal generator who it is…"));
    instruments::ScpiInstrument& scpi = probe->instrument();
    connect(&scpi, &instruments::ScpiInstrument::answered, this,
            [this](int ticket, const QString& answer) {
                if (ticket == probeTicket) {
                    testEnded(answer);
                }
            });
    connect(&scpi, &instruments::ScpiInstrument::failed, this,
            [this](int ticket, const QString& message) {
                if (ticket == probeTicket) {
                    testEnded(message);
                }
            });
    probeTicket = probe->generator().identify();
}

void frmInstruments::testEnded(const QString& text) {
    lblTest->setText(text);
    cmdTest->setEnabled(true);
    QObject::disconnect(&probe->instrument(), nullptr, this, nullptr);
    retired = std::move(probe);
    probeTicket = 0;
}

void frmInstruments::chooseProfile() {
    const std::string path =
        ui::chooseFile(this, {ui::FileChoice::Open, "Command profile",
                              txtProfile->text().toStdString(), "Profiles (*.ini);;All files (*)"});
    if (!path.empty()) {
        txtProfile->setText(QString::fromStdString(path));
    }
}
