// SPDX-License-Identifier: GPL-3.0-or-later
// The scripted receive path and its checks.
#include "tests/fuzz/LinkHarness.h"

#include "link/CloneFrames.h"
#include "platform/TickCount.h"
#include "sim/SimRadio.h"
#include "tests/fuzz/FuzzChecks.h"

#include <algorithm>

namespace fuzzline {

using fuzzcheck::require;

namespace {

// Clock starts that matter: zero, just before the wrap of the 32-bit count, negative.
std::int32_t clockStartOf(std::uint8_t choice) {
    const std::int32_t starts[] = {0, 0x7FFFFFFF - 20 * choice, -0x7FFFFFFF + 3 * choice,
                                   100000 + choice};
    return starts[choice % 4];
}

// The record frame FE .. EF EE E4 <address count data checksum as hex text> FD, read as the
// simulated radio reads a record (not with the driver's code): whole hex pairs, a sum of 0
// modulo 256, the count that the length says, and every byte inside the 2048-byte image.
vxk5sim::DecodedRecord recordOf(const Bytes& f) {
    using namespace vxk5sim;
    if (f.size() < 3 || f[0] != kComputerAddress || f[1] != kRadioAddress || f[2] != kCmdRecord) {
        return {};
    }
    return decodeRecord(Bytes(f.begin() + 3, f.end()), SimRadio::kMemorySize);
}

} // namespace

Bytes ScriptReader::bytes(std::size_t n) {
    const std::size_t take = std::min(n, size - std::min(at, size));
    Bytes out(data + at, data + at + take);
    at += take;
    return out;
}

LinkHarness::LinkHarness(Cut cut, std::uint8_t cutSeed, std::uint8_t clockStart)
    : cut(cut), cutState(cutSeed * 2654435761u + 1),
      line(new testsupport::SimSerialControl(testsupport::SimSerialControl::NoRadio{})),
      com(std::unique_ptr<SerialControl>(line)), steps{clockStart, cutSeed} {
    platform::TickCount::useTestClock(clockStartOf(clockStart));
    for (std::int32_t adr = 0; adr < eep.eeSize(); ++adr) {
        std::ignore = eep.WriteByte(adr, adr * 7 + clockStart);
    }
    imageBefore = eep.ReadBlock(0, eep.eeSize());
    com.cln3D.setMyEep(&eep);
    // As the composition root wires it: arriving bytes run the tick at once.
    QObject::connect(&com, &frmCom::dataArrived, [this] { service(); });
    QObject::connect(&com, &frmCom::portLost, [this] { writtenAtLoss = line->written().size(); });
}

void LinkHarness::record(Op op, std::initializer_list<std::uint8_t> arguments, const Bytes& bytes) {
    steps.push_back(static_cast<std::uint8_t>(op));
    steps.insert(steps.end(), arguments);
    steps.insert(steps.end(), bytes.begin(), bytes.end());
}

void LinkHarness::send(SendKind kind, std::uint8_t option, const Bytes& payload) {
    record(Op::Send,
           {static_cast<std::uint8_t>(kind), option, static_cast<std::uint8_t>(payload.size())},
           payload);
    if (com.errPortLost()) {
        com.Reset(); // the technician's next Connect starts the link afresh
    }
    clsCmcCln3Drv& drv = com.cln3D;
    drv.clearLastError();
    com.setComOpen(true);
    heard.clear();
    records.clear();
    scanned = 0;
    // Each kind's work mode and command, the model's code after it and then its sub code (the
    // identity query's is still 00 00).
    static const std::pair<WorkMode, std::uint8_t> commands[] = {
        {WorkMode::Identity, 0xE0}, {WorkMode::CloneRead, 0xE2}, {WorkMode::CloneWriteStart, 0xE3},
        {WorkMode::Adjust, 0xE8},   {WorkMode::Adjust, 0xE8},    {WorkMode::CloneWriteEnd, 0xE5}};
    const auto [mode, command] = commands[static_cast<std::size_t>(kind)];
    drv.setWorkMode(mode);
    Bytes body{command, 0x73, 0x51, 0x00, static_cast<std::uint8_t>(kind != SendKind::Identity)};
    if (kind == SendKind::CloneRead) {
        // Nothing, the adjustment area, or the whole image must have been read.
        drv.setRequiredReadRange(option % 3 == 1 ? 0x7A8 : 0,
                                 option % 3 == 0 ? -1 : (option % 3 == 1 ? 0x7E7 : 0x7FF));
    } else if (kind == SendKind::CloneWrite) {
        drv.setSizDataOfPacket(option / 2);
        drv.setCloneWriteAdrList(option % 2 == 0 ? "0000-07FF," : "07A8-07E7,0000-000F,");
    } else if (mode == WorkMode::Adjust) {
        drv.setWaitAnswer(kind == SendKind::AdjustAnswer);
        drv.setRetryCount(option % 3);
        body.insert(body.end(), payload.begin(), payload.end());
    } else if (kind == SendKind::WriteEnd) {
        body = frames::endBody();
    }
    std::ignore = drv.Send(body);
    checkDriver();
    report(); // a command goes out within a tick, whose end reports a port that did not open
}

void LinkHarness::deliver(const Bytes& bytes, bool event) {
    require(bytes.size() <= 0xFFFF, "a delivery longer than a step can hold");
    record(event ? Op::Deliver : Op::Quiet,
           {static_cast<std::uint8_t>(bytes.size() >> 8), static_cast<std::uint8_t>(bytes.size())},
           bytes);
    arrive(bytes, event);
}

void LinkHarness::arrive(const Bytes& bytes, bool event) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t n = bytes.size() - at;
        if (cut == Cut::Bytewise) {
            n = 1;
        } else if (cut == Cut::Pieces) {
            cutState = cutState * 1103515245u + 12345u;
            n = std::min<std::size_t>(n, 1 + (cutState >> 16) % 23);
        }
        const Bytes piece(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                          bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
        if (line->portOpen()) {
            heard.insert(heard.end(), piece.begin(), piece.end());
            // Only a record's end byte can let the driver store one: the image is compared
            // then (and at the end of every step), not after every byte.
            frameEndHeard = frameEndHeard || std::count(piece.begin(), piece.end(), 0xFD) > 0;
        }
        line->arrive(piece, event);
        at += n;
    }
}

