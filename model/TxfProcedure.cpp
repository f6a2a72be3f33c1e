// SPDX-License-Identifier: GPL-3.0-or-later
// The TXF procedure.
#include "model/TxfProcedure.h"

#include "common/CommonRoutines.h"
#include "console/clsConsole.h"
#include "model/CurveLog.h"
#include "link/clsCmcEeprom.h"
#include "model/MemoryMap.h"
#include "model/NumberPicture.h"
#include "model/ProcedureContext.h"
#include "model/ProcedureMessages.h"
#include "model/RigView.h"
#include "model/TestChannels.h"
#include "model/TxfTable.h"

#include <algorithm>

void TxfProcedure::begin() {
    secondPass = false;
    fullWrite = false;
    ctx.curves().txfStart(ctx.image());
}

bool TxfProcedure::tick(std::int16_t& step) {
    const std::int16_t before = step;
    bool result = true;
    switch (step) {
    case Start:
        lastArea = -1;
        nextEnter = false;
        step = LoadItem;
        break;
    case LoadItem:
    case Follow:
        if (!measure(step)) {
            return false;
        }
        break;
    case Write:
        result = writeStep(step);
        break;
    default:
        decide(step);
        break;
    }
    if (step != before) {
        readingOut = false;
    }
    return result;
}

// Steps LoadItem and Follow: the temperature is read, its area found. LoadItem puts the area's
// value on the item; Follow plans a write when the item, the area or an Enter asks for one.
bool TxfProcedure::measure(std::int16_t& step) {
    if (!ctx.takeReading(MemoryMap::AdTemperature, readingOut)) {
        return false;
    }
    if (sensorError(step)) {
        return true;
    }
    const std::int16_t t = ctx.reading(MemoryMap::AdTemperature);
    const std::int16_t area = ctx.txf().area(t);
    ctx.curves().txfArea(area);
    clsConsole& items = ctx.items();
    const std::int16_t item = ctx.indexes().idxTxf;
    if (step == LoadItem) {
        const std::int16_t initial = ctx.image().ReadByte(MemoryMap::RefInitial + area);
        items.setValue(item,
                       static_cast<std::int16_t>(secondPass ? initial + SecondLift : initial));
        step = Follow;
        return true;
    }
    if (items.Value(item) == lastItemValue && !nextEnter && area == lastArea) {
        step = Decide; // nothing changed
        return true;
    }
    lastArea = area;
    planWrite(area, t);
    nextEnterCopy = nextEnter;
    lastItemValue = items.Value(item);
    step = Write;
    return true;
}

// After the second Enter the whole curve; otherwise the areas around the current one (and at
// the first Enter the item's value is kept as the curve's start).
void TxfProcedure::planWrite(std::int16_t area, std::int16_t t) {
    const std::int16_t value = ctx.items().Value(ctx.indexes().idxTxf);
    if (nextEnter && secondPass) {
        writeIndex = 0;
        writeEnd = 2 * MemoryMap::TemperatureAreas - 1;
        fullWrite = true;
        curve = TxfCurve::compute(startValue, value, ctx.txf(), area, t);
    } else {
        writeIndex = static_cast<std::int16_t>(area - 1);
        writeEnd = static_cast<std::int16_t>(area + 4);
        if (nextEnter) {
            startValue = value;
        }
    }
    writeIndex = std::clamp<std::int16_t>(writeIndex, 0, MemoryMap::TemperatureAreas - 1);
}

// One value per tick: the full curve (40 values) after the second Enter, otherwise the initial
// value and a flat slope of the areas around the current one.
bool TxfProcedure::writeStep(std::int16_t& step) {
    const std::int16_t i = writeIndex;
    if (fullWrite && secondPass) {
        const std::int16_t w = curve.writeValue(i);
        ctx.sendAndStore(MemoryMap::E8RefInitial + i, w, MemoryMap::RefInitial + i, w & 0xFF);
    } else {
        writeLocal(i);
    }
    ctx.curves().txfWritten(ctx.image());
    ++writeIndex;
    if (writeIndex <= writeEnd) {
        return false;
    }
    step = nextEnterCopy ? Decide : Follow;
    return true;
}

// Initial values first, in rising order, then the flat slopes; only areas 0 to 19 are written.
void TxfProcedure::writeLocal(std::int16_t i) {
    const int areas = MemoryMap::TemperatureAreas;
    if (i <= writeEnd - 3) {
        if (i >= 0 && i < areas) {
            const std::int16_t value = ctx.items().Value(ctx.indexes().idxTxf);
            ctx.sendAndStore(MemoryMap::E8RefInitial + i, value, MemoryMap::RefInitial + i, value);
        }
        return;
    }
    const int area = i - 3;
    if (area >= 0 && area < areas) {
        ctx.sendAndStore(MemoryMap::E8RefSlant + area, 0, MemoryMap::RefSlant + area, 0);
    }
}

void TxfProcedure::decide(std::int16_t& step) {
    if (!nextEnterCopy) {
        step = Follow;
    } else if (!secondPass) {
        secondPass = true; // the first Enter done: the second pass starts over
        step = Start;
    } else {
        step = 0;
        secondPass = false;
        nextEnter = false;
        ctx.view().beep();
    }
}

// An open or shorted sensor (reading 0 or 255) gives no temperature: the areas and the curve
// built on it would be nonsense. TXF ends with everything it wrote put back.
bool TxfProcedure::sensorError(std::int16_t& step) {
    const std::int16_t t = ctx.reading(MemoryMap::AdTemperature);
    if (t != 0 && t != 255) {
        return false;
    }
    secondPass = false;
    nextEnter = false;
    ctx.endWithoutResult(step, procedure_messages::temperatureSensorError());
    return true;
}

bool TxfProcedure::enterWhileRunning() {
    nextEnter = true;
    return true;
}

// TXF works on test channel 0: showing its line puts the channel item on it, so the radio is
// tuned there.
std::optional<std::string> TxfProcedure::runningLine(std::int16_t index, std::int16_t val) {
    clsConsole& items = ctx.items();
    items.setValue(ctx.indexes().idxChNo, 0); // its redraw makes channel 0 the current one
    items.setFlgChanged(ctx.indexes().idxChNo, true);
    const clsRig_Ch& ch = ctx.channels().ChUnit(ctx.curChNo());
    double mhz = ch.FreqOp_Pure() / 100000.0;
    if (secondPass) {
        mhz *= 1.00001;
    }
    return std::string(secondPass ? "2nd TX Freq = " : "1st TX Freq = ") +
           numberPicture(mhz, 3, 5) + "MHz" + ", Setting = " + rightField(std::to_string(val), 3) +
           items.BarString(index);
}

Progress TxfProcedure::progress(std::int16_t /*step*/, std::int16_t /*first*/,
                                std::int16_t /*last*/) const {
    if (fullWrite && secondPass) {
        return {{}, writeIndex, 2 * MemoryMap::TemperatureAreas};
    }
    return {};
}
