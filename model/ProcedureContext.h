// SPDX-License-Identifier: GPL-3.0-or-later
// What an adjustment procedure may use, and nothing more: the live commands (each one noted in
// the journal of the run, so that a run left early can be put back), the memory image, the
// console's items, the A/D readings, the test channels, the TXF table and the window's intents.
//
//   if (!ctx.takeReading(MemoryMap::AdSignalDetector, requested)) return false; // next tick
//   ctx.sendAndStore(MemoryMap::E8SMeter, s - 2, MemoryMap::SMeter, s);
#pragma once

#include "model/ItemTable.h"
#include "model/ProcedureJournal.h"

#include <cstdint>
#include <string>

class CurveLog;
class RigView;
class TestChannels;
class TxfTable;
class clsCmcEeprom;
class clsConsole;
struct RigSession;

class ProcedureContext {
  public:
    explicit ProcedureContext(RigSession& session) : s(session) {}

    // A live command of the running procedure; true when it went out.
    bool sendE8(int command, int value);
    // A live command and the byte it stands for, written only when the command went out.
    bool sendAndStore(int command, int value, std::int32_t address, int stored);
    // One tick of a reading of A/D channel 0 to 2; true once a value is in. `requested` is the
    // procedure's own flag: clear, a fresh request goes out; set, the answer is looked for.
    bool takeReading(int channel, bool& requested);
    std::int16_t reading(int channel) const;
    // An operation of the link is under way: nothing new may be sent this tick.
    bool linkBusy() const;
    // Everything the running procedure changed goes back, in the radio, the image and the
    // console, before anything else is sent.
    void restoreChanges();
    // The procedure cannot give a sound result: what it changed goes back, it ends (step 0)
    // and the technician reads why. The record keeps the message's first line as the reason.
    void endWithoutResult(std::int16_t& step, const std::string& message);
    // The reason of the last endWithoutResult, once; empty when the run ended normally.
    std::string takeEndReason();

    ProcedureJournal& journal() { return runJournal; }
    clsCmcEeprom& image();
    clsConsole& items();
    const ItemIndexes& indexes() const;
    TestChannels& channels();
    const TxfTable& txf() const;
    RigView& view();
    // What the procedures measured, for the curves.
    CurveLog& curves();
    // The test channel shown on the channel item and sent with it.
    std::int16_t& curChNo();

  private:
    RigSession& s;
    ProcedureJournal runJournal;
    std::string endReason;
};
