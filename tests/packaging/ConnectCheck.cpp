// SPDX-License-Identifier: GPL-3.0-or-later
// vsk5-aln-check: the utility's start-up and Connect without a person, for the installation
// check. It starts the utility exactly as vsk5-aln does (runUtility: the one-copy lock, the
// settings, the constants search, the window), clicks "Connect" once the window shows, waits
// until the radio's items are listed and closes the window, which saves the settings as at any
// exit. A message box is printed instead of shown, and fails the check.
//
// It finds its files from its own folder, as vsk5-aln does: copied beside an installed
// vsk5-aln, it reads that installation's data folder.
//
//   vsk5-aln-check [--seconds N]     exit 0: connected within N seconds (60), no message
#include "app/start.h"
#include "common/Product.h"
#include "ui/UiHooks.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {

frmMain* shownWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = dynamic_cast<frmMain*>(widget); window && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

class ConnectDriver {
  public:
    explicit ConnectDriver(int seconds) : limitMs(seconds * 1000) {
        clock.start();
        poll.setInterval(100);
        QObject::connect(&poll, &QTimer::timeout, [this] { step(); });
        poll.start();
    }
    bool succeeded() const { return done; }
    int messageCount = 0;

  private:
    void step() {
        frmMain* window = shownWindow();
        if (window == nullptr) {
            return; // runUtility ends by itself when the start fails
        }
        // Connected once the items are listed and "Reload(F5)" is enabled, as it is only while
        // they are listed for editing.
        if (!clicked) {
            std::cout << "Window shown; Connect." << std::endl;
            window->cmd00(0).click();
            clicked = true;
        } else if (window->cmd00(1).isEnabled() && window->lboConsole().count() > 0) {
            std::cout << window->lblComBusy().text().toStdString() << ", "
                      << window->lboConsole().count() << " items listed." << std::endl;
            done = true;
            window->close();
        } else if (messageCount > 0 || clock.elapsed() > limitMs) {
            std::cerr << "Not connected." << std::endl;
            window->close();
        }
    }

    qint64 limitMs;
    QElapsedTimer clock;
    QTimer poll;
    bool clicked = false;
    bool done = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication::setApplicationName(product::ShortName); // the folders vsk5-aln uses
    QApplication app(argc, argv);
    int seconds = 60;
    if (argc == 3 && std::strcmp(argv[1], "--seconds") == 0 && std::atoi(argv[2]) > 0) {
        seconds = std::atoi(argv[2]);
    } else if (argc != 1) {
        std::cerr << "usage: vsk5-aln-check [--seconds N]\n";
        return 2;
    }
    ConnectDriver driver(seconds);
    ui::setMessageBoxHook([&driver](ui::BoxIcon, const auto& title, const auto& text) {
        std::cerr << title << ": " << text << std::endl;
        ++driver.messageCount;
        return 1;
    });
    const int code = runUtility();
    return code == 0 && driver.succeeded() && driver.messageCount == 0 ? 0 : 1;
}
