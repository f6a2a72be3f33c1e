// SPDX-License-Identifier: GPL-3.0-or-later
// The arrangement of the main window, worked out in twips (1/1440 inch) as the window was
// designed and turned into pixels with the screen's logical resolution. The first layout
// sizes and places the window itself; every layout arranges the controls in its client area.
//
//   [COM 1: OPEN]      [Connect] [Reload(F5)] [Disp para]
//   +- title (idle) / console (connected) / dump (Disp para) ---------------+
//   |                                                                      |
//   +- readouts -----------------------------------------------------------+
//   | [A/D] list                         | [D/A] list                      |
#pragma once

#include <array>
#include <cstdint>

class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// The controls the layout places.
struct MainWidgets {
    QWidget* form = nullptr;
    QWidget* client = nullptr;
    std::array<QFrame*, 2> separators{};   // the etched line under the menu bar
    std::array<QPushButton*, 3> buttons{}; // Connect, Reload(F5), Disp para
    std::array<QGroupBox*, 4> frames{};    // title, console, readout lists, dump
    std::array<QListWidget*, 2> lists{};   // A/D and D/A readouts
    QListWidget* console = nullptr;
    QLabel* title = nullptr;
    QPlainTextEdit* dump = nullptr;
    QWidget* statusBar = nullptr; // below the area the layout sizes
};

class MainLayout {
  public:
    // Height of the window for a screen of the given height, both in twips.
    static std::int32_t windowHeightFor(std::int32_t screenHeight);

    // Sizes the window on the first call; arranges the controls on every call.
    void apply(const MainWidgets& w);

  private:
    void sizeWindow(const MainWidgets& w);
    void placeFrames(const MainWidgets& w, int top);

    bool sizedOnce = false;
};
