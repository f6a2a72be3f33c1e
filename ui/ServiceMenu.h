// SPDX-License-Identifier: GPL-3.0-or-later
// The File menu's entries of the service job's safety net, above "E&xit": open an image, save
// the radio's image, compare the radio with an image, revert the adjustments, write an image
// to the radio, save the service report (with or without every value sent in its PDF). Each asks
// for what it needs (a file, a Yes), tells the technician why it cannot go on, and hands the work
// to the model.
#pragma once

#include <QObject>

#include <string>

class QAction;
class QMenu;
class QWidget;
class RigDoor;

class ServiceMenu : public QObject {
    Q_OBJECT

  public:
    // Adds the entries to menu; they work once the door is attached.
    ServiceMenu(QMenu& menu, QWidget& window);
    void attach(RigDoor& radioDoor) { door = &radioDoor; }

    void openImage();
    void saveImage();
    void compare();
    void revert();
    void writeImage();
    // The report; its PDF leaves the values sent step by step out, unless with every value.
    void saveReport() { saveReportFiles(false); }
    void saveReportWithEveryValue() { saveReportFiles(true); }

  private:
    // The path the technician chose (empty when cancelled), with the extension added when the
    // name has none; the folder is remembered for the next save.
    std::string chooseToSave(const std::string& caption, const std::string& name,
                             const std::string& filter, const std::string& extension);
    std::string chooseToOpen(const std::string& caption);
    void saveReportFiles(bool everyValue);
    // A refusal or an error is shown; true when there was one.
    bool told(const std::string& message);

    QWidget& window;
    RigDoor* door = nullptr;
    std::string saveFolder; // where the last image or report went
};
