// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog behind "Option → Instruments…": the bench's signal generator by its VISA resource
// name (with "Test", which asks it who it is), a profile file for a generator that speaks
// another dialect, the settle time after a change and the highest level the program may ever
// set. The dialog edits what it was given; the caller keeps it in the settings file.
//
//   frmInstruments dialog({{"TCPIP::10.0.0.7::SOCKET", "", -20.0, 2000}, 300}, &window);
//   "Test" -> "*IDN?"  <- "ACME,SG-9,1234,2.1"   shown under the name; the window goes on
//   if (ui::execModal(dialog) == QDialog::Accepted) save(dialog.choice());
#pragma once

#include "instruments/BenchGenerator.h"

#include <QDialog>

#include <memory>

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class frmInstruments : public QDialog {
    Q_OBJECT

  public:
    struct Choice {
        instruments::GeneratorSetup generator;
        int settleMs = 0;
    };
    explicit frmInstruments(const Choice& choice, QWidget* parent = nullptr);
    ~frmInstruments() override;

    // The menu entry's caption.
    static QString menuCaption();
    Choice choice() const;
    // Asks the generator named in the field for its identity; the answer, or why there is none,
    // comes into lblTest from the event loop, within the instrument's own timeout.
    void test();
    bool testing() const { return probe != nullptr; }

    QLineEdit* txtResource;
    QPushButton* cmdTest;
    QLabel* lblTest;
    QLineEdit* txtProfile;
    QPushButton* cmdProfile;
    QSpinBox* spnSettle;
    QDoubleSpinBox* spnMaximum;
    QPushButton* cmdOk;

  private:
    void buildFields();
    void testEnded(const QString& text);
    void chooseProfile();

    Choice given; // what the fields do not show (the timeout)
    std::unique_ptr<instruments::BenchGenerator> probe;
    // The probe of the last test, kept until the next: it ended inside its own signal.
    std::unique_ptr<instruments::BenchGenerator> retired;
    int probeTicket = 0;
};
