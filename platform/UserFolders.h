// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user folders the system names for the program: where its settings go when the
// program's own folder is read-only, where its backups go, and where its one-copy lock lives.
#pragma once

#include <string>

namespace platform {

// QStandardPaths' configuration folder of the application (its name set by the caller),
// without a trailing separator; empty when the system names none.
std::string userConfigFolder();

// QStandardPaths' data folder of the application, without a trailing separator; empty when the
// system names none. The backups of the radios' memories live below it.
std::string userDataFolder();

// The user's runtime folder; where the system names none, the configuration folder above,
// and failing that the temporary folder. Never empty.
std::string userRuntimeFolder();

} // namespace platform