void LinkHarness::tick(int milliseconds) {
    require(milliseconds % 20 == 0 && milliseconds <= 255 * 20, "a tick a step cannot hold");
    record(Op::Tick, {static_cast<std::uint8_t>(milliseconds / 20)});
    advance(milliseconds);
}

void LinkHarness::advance(int milliseconds) {
    platform::TickCount::advanceTestClock(milliseconds);
    service();
}

// The device goes away under the port and is back at once: only the link's own rule keeps
// it from being opened again before the loss is reported.
void LinkHarness::lose() {
    record(Op::Lose, {});
    line->unplug();
    line->plugIn();
}

void LinkHarness::setLineFaults(std::uint8_t flags) {
    record(Op::LineFaults, {flags});
    line->setWriteFails((flags & 1) != 0);
    line->setOpenFails((flags & 2) != 0);
}

void LinkHarness::close() {
    record(Op::Close, {});
    com.setComOpen(false);
}

void LinkHarness::echo() {
    record(Op::Echo, {});
    arrive(line->lastBlock(), true);
}

// The link's part of the program's tick: nothing runs on a lost port.
void LinkHarness::service() {
    if (!com.errPortLost()) {
        com.serviceLine();
    }
    checkDriver();
    if (frameEndHeard) {
        checkImage();
        frameEndHeard = false;
    }
    report();
}

// The end of the program's tick: an error (or a port that could not be opened or was lost) is
// reported, and the report resets the link.
void LinkHarness::report() {
    if (com.totalError()) {
        errorsSeen |= 1u << static_cast<unsigned>(com.cln3D.nowError());
        com.Reset();
    }
}

void LinkHarness::checkDriver() {
    const clsCmcCln3Drv& drv = com.cln3D;
    require(drv.rxBufSize() <= clsCmcCln3Drv::RxBufMax, "receive buffer over 256 bytes");
    if (drv.nowError() != DriverError::None) {
        require(!drv.Running() && drv.waitState() == WaitState::Idle, "an error left a cycle open");
    }
    // A lost port is not serviced: its driver waits on until the report resets the link.
    if (drv.waitState() != WaitState::Idle && !com.errPortLost()) {
        const std::int32_t left = com.cln3D.deadlineLeft();
        require(left >= 1 && left <= std::max(drv.echoTimeout(), drv.answerTimeout()),
                "a wait without a deadline in reach");
    }
    if (com.errPortLost()) {
        require(line->written().size() == writtenAtLoss, "written to a lost port");
    }
}

