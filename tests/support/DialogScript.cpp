// SPDX-License-Identifier: GPL-3.0-or-later
// The scripted answers of file choosers and dialogs.
#include "tests/support/DialogScript.h"

#include "ui/CompareDialog.h"
#include "ui/ConfirmDialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

namespace testsupport {

DialogScript::DialogScript() {
    ui::setFileDialogHook([this](const ui::FileRequest& request) {
        requests.push_back(request);
        if (paths.empty()) {
            return std::string(); // cancelled
        }
        std::string path = paths.front();
        paths.pop_front();
        return path;
    });
    ui::setModalDialogHook([this](QDialog& dialog) { return onDialog(dialog); });
}

DialogScript::~DialogScript() {
    ui::setFileDialogHook({});
    ui::setModalDialogHook({});
}

int DialogScript::onDialog(QDialog& dialog) {
    if (auto* compare = qobject_cast<CompareDialog*>(&dialog)) {
        rows.clear();
        QTableWidget& table = compare->table();
        for (int r = 0; r < table.rowCount(); ++r) {
            std::vector<std::string> row;
            for (int c = 0; c < table.columnCount(); ++c) {
                row.push_back(table.item(r, c)->text().toStdString());
            }
            rows.push_back(row);
        }
        dialog.setResult(-1);
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&dialog, &esc);
        escClosed = dialog.result() == QDialog::Rejected;
        return dialog.result();
    }
    if (qobject_cast<ConfirmDialog*>(&dialog) != nullptr) {
        std::vector<std::string> shown{dialog.findChild<QLabel*>()->text().toStdString()};
        if (auto* list = dialog.findChild<QPlainTextEdit*>()) {
            for (const QString& line : list->toPlainText().split('\n')) {
                shown.push_back(line.toStdString());
            }
        }
        asked.push_back(shown);
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        buttons->button(yes ? QDialogButtonBox::Yes : QDialogButtonBox::No)->click();
        return dialog.result();
    }
    return QDialog::Rejected;
}

} // namespace testsupport
