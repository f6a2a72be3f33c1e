// SPDX-License-Identifier: GPL-3.0-or-later
// The guided alignment panel ("Align → Guided alignment…"), a window of its own beside the main
// window: the plan's title, its steps in order (each with its state and result), what to
// connect and set for the selected step, and the curve of its procedure as it is measured.
// "Start" runs the selected step (through its owner, who sees to the generator first), "Ready"
// tells a step waiting for the technician that the bench is set, "Skip" passes a step over, "Run
// the automatic steps" runs them unattended and "Stop" ends what runs. "Open plan…" chooses the
// plan; whoever owns the run loads it.
//
//   panel.showRun(&run, "/home/bench/vx-k5.plan");
//   every tick: panel.refresh(door.curves());   // states, buttons, the curve
#pragma once

#include <QWidget>

#include <cstddef>
#include <optional>
#include <string>

class AlignmentRun;
class CurveLog;
class CurvePictureView;
class QLabel;
class QPushButton;
class QTreeWidget;

class AlignPanel : public QWidget {
    Q_OBJECT

  public:
    explicit AlignPanel(QWidget* parent);

    // The run to show and drive (nullptr: none, only "Open plan…" works) and its plan's file.
    void showRun(AlignmentRun* run, const std::string& planFile);
    // The steps' states and results, the buttons and the curve as the run has them now.
    void refresh(const CurveLog& curves);
    // The step shown below the list: the one running, else the one the technician selected.
    std::optional<std::size_t> selectedStep() const;
    // Beside the window, on its right where the screen has room, else on its left; where
    // neither side has room but the screen has, the window moves aside to make it.
    void placeBeside(QWidget& window);

    QLabel* lblTitle;
    QPushButton* cmdOpen;
    QTreeWidget* lstSteps;
    QLabel* lblSet;
    CurvePictureView* curve;
    QPushButton* cmdStart;
    QPushButton* cmdReady;
    QPushButton* cmdSkip;
    QPushButton* cmdAutomatic;
    QPushButton* cmdStop;

  signals:
    // The technician chose a plan file.
    void planChosen(const std::string& path);
    // "Start" on a step and "Run the automatic steps": whoever owns the bench's instruments
    // starts them once the generator is there.
    void stepWanted(std::size_t step);
    void automaticWanted();

  private:
    void buildControls();
    void connectButtons();
    void fillSteps();
    void refreshButtons();
    void choosePlan();

    AlignmentRun* run = nullptr;
    std::string planPath;
    std::optional<std::size_t> followed; // the run's current step at the last refresh
};