void LinkHarness::checkImage() {
    const Bytes image = eep.ReadBlock(0, eep.eeSize());
    if (image == imageBefore) {
        return;
    }
    require(com.cln3D.workMode() == WorkMode::CloneRead, "the image changed outside a clone read");
    collectRecords();
    for (std::size_t adr = 0; adr < image.size(); ++adr) {
        if (image[adr] == imageBefore[adr]) {
            continue;
        }
        const bool carried = std::any_of(records.begin(), records.end(), [&](const auto& r) {
            const auto a = static_cast<int>(adr);
            return a >= r.address && a < r.address + static_cast<int>(r.data.size()) &&
                   r.data[adr - static_cast<std::size_t>(r.address)] == image[adr];
        });
        require(carried, "an image byte changed that no valid record carried");
    }
    imageBefore = image;
}

// The valid records among the bytes heard: the bytes after a preamble up to the next FD. Each
// frame is read once; one still open is looked at again when more has been heard.
void LinkHarness::collectRecords() {
    const auto isMark = [](std::uint8_t b) {
        return b == vxk5sim::kEndOfFrame || b == vxk5sim::kPreamble;
    };
    for (;;) {
        const auto fe = std::find(heard.begin() + static_cast<std::ptrdiff_t>(scanned), heard.end(),
                                  vxk5sim::kPreamble);
        const auto end = fe == heard.end() ? fe : std::find_if(fe + 1, heard.end(), isMark);
        if (end == heard.end()) { // no frame, or one still open
            scanned = static_cast<std::size_t>(fe - heard.begin());
            return;
        }
        vxk5sim::DecodedRecord record = recordOf(Bytes(fe + 1, end));
        if (*end == vxk5sim::kEndOfFrame && record.ok) {
            records.push_back(std::move(record));
        }
        scanned = static_cast<std::size_t>(end - heard.begin());
    }
}

void LinkHarness::settle() {
    for (int i = 0; i < 400 && running(); ++i) {
        advance(50);
    }
    require(!running(), "the driver did not come to rest by its deadlines");
    endStep();
}

void LinkHarness::endStep() {
    checkImage();
    const clsCmcCln3Drv& drv = com.cln3D;
    kept.steps.push_back({errorsSeen, drv.lastError(), drv.Running(), drv.waitState(),
                          drv.lastEeAdr(), line->written().size()});
    errorsSeen = 0;
}

bool LinkHarness::step(ScriptReader& script) {
    if (script.done()) {
        return false;
    }
    // Each opcode's step, in the order of Op, its arguments read from the script.
    using Play = void (*)(LinkHarness&, ScriptReader&);
    static const Play plays[] = {
        [](LinkHarness& h, ScriptReader& s) {
            const auto kind = static_cast<SendKind>(s.u8() % static_cast<int>(SendKind::Count));
            const std::uint8_t option = s.u8();
            h.send(kind, option, s.bytes(s.u8() % 17));
        },
        [](LinkHarness& h, ScriptReader& s) { h.deliver(s.bytes(s.u16()), true); },
        [](LinkHarness& h, ScriptReader& s) { h.tick(s.u8() * 20); },
        [](LinkHarness& h, ScriptReader& s) { h.deliver(s.bytes(s.u16()), false); },
        [](LinkHarness& h, ScriptReader&) { h.lose(); },
        [](LinkHarness& h, ScriptReader& s) { h.setLineFaults(s.u8()); },
        [](LinkHarness& h, ScriptReader&) { h.close(); },
        [](LinkHarness& h, ScriptReader&) { h.echo(); },
    };
    static_assert(std::size(plays) == static_cast<std::size_t>(Op::Count));
    plays[script.u8() % std::size(plays)](*this, script);
    endStep();
    return true;
}

Outcome LinkHarness::outcome() const {
    Outcome result = kept;
    result.image = eep.ReadBlock(0, eep.eeSize());
    result.written = line->written();
    result.identity = com.cln3D.ansInfo();
    result.lastAnswer = com.cln3D.varLastE8Answer();
    return result;
}

Outcome runScript(const std::uint8_t* data, std::size_t size, Cut cut) {
    ScriptReader script(data, size);
    const std::uint8_t clockStart = script.u8();
    LinkHarness harness(cut, script.u8(), clockStart);
    while (harness.step(script)) {
    }
    harness.settle();
    return harness.outcome();
}

} // namespace fuzzline
