// SPDX-License-Identifier: GPL-3.0-or-later
// The hooks for warning boxes, beeps and modal dialogs, the Qt behaviour used when no hook is
// installed, and the count of open modal windows that lets the periodic tick stand aside.
#include "ui/UiHooks.h"

#include "common/CommonRoutines.h"
#include "common/Product.h"
#include "ui/UiLog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include <iostream>

namespace ui {
namespace {

MessageBoxHook messageBoxHook;
BeepHook beepHook;
ModalDialogHook modalDialogHook;
FileDialogHook fileDialogHook;
OpenFolderHook openFolderHook;
int modalDepth = 0;

int qtMessageBox(BoxIcon icon, const std::string& title, const std::string& text) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        // No window system (a command-line tool): the message must still reach a person.
        std::cerr << title << ": " << text << '\n';
        return 1;
    }
    QMessageBox box(icon == BoxIcon::Information ? QMessageBox::Information : QMessageBox::Warning,
                    QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok);
    box.exec();
    return 1; // the only button is OK
}

int showMessageBox(BoxIcon icon, const std::string& title, const std::string& text) {
    // One line per box, its line breaks written as \n.
    qCInfo(lcUi).noquote()
        << "message" << QString::fromStdString(text).replace("\r\n", "\n").replace("\n", "\\n");
    ModalScope modal;
    return messageBoxHook ? messageBoxHook(icon, title, text) : qtMessageBox(icon, title, text);
}

} // namespace

void setMessageBoxHook(MessageBoxHook hook) {
    messageBoxHook = std::move(hook);
}

int showWarningBox(const std::string& title, const std::string& text) {
    return showMessageBox(BoxIcon::Warning, title, text);
}

int showInformationBox(const std::string& title, const std::string& text) {
    return showMessageBox(BoxIcon::Information, title, text);
}

void setBeepHook(BeepHook hook) {
    beepHook = std::move(hook);
}

void beep() {
    if (beepHook) {
        beepHook();
    } else if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        QApplication::beep();
    }
}

void setModalDialogHook(ModalDialogHook hook) {
    modalDialogHook = std::move(hook);
}

int execModal(QDialog& dialog) {
    ModalScope modal;
    return modalDialogHook ? modalDialogHook(dialog) : dialog.exec();
}

void setFileDialogHook(FileDialogHook hook) {
    fileDialogHook = std::move(hook);
}

std::string chooseFile(QWidget* parent, const FileRequest& request) {
    ModalScope modal;
    if (fileDialogHook) {
        return fileDialogHook(request);
    }
    const QString caption = QString::fromStdString(request.caption);
    const QString suggested = QString::fromStdString(request.suggested);
    const QString filter = QString::fromStdString(request.filter);
    const QString path = request.kind == FileChoice::Open
                             ? QFileDialog::getOpenFileName(parent, caption, suggested, filter)
                             : QFileDialog::getSaveFileName(parent, caption, suggested, filter);
    return path.toStdString();
}

void setOpenFolderHook(OpenFolderHook hook) {
    openFolderHook = std::move(hook);
}

void openFolder(const std::string& folder) {
    if (openFolderHook) {
        openFolderHook(folder);
    } else {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)));
    }
}

bool modalOpen() {
    return modalDepth > 0;
}

ModalScope::ModalScope() {
    ++modalDepth;
}

ModalScope::~ModalScope() {
    --modalDepth;
}

} // namespace ui

std::int16_t MsgBoxProduct(const std::string& text) {
    return static_cast<std::int16_t>(ui::showWarningBox(product::Title, ConvNewLine(text)));
}

std::int16_t InfoBoxProduct(const std::string& text) {
    return static_cast<std::int16_t>(ui::showInformationBox(product::Title, ConvNewLine(text)));
}
