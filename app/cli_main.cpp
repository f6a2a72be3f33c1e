// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point of the command line: Qt Core only, no display needed.
#include "app/CommandLine.h"
#include "common/Product.h"

#include <QCoreApplication>

#include <unistd.h>

#include <iostream>

int main(int argc, char** argv) {
    // The window's name, so that the per-user folders (settings, backups) are the window's.
    QCoreApplication::setApplicationName(product::ShortName);
    QCoreApplication app(argc, argv);
    const CliParse parsed = parseCommandLine(QCoreApplication::arguments());
    if (!parsed.request) {
        (parsed.exit == CliExit::Completed ? std::cout : std::cerr) << parsed.text;
        return static_cast<int>(parsed.exit);
    }
    CommandLine::Places places;
    places.terminal = isatty(STDERR_FILENO) != 0;
    CommandLine cli(*parsed.request, std::cout, std::cerr, places);
    QObject::connect(&cli, &CommandLine::finishedWith, &app, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    if (!cli.start()) {
        return cli.exitCode();
    }
    return QCoreApplication::exec();
}
