// SPDX-License-Identifier: GPL-3.0-or-later
// The trace recorder: it looks at the wire, the window and the message recorder after every
// tick and writes down what changed.
#include "tests/support/TraceRecorder.h"

#include "common/CommonRoutines.h"
#include "platform/TickCount.h"
#include "ui/frmMain.h"

#include <QDialog>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <map>

namespace testsupport {
namespace {

// A text quoted on one line: backslash, quote, CR and LF escaped.
std::string quoted(const QString& text) {
    static const std::map<char, std::string> escapes = {
        {'\\', "\\\\"}, {'"', "\\\""}, {'\r', "\\r"}, {'\n', "\\n"}};
    std::string out = "\"";
    for (const char c : text.toStdString()) {
        const auto escape = escapes.find(c);
        out += escape != escapes.end() ? escape->second : std::string(1, c);
    }
    return out + "\"";
}

} // namespace

TraceRecorder::TraceRecorder(Bench& bench) : bench_(&bench), start(platform::TickCount::now()) {
    writesSeen = bench.serial().writes().size();
    ui::setModalDialogHook([this](QDialog& dialog) { return onDialog(dialog); });
    look();
}

TraceRecorder::~TraceRecorder() {
    ui::setModalDialogHook({});
}

void TraceRecorder::add(const std::string& kind, const std::string& what) {
    trace += std::to_string(platform::TickCount::now() - start) + " " + kind;
    if (!what.empty()) {
        trace += " " + what;
    }
    trace += "\n";
}

void TraceRecorder::note(const std::string& text) {
    look(); // what happened before the action belongs before it
    add("A", text);
}

void TraceRecorder::tick(int count) {
    for (int i = 0; i < count; ++i) {
        bench_->tick();
        look();
    }
}

void TraceRecorder::act(const std::string& what, int ticks, const std::function<void()>& action) {
    note(what);
    action();
    look();
    tick(ticks);
}

void TraceRecorder::click(int button, int ticks) {
    QPushButton& pushed = bench_->window().cmd00(button);
    act("click " + pushed.text().toStdString(), ticks, [&] { pushed.click(); });
}

void TraceRecorder::key(int row, QKeyCombination key, int ticks) {
    QListWidget& console = bench_->window().lboConsole();
    console.setCurrentRow(row);
    const std::string name = QKeySequence(key).toString().toStdString();
    act("key " + name + " on line " + std::to_string(row), ticks,
        [&] { QTest::keyClick(&console, key.key(), key.keyboardModifiers()); });
}

void TraceRecorder::keyOnDump(Qt::Key key, int ticks) {
    act("key " + QKeySequence(key).toString().toStdString() + " on the dump", ticks,
        [&] { QTest::keyClick(&bench_->window().txtDispPara(), key); });
}

int TraceRecorder::onDialog(QDialog& dialog) {
    if (dialogAnswer) {
        return dialogAnswer(dialog);
    }
    const auto* question = dialog.findChild<QLabel*>();
    look();
    add("Q", quoted(question != nullptr ? question->text() : dialog.windowTitle()));
    return QDialog::Rejected;
}

void TraceRecorder::look() {
    lookAtWire();
    lookAtWindow();
    lookAtMessages();
}

void TraceRecorder::lookAtWire() {
    const auto& writes = bench_->serial().writes(); // a frame each
    if (writes.size() < writesSeen) {
        writesSeen = 0; // the bench cleared its record of the wire
    }
    for (; writesSeen < writes.size(); ++writesSeen) {
        add(">", ByteStrToHex(writes[writesSeen].bytes));
    }
}

void TraceRecorder::lookAtList(const std::string& kind, const QListWidget& list) {
    std::vector<QString>& before = lists[kind];
    std::vector<QString> now;
    for (std::size_t i = 0; i < static_cast<std::size_t>(list.count()); ++i) {
        now.push_back(list.item(static_cast<int>(i))->text());
        if (i >= before.size() || now[i] != before[i]) {
            add(kind + std::to_string(i), quoted(now[i]));
        }
    }
    if (now.size() < before.size()) {
        add(kind + "#", std::to_string(now.size()));
    }
    before = now;
}

void TraceRecorder::lookAtText(const std::string& kind, const QString& now, bool quote) {
    QString& before = texts[kind];
    if (now != before) {
        before = now;
        add(kind, quote ? quoted(now) : now.toStdString());
    }
}

void TraceRecorder::lookAtWindow() {
    frmMain& window = bench_->window();
    lookAtList("L", window.lboConsole());
    lookAtList("R0.", window.lbo01(0));
    lookAtList("R1.", window.lbo01(1));
    lookAtText("D", window.txtDispPara().toPlainText());
    lookAtText("S", window.lblComBusy().text());
    const auto shown = [&](int frame) { return window.fra01(frame).isVisibleTo(&window); };
    lookAtText("P", shown(3) ? "dump" : shown(1) ? "console" : "idle", false);
}

void TraceRecorder::lookAtMessages() {
    const auto& shown = bench_->messages().messages();
    for (std::size_t i = messagesSeen; i < shown.size(); ++i) {
        add(shown[i].information ? "I" : "M", quoted(QString::fromStdString(shown[i].text)));
    }
    messagesSeen = shown.size();
    for (; beepsSeen < bench_->messages().beeps(); ++beepsSeen) {
        add("B", "");
    }
}

} // namespace testsupport
