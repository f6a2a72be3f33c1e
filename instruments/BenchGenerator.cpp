// SPDX-License-Identifier: GPL-3.0-or-later
#include "instruments/BenchGenerator.h"

#include "instruments/ResourceName.h"
#include "instruments/TransportFactory.h"

namespace instruments {

std::unique_ptr<BenchGenerator> BenchGenerator::create(const GeneratorSetup& setup,
                                                       std::string& why) {
    const ParsedResource parsed = parseResource(setup.resource);
    if (!parsed.ok()) {
        why = parsed.error;
        return nullptr;
    }
    TransportSettings transport;
    transport.blockingTimeoutMs = setup.timeoutMs;
    std::unique_ptr<BenchGenerator> bench(new BenchGenerator);
    bench->scpi = std::make_unique<ScpiInstrument>(makeTransport(parsed.resource, transport));
    bench->scpi->setTimeoutMs(setup.timeoutMs);
    const GeneratorCommands commands =
        setup.profile.empty() ? GeneratorCommands{} : loadGeneratorProfile(setup.profile);
    bench->role = std::make_unique<SignalGenerator>(*bench->scpi, commands, setup.maximumLevelDbm);
    bench->scpi->connectToInstrument();
    return bench;
}

} // namespace instruments
