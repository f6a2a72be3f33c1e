// SPDX-License-Identifier: GPL-3.0-or-later
// The session log: one file per session in the per-user data folder, named by the date and time
// the session started, holding what support needs to see when something went wrong at a bench
// (frames on the line, messages shown, procedures and jobs, files). Every layer writes to it
// through its own logging category ("vsk5.link", "vsk5.model", ...), so QT_LOGGING_RULES
// selects what goes in; this sink takes the messages of those categories and keeps them off
// stderr. Messages of any other category go to the handler that was installed before.
//
//   platform::SessionLog log(platform::SessionLog::defaultFolder());   // for the session
//   qCInfo(lcLink).noquote() << "out FE FE EE EF E0 00 00 FD";
//   // ->      1234 link     out FE FE EE EF E0 00 00 FD
//
// A log that cannot be written never stops the program: the trouble is told once (takeTrouble)
// and the categories fall silent again.
#pragma once

#include <QDateTime>
#include <QLoggingCategory>

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

Q_DECLARE_LOGGING_CATEGORY(lcPlatform)

struct SessionLogFile;

class SessionLog {
  public:
    // The sessions kept, counting the new one, and the bytes the older ones may hold together.
    static constexpr int KeptSessions = 20;
    static constexpr std::int64_t KeptBytes = 50LL * 1024 * 1024;

    // "logs" in the per-user data folder.
    static std::string defaultFolder();
    // The file name of a session started at the time given: "2026-12-07_14-03-07.log".
    static std::string fileName(const QDateTime& at);
    // Removes the oldest logs of folder until those left, with the one about to be made, are
    // at most KeptSessions and hold at most KeptBytes together.
    static void removeOld(const std::string& folder);

    // Makes the folder when missing, removes the old logs, opens the new file and takes the
    // messages of the program's categories until it goes.
    explicit SessionLog(const std::string& folder,
                        const QDateTime& at = QDateTime::currentDateTime());
    ~SessionLog();
    SessionLog(const SessionLog&) = delete;
    SessionLog& operator=(const SessionLog&) = delete;

    bool isOpen() const;
    // The log in use; empty when there is none or it could not be written.
    static std::string currentPath();
    // The folder of the log in use (also of one that could not be written); without a log,
    // defaultFolder().
    static std::string currentFolder();
    // The line that tells the technician the log could not be written, once; empty otherwise.
    static std::string takeTrouble();

  private:
    std::unique_ptr<SessionLogFile> file;
};

} // namespace platform
