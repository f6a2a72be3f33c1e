// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up: one copy only, then the utility built by its composition root, shown until
// the window closes.
#include "app/start.h"

#include "common/Product.h"
#include "platform/InstanceLock.h"
#include "platform/SessionLog.h"
#include "platform/UserFolders.h"
#include "ui/UiHooks.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QSysInfo>

#include <optional>

namespace {

Q_LOGGING_CATEGORY(lcApp, "vsk5.app", QtWarningMsg)

const char* const AlreadyRunningText =
    "Cannot execute VS-K5 ALN Rev.1.0 repeatedly.\r\nVS-K5 ALN Rev.1.0 is already executing.";

} // namespace

int Main(int argc, char** argv) {
    // Names the per-user folders Qt gives out (settings, the lock) before any is asked for.
    QApplication::setApplicationName(product::ShortName);
    QApplication app(argc, argv);
    StartupPlaces places;
    places.logFolder = platform::SessionLog::defaultFolder();
    return runUtility(places);
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
    std::optional<platform::SessionLog> log;
    if (!places.logFolder.empty()) {
        log.emplace(places.logFolder);
        qCInfo(lcApp, "%s (version %s), Qt %s (built with %s), %s", product::Title, VSK5_VERSION,
               qVersion(), QT_VERSION_STR, qPrintable(QSysInfo::prettyProductName()));
    }
    Utility utility(places.utility);
    // The report names the log, so that support can ask for the file that goes with it.
    utility.door().job().record().setSessionLog(platform::SessionLog::currentPath());
    if (!utility.startUp()) {
        return 1;
    }
    utility.window().show();
    const int code = QApplication::exec();
    utility.shutDown();
    qCInfo(lcApp, "end of session");
    return code;
}
