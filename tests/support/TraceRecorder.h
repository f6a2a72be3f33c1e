// SPDX-License-Identifier: GPL-3.0-or-later
// Records what the utility on the bench does, tick by tick, as the technician and the radio
// would see it: the frames it writes on the line, the console lines, the readout lines, the
// dump, the port label, which page is shown, the messages and the beeps. Each line of the
// trace is the time on the test clock (milliseconds since the recording started), a kind and
// what changed:
//
//   0 A click Connect              an action of the scenario
//   50 > FEFEEEEFE873510001...FD   a frame the utility wrote
//   50 L3 "  DTCS Start: [Enter] to Start"
//   50 P console                   the page now shown: idle, console or dump
//   400 R0.2 "LVIN :128:80h:  2.51V"   readout list 0 (A/D), row 2
//   900 M "No answer from VX-K5.\r\n..."   a warning box
//   900 I "'a.img' was written ..."        an information box: a job completed and verified
//   950 B                          a beep
//   990 Q "The last run ..."        a dialog the scenario did not answer, closed unanswered
//
// Only what changed since the last look is written, so a trace reads as the story of a session.
#pragma once

#include "tests/support/Bench.h"
#include "ui/UiHooks.h"

#include <QKeyCombination>
#include <QListWidget>
#include <QString>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

class TraceRecorder {
  public:
    explicit TraceRecorder(Bench& bench);
    ~TraceRecorder();
    TraceRecorder(const TraceRecorder&) = delete;
    TraceRecorder& operator=(const TraceRecorder&) = delete;

    Bench& bench() { return *bench_; }
    // A line of its own: an action or a remark of the scenario.
    void note(const std::string& text);
    // One tick (or several), looking at everything after each.
    void tick(int count = 1);
    // Looks at everything now (after an action that may have acted at once).
    void look();

    // Actions of the technician, each noted in the trace and looked at right after, then the
    // ticks given.
    void click(int button, int ticks = 0); // cmd00(button): 0 Connect, 1 Reload, 2 Disp para
    // A key (Shift+Right, ...) on the console with the row selected.
    void key(int row, QKeyCombination key, int ticks = 0);
    void keyOnDump(Qt::Key key, int ticks = 0); // a key on the dump box (Esc, Enter)

    // The scenario's own answer to the dialogs that open from now on; an empty one ends it.
    // Any other dialog goes into the trace and is closed unanswered: left open, it would wait
    // for a technician until ctest gives up (a journal left on disk asks at the next Connect).
    void answerDialogs(ui::ModalDialogHook answer) { dialogAnswer = std::move(answer); }

    const std::string& text() const { return trace; }

  private:
    // Notes what the technician does, does it, looks, then gives the ticks.
    void act(const std::string& what, int ticks, const std::function<void()>& action);
    void add(const std::string& kind, const std::string& what);
    void lookAtWire();
    // A list's rows and a single text: what changed, by row for a list (and its new length
    // when it got shorter).
    void lookAtList(const std::string& kind, const QListWidget& list);
    void lookAtText(const std::string& kind, const QString& now, bool quote = true);
    void lookAtWindow();
    void lookAtMessages();
    int onDialog(QDialog& dialog);

    Bench* bench_;
    std::int32_t start;
    std::string trace;
    std::size_t writesSeen = 0;
    std::map<std::string, std::vector<QString>> lists; // by kind: what was seen last
    std::map<std::string, QString> texts;
    std::size_t messagesSeen = 0;
    int beepsSeen = 0;
    ui::ModalDialogHook dialogAnswer;
};

} // namespace testsupport
