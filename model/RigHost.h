// What the model object drives on the main window: the controls it fills and arranges, the
// test channel table, the link error report and the channel dialog. The main window
// implements it; the model never includes the window itself.
#pragma once

#include <cstdint>

class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QWidget;
class clsCmcCln3Sequence;
class clsRig_Ch;

class RigHost {
  public:
    virtual ~RigHost() = default;

    virtual QWidget& form() = 0; // the main window itself
    virtual QListWidget& lboConsole() = 0;
    virtual QListWidget& lbo01(int index) = 0; // 0 = A/D readouts, 1 = D/A readouts
    virtual QGroupBox& fra01(int index) = 0;   // 0 title, 1 console, 2 lists, 3 dump
    virtual QPushButton& cmd00(int index) = 0; // 0 "Connect", 1 "Reload(F5)", 2 "Disp para"
    virtual QFrame& linSepa(int index) = 0;    // the two lines of the separator
    virtual QLabel& lblTitle() = 0;
    virtual QPlainTextEdit& txtDispPara() = 0;

    virtual clsRig_Ch& ChUnit(std::int16_t ChNo) = 0;
    virtual void MsgBoxCloneErr(clsCmcCln3Sequence& seq) = 0;
    virtual void EditFormSet(std::int16_t ChNo) = 0;
};
