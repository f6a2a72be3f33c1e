// SPDX-License-Identifier: GPL-3.0-or-later
// The service job's File menu entries.
#include "ui/ServiceMenu.h"

#include "model/JobMessages.h"
#include "model/RigDoor.h"
#include "model/ServiceReport.h"
#include "ui/CompareDialog.h"
#include "ui/ConfirmDialog.h"
#include "ui/ReportFiles.h"
#include "ui/UiHooks.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>

namespace {

const char* const ImageFilter = "Memory images (*.img);;All files (*)";
const char* const ReportFilter = "Web page (*.html);;PDF and web page (*.pdf)";

} // namespace

ServiceMenu::ServiceMenu(QMenu& menu, QWidget& owner) : QObject(&owner), window(owner) {
    const std::pair<const char*, void (ServiceMenu::*)()> entries[] = {
        {"&Open image\u2026", &ServiceMenu::openImage},
        {"&Save image as\u2026", &ServiceMenu::saveImage},
        {"&Compare with image\u2026", &ServiceMenu::compare},
        {"&Revert adjustments\u2026", &ServiceMenu::revert},
        {"&Write image to radio\u2026", &ServiceMenu::writeImage},
        {"Save re&port\u2026", &ServiceMenu::saveReport},
        {"Save report with &every value sent\u2026", &ServiceMenu::saveReportWithEveryValue},
    };
    for (const auto& [caption, slot] : entries) {
        connect(menu.addAction(QString::fromUtf8(caption)), &QAction::triggered, this, slot);
    }
    // The documents folder when there is one, the home folder otherwise.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    saveFolder = (QDir(documents).exists() ? documents : QDir::homePath()).toStdString();
}

bool ServiceMenu::told(const std::string& message) {
    if (message.empty()) {
        return false;
    }
    MsgBoxProduct(message);
    return true;
}

std::string ServiceMenu::chooseToOpen(const std::string& caption) {
    // Backups are what a technician opens most: the chooser starts among them.
    return ui::chooseFile(
        &window, {ui::FileChoice::Open, caption, door->job().backupFolderInUse(), ImageFilter});
}

std::string ServiceMenu::chooseToSave(const std::string& caption, const std::string& name,
                                      const std::string& filter, const std::string& extension) {
    std::string path =
        ui::chooseFile(&window, {ui::FileChoice::Save, caption, saveFolder + "/" + name, filter});
    if (path.empty()) {
        return path;
    }
    const QFileInfo info(QString::fromStdString(path));
    if (info.suffix().isEmpty()) {
        path += extension;
    }
    saveFolder = info.path().toStdString();
    return path;
}

void ServiceMenu::openImage() {
    const std::string path = chooseToOpen("Open image");
    if (!path.empty()) {
        told(door->job().openImage(path));
    }
}

void ServiceMenu::saveImage() {
    ServiceJob& job = door->job();
    if (told(job.hasSession() ? "" : job_messages::connectFirst())) {
        return;
    }
    const std::string path =
        chooseToSave("Save image as", job.suggestedImageName(), ImageFilter, ".img");
    if (!path.empty()) {
        told(job.saveImage(path));
    }
}

void ServiceMenu::compare() {
    ServiceJob& job = door->job();
    if (told(job.hasSession() ? "" : job_messages::connectFirst())) {
        return;
    }
    CompareDialog dialog(&window, job.targetName(), job.compare(door->txfTable()));
    ui::execModal(dialog);
}

void ServiceMenu::revert() {
    const JobProposal proposal = door->proposeRevert();
    if (!told(proposal.message) && ConfirmDialog::ask(&window, proposal.question, proposal.lines)) {
        door->carryOut(proposal);
    }
}

void ServiceMenu::writeImage() {
    if (told(door->jobRefusal())) {
        return;
    }
    const std::string path = chooseToOpen("Write image to radio");
    if (path.empty()) {
        return;
    }
    const JobProposal proposal = door->proposeWrite(path);
    if (!told(proposal.message) && ConfirmDialog::ask(&window, proposal.question, proposal.lines)) {
        door->carryOut(proposal);
    }
}

void ServiceMenu::saveReportFiles(bool everyValue) {
    // Only a PDF leaves the steps out: the entry that keeps them suggests one.
    std::string name = door->job().suggestedImageName();
    name = name.substr(0, name.rfind('.')) + (everyValue ? "-report.pdf" : "-report.html");
    const std::string path = chooseToSave("Save report", name, ReportFilter, ".html");
    if (!path.empty()) {
        const ReportForm printed = everyValue ? ReportForm::PrintEveryValue : ReportForm::Print;
        told(report_files::save(path, {door->reportHtml(ReportForm::Page),
                                       door->reportHtml(printed), &door->curves()}));
    }
}
