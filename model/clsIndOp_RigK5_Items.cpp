// Creation of the model object, the VX-K5 item table and the console preparation.
#include "model/clsIndOp_RigK5.h"

#include "console/ConsoleGlobal.h"
#include "console/clsConsole.h"
#include "link/LinkGlobals.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcRadio.h"
#include "model/RigHost.h"
#include "model/clsIndEep_RigK5.h"

#include <QListWidget>

namespace {

enum class Kind { Channel, Value, Procedure };

struct ItemRow {
    const char* title;
    Kind kind;
    std::int32_t eeAdr;      // value items
    std::int16_t e8Command;  // value and channel items
    std::int16_t eventDisp;  // channel and procedure items
    std::int16_t eventEnter; // channel and procedure items
    std::int16_t clsIndOp_RigK5::*indexField;
};

using Op = clsIndOp_RigK5;

// The console in its order. Titles are exact, blanks included (" BFP Low T1 " is spelled so).
const ItemRow ItemTable[Op::ItemCount] = {
    {"      CH No.", Kind::Channel, -1, 1, 0, 0, &Op::idxChNo},
    {"   Power(Hi)", Kind::Value, 0x7A9, 12, -1, -1, nullptr},
    {"   Power(Lo)", Kind::Value, 0x7A8, 11, -1, -1, nullptr},
    {"  DTCS Start", Kind::Procedure, -1, -1, 2, 1, &Op::idxDtcsStart},
    {"   DTCS Stop", Kind::Procedure, -1, -1, 3, 2, &Op::idxDtcsStop},
    {"    DTCS BAL", Kind::Value, 0x7BC, 15, -1, -1, nullptr},
    {"   MOD Level", Kind::Procedure, -1, -1, 4, 3, &Op::idxModLevel},
    {"         SQL", Kind::Value, 0x7BD, 7, -1, -1, nullptr},
    {"BPF Low ALL ", Kind::Procedure, -1, -1, 5, 4, &Op::idxBpfLowAll},
    {" BFP Low T1 ", Kind::Value, 0x7B0, 17, -1, -1, nullptr},
    {" BPF Low T2 ", Kind::Value, 0x7B1, 18, -1, -1, nullptr},
    {" BPF Low T3 ", Kind::Value, 0x7B2, 19, -1, -1, nullptr},
    {"BPF Mid ALL ", Kind::Procedure, -1, -1, 6, 5, &Op::idxBpfMidAll},
    {" BPF Mid T1 ", Kind::Value, 0x7B3, 20, -1, -1, nullptr},
    {" BPF Mid T2 ", Kind::Value, 0x7B4, 21, -1, -1, nullptr},
    {" BPF Mid T3 ", Kind::Value, 0x7B5, 22, -1, -1, nullptr},
    {"BPF High ALL", Kind::Procedure, -1, -1, 7, 6, &Op::idxBpfHighAll},
    {" BPF High T1", Kind::Value, 0x7B6, 23, -1, -1, nullptr},
    {" BPF High T2", Kind::Value, 0x7B7, 24, -1, -1, nullptr},
    {" BPF High T3", Kind::Value, 0x7B8, 25, -1, -1, nullptr},
    {"       TXF", Kind::Procedure, -1, -1, 1, 7, &Op::idxTxf},
    {"   S-METER", Kind::Procedure, -1, -1, 8, 8, &Op::idxSMeter},
    {"  DTCS Decode (Initial = 4)", Kind::Value, 0x7AC, 16, -1, -1, nullptr},
};

const std::int16_t TempBorders[Op::TxfBorderCount] = {0,   16,  24,  32,  40,  48,  64,  80,
                                                      96,  112, 128, 144, 160, 176, 192, 208,
                                                      216, 224, 232, 240, 255, 0};

const std::int16_t SweepPoints[6] = {0, 63, 127, 191, 255, 0};

// The fields of one row, set in the order the console expects them for its kind.
void setItemFields(clsConsole& console, std::int16_t index, const ItemRow& row) {
    switch (row.kind) {
    case Kind::Channel:
        console.setE8Command(index, row.e8Command);
        console.setEvent_Disp(index, row.eventDisp);
        console.setEvent_Enter(index, row.eventEnter);
        console.setEvent_SendE8(index, 0);
        console.setMin(index, 0);
        console.setMax(index, 30);
        console.setLoopVal(index, true);
        break;
    case Kind::Value:
        console.setEeAdr(index, row.eeAdr);
        console.setEeDataSigned(index, false);
        console.setE8Command(index, row.e8Command);
        console.setBarExist(index, true);
        break;
    case Kind::Procedure:
        console.setEvent_Disp(index, row.eventDisp);
        console.setEvent_Enter(index, row.eventEnter);
        break;
    }
}

} // namespace

