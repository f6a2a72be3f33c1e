// SPDX-License-Identifier: GPL-3.0-or-later
// The receive path as the program runs it, driven by a script: the real port manager (frmCom)
// with its frame driver over the tests' in-process line, each command sent as the sequencer sends
// it, bytes arriving in any cut, ticks on the test clock, a device lost, a write that fails, the
// port closed. After every step the driver's promises are checked, and a broken one aborts (the
// fuzzer's crash):
//   - the receive buffer never holds more than 256 bytes;
//   - an error ends the cycle, and a wait under way has a deadline of at most 1.2 s;
//   - the memory image changes only in a clone read, and only where a record that passes
//     its checksum, count and address checks was on the line, to that record's bytes;
//   - nothing is written while the port is lost;
//   - with no more bytes, the driver comes to rest by its deadlines.
// A whole run is kept as an outcome, so that the same script with its bytes cut differently
// can be compared.
//
// Script: two header bytes (clock start, cut seed), then steps, each an opcode and its
// arguments; reading past the end gives zeros, so every byte string is a script.
#pragma once

#include "link/clsCmcEeprom.h"
#include "link/frmCom.h"
#include "sim/SimProtocol.h"
#include "tests/support/SimSerialControl.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fuzzline {

enum class Op : std::uint8_t {
    Send,       // kind, option, payload length, payload: a command as the sequencer sends it
    Deliver,    // length (2 bytes), bytes: they arrive with a receive event
    Tick,       // n: the clock moves n x 20 ms, then the link's part of the tick
    Quiet,      // length (2 bytes), bytes: they arrive without an event (the next tick reads)
    Lose,       // the device goes away under the port
    LineFaults, // flags: from now on writes fail (and lose the port), opening fails
    Close,      // the port is closed (a new port chosen, the release timer)
    Echo,       // the frame written last comes back
    Count
};

enum class SendKind : std::uint8_t {
    Identity,       // E0, answered by E1
    CloneRead,      // E2; option: the addresses that must be read (none, the area, all)
    CloneWrite,     // E3 and records; option: packet size and address list
    AdjustAnswer,   // E8 awaiting its answer; option: resends
    AdjustNoAnswer, // E8 without an answer
    WriteEnd,       // E5 "Vexo Inc.", answered by E6
    Count
};

// How the bytes of one delivery reach the port.
enum class Cut { Whole, Pieces, Bytewise };

// Reads a script front to back; past its end every read gives zero.
class ScriptReader {
  public:
    ScriptReader(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}
    bool done() const { return at >= size; }
    std::uint8_t u8() { return at < size ? data[at++] : 0; }
    std::uint16_t u16() { return static_cast<std::uint16_t>(u8() << 8 | u8()); }
    Bytes bytes(std::size_t n);

  private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
};

// What a run did, step by step and at its end.
struct Outcome {
    struct Step {
        unsigned errorsSeen; // bit per DriverError raised during the step
        DriverError last;
        bool running;
        WaitState state;
        std::int32_t lastEeAdr;
        std::size_t written;
        bool operator==(const Step&) const = default;
    };
    std::vector<Step> steps;
    Bytes image;
    Bytes written;
    Bytes identity;
    Bytes lastAnswer;
    bool operator==(const Outcome&) const = default;
};

class LinkHarness {
  public:
    LinkHarness(Cut cut, std::uint8_t cutSeed, std::uint8_t clockStart);
    LinkHarness(const LinkHarness&) = delete;
    LinkHarness& operator=(const LinkHarness&) = delete;

    // The steps, each written down in the script's form as it is taken (the seed maker keeps
    // them as a seed).
    void send(SendKind kind, std::uint8_t option, const Bytes& payload);
    void deliver(const Bytes& bytes, bool event);
    void tick(int milliseconds); // a multiple of 20 ms
    void lose();
    void setLineFaults(std::uint8_t flags);
    void close();
    // The frame written last comes back (a copy, as delivering it may make the driver write).
    void echo();
    // Ticks until the driver rests, which its deadlines must bring about.
    void settle();
    // One step of a script; false at its end.
    bool step(ScriptReader& script);
    // The step is over: its snapshot is kept.
    void endStep();

    bool running() const { return com.cln3D.Running(); }
    const Bytes& written() const { return line->written(); }
    Outcome outcome() const;
    // The steps taken so far as a script, its header first.
    const Bytes& script() const { return steps; }

  private:
    void record(Op op, std::initializer_list<std::uint8_t> arguments, const Bytes& bytes = {});
    void arrive(const Bytes& bytes, bool event);
    void advance(int milliseconds);
    void service();
    void report();
    void checkDriver();
    void checkImage();
    void collectRecords();

    Cut cut;
    std::uint32_t cutState;
    testsupport::SimSerialControl* line; // without a radio: the script is the far end
    frmCom com;
    clsCmcEeprom eep;
    Bytes imageBefore;
    Bytes heard; // what arrived since the last command: the records the image may take
    std::vector<vxk5sim::DecodedRecord> records; // the valid ones among them, read up to `scanned`
    std::size_t scanned = 0;
    bool frameEndHeard = false;
    std::size_t writtenAtLoss = 0;
    unsigned errorsSeen = 0;
    Outcome kept;
    Bytes steps;
};

// Runs a whole script with its deliveries cut as asked.
Outcome runScript(const std::uint8_t* data, std::size_t size, Cut cut);

} // namespace fuzzline
