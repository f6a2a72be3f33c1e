// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated VX-K5 on the end of the cloning cable. SimRadio.cpp holds the line, the receiver
// and the clone exchanges; SimRadioAdjust.cpp the adjustment state and the readouts.
//
// The radio listens for frames FE FE EE EF cmd data FD and answers FE FE EF EE cmd data FD.
// The cable loops every byte the computer sends back to the computer's receive line, so the
// computer first sees its own frame and then the radio's answer. An identity query, for
// example:
//
//   computer sends   FE FE EE EF E0 73 51 00 00 FD
//   computer reads   FE FE EE EF E0 73 51 00 00 FD      (the echo)
//                    FE FE EF EE E1 73 51 00 01 FD      (model code 73 51, sub code 00 01)
//
// Clone read (E2) answers with E4 records of 16 bytes covering the whole 2048-byte memory and
// an E5 frame carrying "Vexo Inc."; a clone write (E3, E4 records, E5) is checked and stored
// and answered with E6 00. Adjustment commands (E8 model sub payload) are ignored until
// command 0 has carried the unlock text; after that command 3 answers a readout and every
// other command is applied to the circuits and stored in the memory.
//
// Time is the caller's: receive() and transmit() take monotonic milliseconds. With pacing on,
// bytes cross the cable at 9600 bit/s, 10 bits each, and transmit() hands out only the bytes
// whose time has come; without pacing everything is available at once. Single-threaded.
#pragma once

#include "sim/SimCircuits.h"
#include "sim/SimConfig.h"
#include "sim/SimGenerator.h"
#include "sim/SimProtocol.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace vxk5sim {

class SimRadio {
  public:
    static constexpr int kMemorySize = 2048;
    static constexpr int kRecordSize = 16;
    static constexpr int kRecordCount = kMemorySize / kRecordSize;

    // Line time is kept in units of 1/960 ms, so one byte at 9600 bit/s (10 bits) is exactly
    // 1000 units.
    static constexpr std::int64_t kUnitsPerMs = 960;
    static constexpr std::int64_t kUnitsPerByte = 1000;

    // One adjustment command the radio accepted.
    struct E8Event {
        int command = 0;
        std::int64_t value = 0; // the value's hex characters read as a number
    };

    explicit SimRadio(SimConfig config = {});

    SimConfig& config() { return cfg; }
    const SimConfig& config() const { return cfg; }

    // The computer put these bytes on the line at nowMs (monotonic milliseconds).
    void receive(const Bytes& bytes, std::int64_t nowMs);
    // Bytes that have arrived on the computer's receive line by nowMs: the echo of what it
    // sent first, then the radio's answers.
    Bytes transmit(std::int64_t nowMs);

    std::array<std::uint8_t, 2048>& memory() { return eeprom; }
    const std::array<std::uint8_t, 2048>& memory() const { return eeprom; }

    // Entered only by the E8 unlock command; lasts as long as the radio is powered.
    bool adjustmentState() const { return unlocked; }
    // The last value received for an E8 command number (0..255), or -1 if none yet. Command 0
    // reads 0 once the unlock was accepted; command 1 reads the four packed channel bytes as
    // one number (144.525 MHz gives 0x14452500).
    int e8Value(int command) const;
    // One readable line per exchange.
    void setTraceHandler(std::function<void(const std::string&)> handler);

    // --- for tests and the tool ------------------------------------------------------------
    // Every accepted adjustment command after the unlock, in order of arrival.
    const std::vector<E8Event>& e8Log() const { return e8History; }
    void clearE8Log() { e8History.clear(); }
    // Frames addressed to the radio with this command byte, whether acted on or not.
    int framesSeen(std::uint8_t command) const { return frameCounts[command]; }
    // Milliseconds at which the next queued byte reaches the computer; -1 when none waits.
    std::int64_t nextTransmitMs() const;
    std::size_t pendingTransmit() const { return outQueue.size(); }

    // Channel set by the last E8 command 1; 145 MHz before the first one.
    std::int64_t channelFrequency() const { return channelFreq; }
    bool channelReference() const { return channelRef; }
    bool channelLowPower() const { return channelLow; }
    int band() const { return bandOf(channelFreq); }
    bool dtcsTone() const { return dtcsToneOn; }
    // The reading an E8 readout of this parameter number answers; for the signal detector the
    // modelled circuit alone, without its noise or a scripted reading.
    int readout(int parameter) const;
    bool cloneWriteActive() const { return writing; }
    // A simulated generator on the antenna socket (not owned; nullptr takes it away): the
    // signal detector then reads what the generator sends instead of config().signal.
    void attachGenerator(const SimGenerator* generator) { antenna = generator; }

  private:
    struct Scheduled {
        std::int64_t at; // line time units
        std::uint8_t byte;
    };

    void onByte(std::uint8_t byte, std::int64_t at);
    void onFrame(std::int64_t at);
    void onIdentityQuery(const Bytes& data, std::int64_t at);
    void onCloneRead(const Bytes& data, std::int64_t at);
    void onCloneWriteStart(const Bytes& data);
    void onWriteRecord(const Bytes& data);
    void onCloneEnd(const Bytes& data, std::int64_t at);
    void onAdjust(const Bytes& data, std::int64_t at);
    void applyAdjustment(int command, int value);
    void applyChannel(const Bytes& chars);
    int detectorReading();
    // A worn cell keeps the value it holds in the memory now.
    void keepStuckCell(Memory& next) const;

    bool modelMatches(const Bytes& data) const;
    Bytes identityBytes() const; // model and sub code as the radio reports them
    // Queues an answer frame after the radio's turnaround; returns the time of its last byte.
    std::int64_t queueAnswer(const Bytes& frame, std::int64_t after);
    void queueByte(std::uint8_t byte, std::int64_t at);
    void trace(const std::string& line) const;

    SimConfig cfg;
    Memory eeprom;
    std::function<void(const std::string&)> traceHandler;

    // receiver
    Bytes frameBuf;
    bool inFrame = false;

    // line
    std::deque<Scheduled> outQueue;
    std::int64_t hostCursor = 0;  // when the computer's last byte has crossed the cable
    std::int64_t radioCursor = 0; // when the radio's last byte has crossed the cable
    std::mt19937 noise;
    std::uint32_t noiseSeedInUse = 0;
    DetectorNoise detectorNoise; // after cfg, which seeds it

    // state
    bool unlocked = false;
    bool writing = false;
    bool writeOk = true;
    int writeRecords = 0;
    Memory writeBuffer{};
    std::array<int, 256> lastE8;
    std::array<int, 256> frameCounts{};
    std::vector<E8Event> e8History;
    std::int64_t channelFreq = 14500000;
    bool channelRef = false;
    bool channelLow = false;
    bool dtcsToneOn = false;
    const SimGenerator* antenna = nullptr;
};

} // namespace vxk5sim
