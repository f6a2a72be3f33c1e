// SPDX-License-Identifier: GPL-3.0-or-later
// The few places where the program waits on the technician or makes a sound. Each is a hook:
// the program installs nothing and gets the real Qt behaviour; a test installs a recorder so
// that no modal window ever opens during a test run.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class QDialog;
class QWidget;

namespace ui {

// A modal box with one OK button; returns the code of the button pressed (1 = OK). Warnings
// carry refusals, mismatches and errors; information a job that completed and verified.
enum class BoxIcon { Warning, Information };
using MessageBoxHook =
    std::function<int(BoxIcon icon, const std::string& title, const std::string& text)>;
void setMessageBoxHook(MessageBoxHook hook); // an empty hook restores the Qt box
int showWarningBox(const std::string& title, const std::string& text);
int showInformationBox(const std::string& title, const std::string& text);

// The system beep.
using BeepHook = std::function<void()>;
void setBeepHook(BeepHook hook);
void beep();

// Shows a dialog modally and returns its result code. A test installs a hook that drives the
// dialog (fills it, clicks its buttons) instead of running a nested event loop.
using ModalDialogHook = std::function<int(QDialog& dialog)>;
void setModalDialogHook(ModalDialogHook hook);
int execModal(QDialog& dialog);

// The file chooser: a file to open or a name to save under. A test installs a hook that
// answers with a path (or nothing, as a technician who cancels).
enum class FileChoice { Open, Save };
struct FileRequest {
    FileChoice kind = FileChoice::Open;
    std::string caption;
    std::string suggested; // a folder, or a folder and a file name
    std::string filter;    // "Images (*.img);;All files (*)"
};
using FileDialogHook = std::function<std::string(const FileRequest& request)>;
void setFileDialogHook(FileDialogHook hook);
// The chosen path; empty when the technician cancelled.
std::string chooseFile(QWidget* parent, const FileRequest& request);

// Opens a folder in the system's file manager. A test installs a hook that records the folder.
using OpenFolderHook = std::function<void(const std::string& folder)>;
void setOpenFolderHook(OpenFolderHook hook);
void openFolder(const std::string& folder);

// True while a modal box or dialog opened through these hooks is on screen. The periodic tick
// looks at it so that it never re-enters itself from the nested event loop of a modal window.
bool modalOpen();

// Marks a modal window as open for its lifetime (used by modal dialogs outside this file).
class ModalScope {
  public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

} // namespace ui

// Shows text (with "\n" written as backslash, n) in a modal warning box titled with the
// product name; returns the code of the button pressed.
std::int16_t MsgBoxProduct(const std::string& text);
// The same with the information icon: a job that completed and verified.
std::int16_t InfoBoxProduct(const std::string& text);
