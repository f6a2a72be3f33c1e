// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up: one copy only, then the utility built by its composition root, shown until
// the window closes.
#include "app/start.h"

#include "common/Product.h"
#include "platform/InstanceLock.h"
#include "platform/UserFolders.h"
#include "ui/UiHooks.h"

#include <QApplication>

namespace {

const char* const AlreadyRunningText =
    "Cannot execute VS-K5 ALN Rev.1.0 repeatedly.\r\nVS-K5 ALN Rev.1.0 is already executing.";

} // namespace

int Main(int argc, char** argv) {
    // Names the per-user folders Qt gives out (settings, the lock) before any is asked for.
    QApplication::setApplicationName(product::ShortName);
    QApplication app(argc, argv);
    return runUtility();
}

int runUtility(const StartupPlaces& places) {
    platform::InstanceLock instance(places.lockFolder.empty() ? platform::userRuntimeFolder()
                                                              : places.lockFolder,
                                    places.lockName);
    if (instance.acquire() == platform::InstanceLock::Result::HeldByAnotherCopy) {
        // Nothing opened, read or written: the running copy stays undisturbed.
        MsgBoxProduct(AlreadyRunningText);
        return 1;
    }
    Utility utility(places.utility);
    if (!utility.startUp()) {
        return 1;
    }
    utility.window().show();
    const int code = QApplication::exec();
    utility.shutDown();
    return code;
}
