// The application global console.
#include "console/ConsoleGlobal.h"

#include "console/clsConsole.h"

#include <memory>

namespace {

std::unique_ptr<clsConsole>& consoleSlot() {
    static std::unique_ptr<clsConsole> console;
    return console;
}

} // namespace

clsConsole& gObjConsole() {
    auto& slot = consoleSlot();
    if (!slot) {
        slot = std::make_unique<clsConsole>();
    }
    return *slot;
}

void resetConsoleGlobal() {
    consoleSlot().reset();
}
