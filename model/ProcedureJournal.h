// SPDX-License-Identifier: GPL-3.0-or-later
// What a running adjustment procedure has changed in the radio, so that a procedure left
// before its end can put every byte back as it found it. The journal keeps the adjustment area
// of the memory image as it stood when the procedure started and the live commands the
// procedure sent since.
//
//   journal.begin(image);            // BPF Low ALL starts; T1..T3 were 90, 106, 96
//   journal.noteSent(0x11); ...      // the sweep sends T1, T2 and T3 many times
//   journal.restores()               // -> {0x11, 90, 0x7B0, 90}, {0x12, 106, ...}, {0x13, 96, ...}
// A keeper, when set, hears of every byte that joins before its command goes out (to keep a
// copy on disk that outlives the program) and of the end of the run.
#pragma once

#include "model/ServiceRecord.h"
#include "platform/Bytes.h"

#include <QDateTime>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

class clsCmcEeprom;

class ProcedureJournal {
  public:
    // One live command that puts one byte back.
    struct Restore {
        int command;
        int liveValue;
        std::int32_t address;
        std::uint8_t stored;
    };

    struct Keeper {
        // The run and every byte it has changed so far, a new one among them.
        std::function<void(const std::string& what, const QDateTime& startedAt,
                           const std::vector<Restore>& restores)>
            changed;
        std::function<void()> over; // nothing is left to put back
    };
    void setKeeper(Keeper k) { keeper = std::move(k); }

    // A procedure starts: the adjustment area as it is now is the state to come back to.
    void begin(const clsCmcEeprom& image, const std::string& what = {},
               const QDateTime& startedAt = {});
    // The procedure sent this live command (commands without a byte are ignored).
    void noteSent(int command);
    // The commands that put back every byte the procedure changed, in command order; nothing
    // once the journal is cleared.
    [[nodiscard]] std::vector<Restore> restores() const;
    // Every byte the procedure's commands set: its value at the start and in image now.
    [[nodiscard]] std::vector<CellResult> results(const clsCmcEeprom& image) const;
    // No more commands are noted: the ones that put the bytes back go out now.
    void close() { open = false; }
    // The procedure is over (kept or put back): nothing more to restore.
    void clear();
    // The run ends without its bytes put back (the link went): the keeper's copy stays on disk
    // for the next Connect to offer.
    void forget();

  private:
    bool open = false;
    bool kept = false; // the keeper has heard of a byte since the run began
    Bytes areaAtStart;
    std::set<int> commandsSent;
    std::string runName;
    QDateTime runStart;
    Keeper keeper;
};
