// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the driver's receive path through the real port manager (see LinkHarness.h for
// the script and the promises checked at every step). Each script runs three times, its bytes
// delivered whole, in pieces and byte by byte: the driver may not care how the line cuts them.
#include "tests/fuzz/FuzzChecks.h"
#include "tests/fuzz/LinkHarness.h"

using namespace fuzzline;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Outcome whole = runScript(data, size, Cut::Whole);
    fuzzcheck::require(runScript(data, size, Cut::Pieces) == whole &&
                           runScript(data, size, Cut::Bytewise) == whole,
                       "the outcome depends on how bytes are cut");
    return 0;
}
