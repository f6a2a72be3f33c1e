// SPDX-License-Identifier: GPL-3.0-or-later
// The measured curves of the procedures.
#include "model/CurveLog.h"

#include "link/clsCmcEeprom.h"
#include "model/MemoryMap.h"

namespace {

CurveKind sweepKind(int band) {
    return static_cast<CurveKind>(band);
}

// The REF values of every area as the image holds them, the slants read as signed bytes.
void readRef(const clsCmcEeprom& image, std::array<int, TxfCurves::Areas>& initial,
             std::array<int, TxfCurves::Areas>& slant) {
    for (int n = 0; n < TxfCurves::Areas; ++n) {
        initial[static_cast<std::size_t>(n)] = image.ReadByte(MemoryMap::RefInitial + n);
        const int s = image.ReadByte(MemoryMap::RefSlant + n);
        slant[static_cast<std::size_t>(n)] = s > 127 ? s - 256 : s;
    }
}

} // namespace

void CurveLog::changed(CurveKind kind) {
    latestKind = kind;
    ++changes.at(static_cast<std::size_t>(kind));
}

SweepCurve& CurveLog::sweepOf(int band) {
    std::optional<SweepCurve>& curve = sweeps.at(static_cast<std::size_t>(band));
    if (!curve) {
        curve.emplace();
    }
    return *curve;
}

void CurveLog::sweepStart(int band, const std::array<int, 3>& before) {
    sweeps.at(static_cast<std::size_t>(band)) = SweepCurve{before, {-1, -1, -1}, {}};
    changed(sweepKind(band));
}

void CurveLog::sweepReading(int band, int stage, int setting, int reading) {
    sweepOf(band).readings.push_back({stage, setting, reading});
    changed(sweepKind(band));
}

void CurveLog::sweepChosen(int band, int stage, int setting) {
    sweepOf(band).chosen.at(static_cast<std::size_t>(stage)) = setting;
    changed(sweepKind(band));
}

void CurveLog::txfStart(const clsCmcEeprom& image) {
    TxfCurves curves;
    readRef(image, curves.initialBefore, curves.slantBefore);
    curves.initialNow = curves.initialBefore;
    curves.slantNow = curves.slantBefore;
    txfCurves = curves;
    changed(CurveKind::Txf);
}

void CurveLog::txfArea(int area) {
    if (txfCurves && txfCurves->area != area) {
        txfCurves->area = area;
        changed(CurveKind::Txf);
    }
}

void CurveLog::txfWritten(const clsCmcEeprom& image) {
    if (txfCurves) {
        readRef(image, txfCurves->initialNow, txfCurves->slantNow);
        changed(CurveKind::Txf);
    }
}

void CurveLog::sMeter(int reading, const std::array<int, 3>& live,
                      const std::array<int, 3>& stored) {
    sMeterCurve = SMeterCurve{reading, live, stored};
    changed(CurveKind::SMeter);
}
