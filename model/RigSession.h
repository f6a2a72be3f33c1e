// SPDX-License-Identifier: GPL-3.0-or-later
// What the model's parts share, in one object handed once to each of them: the link they drive,
// the radio's identity and memory image, the console and the view, the test channels and the
// one on the channel item, the item indexes, the TXF table, the readouts, the curves, the wait
// after the last live command, the service job with its record and the running procedure. The
// parts read and write it; none of them passes its pieces on or calls back into its owner.
//
//   RigSession session({seq, driver, radio}, console, channels, view);
//   session.procedures.enter(4);   // BPF Low ALL: its steps use session.readouts, .curves ...
//   session.waitAfterSend = 200;   // the task pauses 200 ms after the command just sent
#pragma once

#include "model/CurveLog.h"
#include "model/ItemTable.h"
#include "model/ProcedureContext.h"
#include "model/ProcedureRunner.h"
#include "model/Readouts.h"
#include "model/ServiceJob.h"
#include "model/TxfTable.h"

#include <cstdint>

class RigView;
class TestChannels;
class clsCmcCln3Drv;
class clsCmcCln3Sequence;
class clsCmcEeprom;
class clsCmcRadio;
class clsConsole;

struct RigSession {
    // The link the model drives: the sequencer for its operations, the driver for the last
    // answer, the radio's identity and memory image.
    struct Link {
        clsCmcCln3Sequence& seq;
        clsCmcCln3Drv& driver;
        clsCmcRadio& radio;
    };

    RigSession(const Link& link, clsConsole& console, TestChannels& channels, RigView& view);
    RigSession(const RigSession&) = delete;
    RigSession& operator=(const RigSession&) = delete;

    clsCmcEeprom& image() const;

    clsCmcCln3Sequence& seq;
    clsCmcCln3Drv& driver;
    clsCmcRadio& radio;
    clsConsole& console;
    TestChannels& channels;
    RigView& view;

    ItemIndexes indexes;
    TxfTable txf;
    Readouts readouts;
    CurveLog curves;
    // The test channel the channel item shows and sends.
    std::int16_t curChNo = 0;
    // Milliseconds the task waits after the live command just sent; the task takes it over.
    std::int32_t waitAfterSend = 0;

    // Built on the state above, in this order.
    ServiceJob job;
    ProcedureContext procedureContext;
    ProcedureRunner procedures;
};