clsIndOp_RigK5::clsIndOp_RigK5() {
    myComPortNo = 1;
    RigOpFunc_ResetAll();
    std::copy(std::begin(TempBorders), std::end(TempBorders), txfTempBorder.begin());
    std::copy(std::begin(SweepPoints), std::end(SweepPoints), bpfPoint.begin());
}

clsIndOp_RigK5::~clsIndOp_RigK5() {
    // The console keeps a pointer to its event object; it must not outlive us with it.
    if (console().myEventClass == this) {
        console().myEventClass = nullptr;
    }
}

clsConsole& clsIndOp_RigK5::console() const {
    return gObjConsole();
}

void clsIndOp_RigK5::RigOpFunc_ResetAll() {
    journal.clear();
    adjStep = 0;
    gObjSeq().easyReset(myComPortNo);
    phaseEntry = true;
    taskPhase = 0;
    dispParaRequest = false;
    for (int i = 0; i <= 2; ++i) {
        adLast[static_cast<std::size_t>(i)] = -1;
    }
    for (int i = 0; i <= 9; ++i) {
        daLast[static_cast<std::size_t>(i)] = -1;
    }
    commError = false;
    RigOpFunc_FormResource();

    clsConsole& items = console();
    items.myListBox = rigHost() != nullptr ? &rigHost()->lboConsole() : nullptr;
    items.myEventClass = this;
    items.myCln3Seq = &gObjSeq();
    items.myEeprom = &gObjRadio().objEep();
    items.Clear();
    addItems();
    RigOpFunc_PrepareConsole();
}

void clsIndOp_RigK5::addItems() {
    clsConsole& items = console();
    for (const ItemRow& row : ItemTable) {
        items.AddItem();
        const auto index = static_cast<std::int16_t>(items.ListCount() - 1);
        items.setTitle(index, row.title);
        setItemFields(items, index, row);
        if (row.indexField != nullptr) {
            this->*row.indexField = index;
        }
    }
}

void clsIndOp_RigK5::RigOpFunc_LeaveProcedure() {
    RigOpFunc_PrepareConsole();
}

void clsIndOp_RigK5::RigOpFunc_PrepareConsole() {
    // A procedure that reached its own end has set step 0 and keeps its result; one left
    // before it puts back what it changed, before the new action sends anything.
    if (adjStep != 0) {
        restoreProcedureChanges();
    }
    journal.clear();
    adjStep = 0;
    // A procedure ended while its reading was out must not take a stale answer as the first
    // reading of its next run.
    modReadoutStarted = false;
    smeterReadoutStarted = false;
    txfReadoutStarted = false;
    for (BpfState& band : bpf) {
        band.readoutStarted = false;
    }
    clsConsole& items = console();
    for (std::int16_t i = 0; i <= 2; ++i) {
        for (std::int16_t all : {idxBpfLowAll, idxBpfMidAll, idxBpfHighAll}) {
            items.setWaitAfterE8(static_cast<std::int16_t>(all + i), 200);
        }
    }
    for (std::int16_t i = 0; i < items.ListCount(); ++i) {
        items.setFlgEnterOn(i, false);
        items.Disp(i);
    }
}

namespace {

RigHost* currentHost = nullptr;
std::unique_ptr<clsIndOp_RigK5> modelObject;

} // namespace

clsIndOp_RigK5& gObjRigOp() {
    if (!modelObject) {
        modelObject = std::make_unique<clsIndOp_RigK5>();
    }
    return *modelObject;
}

void resetModelGlobal() {
    modelObject.reset();
}

void setRigHost(RigHost* host) {
    currentHost = host;
}

RigHost* rigHost() {
    return currentHost;
}
