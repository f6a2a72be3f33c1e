// SPDX-License-Identifier: GPL-3.0-or-later
// What the adjustment procedures measured, kept for the curves window and the report: the
// detector readings of the last band-pass sweep of each band against the settings they were
// taken at, the REF values of TXF over the temperature areas before and after its write, and
// the S-meter's reading with the points it set. Each run replaces the last curve of its kind;
// the revision tells a viewer that something new came in.
//
//   log.sweepStart(0, {90, 106, 96});          // BPF Low ALL starts: T1..T3 before it
//   log.sweepReading(0, -1, 63, 120);          // the coarse pass: all stages at 63 read 120
//   log.sweepReading(0, 0, 82, 131);           // T1 at 82 read 131
//   log.sweepChosen(0, 0, 92);                 // T1 settles on 92
#pragma once

#include "model/MemoryMap.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class clsCmcEeprom;

struct SweepReading {
    int stage = -1; // 0..2 for T1..T3; -1 for the coarse pass, all three stages together
    int setting = 0;
    int reading = 0;
};

struct SweepCurve {
    std::array<int, 3> before{};           // T1..T3 when the sweep started
    std::array<int, 3> chosen{-1, -1, -1}; // where each stage settled; -1 not yet
    std::vector<SweepReading> readings;    // in the order they were taken
};

struct TxfCurves {
    static constexpr int Areas = MemoryMap::TemperatureAreas;
    std::array<int, Areas> initialBefore{};
    std::array<int, Areas> slantBefore{}; // signed
    std::array<int, Areas> initialNow{};
    std::array<int, Areas> slantNow{};
    int area = -1; // the area of the measured temperature; -1 before the first reading
};

struct SMeterCurve {
    int reading = 0;
    std::array<int, 3> live{};   // the thresholds sent, S1..S3
    std::array<int, 3> stored{}; // the points the radio keeps
};

// The kinds of curve, in the order the window shows them.
enum class CurveKind { SweepLow, SweepMid, SweepHigh, Txf, SMeter };
inline constexpr int CurveKindCount = 5;

class CurveLog {
  public:
    void sweepStart(int band, const std::array<int, 3>& before);
    void sweepReading(int band, int stage, int setting, int reading);
    void sweepChosen(int band, int stage, int setting);
    void txfStart(const clsCmcEeprom& image);
    void txfArea(int area);
    void txfWritten(const clsCmcEeprom& image);
    void sMeter(int reading, const std::array<int, 3>& live, const std::array<int, 3>& stored);

    const std::optional<SweepCurve>& sweep(int band) const {
        return sweeps.at(static_cast<std::size_t>(band));
    }
    const std::optional<TxfCurves>& txf() const { return txfCurves; }
    const std::optional<SMeterCurve>& sMeter() const { return sMeterCurve; }
    // The kind that changed last, for a viewer that follows the running procedure.
    std::optional<CurveKind> latest() const { return latestKind; }
    // Counts the changes to one kind's curve, so that a viewer redraws only what moved.
    std::uint32_t revision(CurveKind kind) const {
        return changes.at(static_cast<std::size_t>(kind));
    }

  private:
    void changed(CurveKind kind);
    SweepCurve& sweepOf(int band);

    std::array<std::optional<SweepCurve>, 3> sweeps;
    std::optional<TxfCurves> txfCurves;
    std::optional<SMeterCurve> sMeterCurve;
    std::optional<CurveKind> latestKind;
    std::array<std::uint32_t, CurveKindCount> changes{};
};
