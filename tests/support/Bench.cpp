// The test bench: the whole utility built against the in-process simulated radio.
#include "tests/support/Bench.h"

#include "app/common/CommonRoutines.h"
#include "app/frmMain.h"
#include "console/ConsoleGlobal.h"
#include "console/clsConsole.h"
#include "link/LinkGlobals.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcRadio.h"
#include "link/frmCom.h"
#include "model/clsIndOp_RigK5.h"
#include "platform/TickCount.h"

#include <QDir>
#include <QPushButton>

#include <fstream>
#include <sstream>

namespace testsupport {

namespace {

std::string sampleConstants() {
    std::ifstream in(VSK5_SOURCE_DIR "/sim/Const.ini");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

Bench::Bench(const vxk5sim::SimConfig& config, const std::string& settings) {
    previousFolder = QDir::currentPath();
    dir.writeFile("Const.ini", sampleConstants());
    if (!settings.empty()) {
        dir.writeFile("VSK5ALN.ini", settings);
    }
    QDir::setCurrent(QString::fromStdString(dir.path()));

    auto serialControl = std::make_unique<SimSerialControl>(config);
    control = serialControl.get();
    port = std::make_unique<frmCom>(std::move(serialControl));
    port->profMain.setPath(dir.path());
    setGObjCom(port.get());

    // The start-up's identity and link defaults.
    clsCmcRadio& radio = gObjRadio();
    radio.setRadioNameM("7351");
    radio.setRadionameS("0001");
    radio.cloneWriteAdrList_Clear();
    radio.cloneWriteAdrList_Add(0x0000, 0x07FF);
    port->setComPortNum(1);
    port->cln3D.Reset();
    port->setComBaud(9600);
    port->Reset();

    main = &mainWindow();
    port->loadData(port->profMain);
    main->Form_Load();
}

Bench::~Bench() {
    // The model is the console's event object and the window owns the console's list: both go
    // before the console, the link last.
    resetModelGlobal();
    resetConsoleGlobal();
    destroyMainWindow();
    resetLinkGlobals();
    port.reset();
    QDir::setCurrent(previousFolder);
}

void Bench::tick(int count) {
    for (int i = 0; i < count; ++i) {
        platform::TickCount::advanceTestClock(50);
        port->timSolid_Timer();
    }
}

bool Bench::runUntil(const std::function<bool()>& done, int maxTicks) {
    for (int i = 0; i < maxTicks; ++i) {
        if (done()) {
            return true;
        }
        tick();
    }
    return done();
}

bool Bench::connect() {
    main->cmd00(0).click();
    // Connected once the items are loaded and every value has gone out to the radio.
    return runUntil([] {
        if (!gObjRigOp().RigProp_EditEnabled() || gObjSeq().OpRunning()) {
            return false;
        }
        clsConsole& items = gObjConsole();
        for (std::int16_t i = 0; i < items.ListCount(); ++i) {
            if (items.flgChanged(i)) {
                return false;
            }
        }
        return true;
    });
}

std::vector<Bytes> Bench::framesWritten() const {
    std::vector<Bytes> frames;
    Bytes frame;
    for (std::uint8_t b : control->written()) {
        frame.push_back(b);
        if (b == 0xFD) {
            frames.push_back(frame);
            frame.clear();
        }
    }
    return frames;
}

std::vector<std::string> Bench::e8Payloads() const {
    std::vector<std::string> payloads;
    for (const Bytes& frame : framesWritten()) {
        // FE FE EE EF E8 73 51 00 01 payload FD
        if (frame.size() >= 10 && frame[4] == 0xE8) {
            payloads.push_back(ByteStrToHex(Bytes(frame.begin() + 9, frame.end() - 1)));
        }
    }
    return payloads;
}

} // namespace testsupport
