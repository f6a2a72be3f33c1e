// SPDX-License-Identifier: GPL-3.0-or-later
// The session log's file, its rotation and the message handler that feeds it.
#include "platform/SessionLog.h"

#include "platform/TickCount.h"
#include "platform/UserFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <utility>

Q_LOGGING_CATEGORY(platform::lcPlatform, "vsk5.platform", QtWarningMsg)

namespace platform {
namespace {

// The program's categories are quiet until a log takes them (see the categories' default level
// QtWarningMsg); QT_LOGGING_RULES, read after these rules, still decides over them.
const char* const OurRules = "vsk5.*.info=true";
const char* const OurPrefix = "vsk5.";
constexpr std::size_t OurPrefixLength = 5;

} // namespace

struct SessionLogFile {
    std::string folder;
    QFile out;
    std::int32_t startTick = 0;
    QByteArray line; // reused: a line costs its text and nothing more
    QtMessageHandler previous = nullptr;
    bool installed = false; // the handler below took over from previous

    void write(const char* category, const QString& text);
    void fail();
};

namespace {

std::mutex lock;                     // guards everything below
SessionLogFile* active = nullptr;    // the log that takes the messages
std::string activeFolder;            // its folder, also when it could not be written
std::string trouble;                 // told once by takeTrouble
QtMessageHandler fallback = nullptr; // the handler before ours

std::string troubleText(const std::string& folder) {
    return "The session log cannot be written in " +
           QDir::toNativeSeparators(QString::fromStdString(folder)).toStdString() + ".";
}

void handler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    const char* category = context.category;
    if (category != nullptr && std::strncmp(category, OurPrefix, OurPrefixLength) == 0) {
        const std::lock_guard<std::mutex> guard(lock);
        if (active != nullptr) {
            active->write(category + OurPrefixLength, text);
        }
        return; // never to stderr: the log is where these go
    }
    if (fallback != nullptr) {
        fallback(type, context, text);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    }
}

} // namespace

void SessionLogFile::write(const char* category, const QString& text) {
    const auto ms =
        static_cast<std::uint32_t>(TickCount::now()) - static_cast<std::uint32_t>(startTick);
    char head[40];
    const int n = std::snprintf(head, sizeof head, "%10u %-8s ", ms, category);
    line.resize(0);
    line.append(head, n).append(text.toUtf8()).append('\n');
    // Unbuffered: each line reaches the system at once, so a crash loses nothing written.
    if (out.write(line) != line.size()) {
        fail();
    }
}

void SessionLogFile::fail() {
    out.close();
    active = nullptr;
    trouble = troubleText(folder);
    QLoggingCategory::setFilterRules({}); // the categories cost nothing again
}

std::string SessionLog::defaultFolder() {
    const std::string data = userDataFolder();
    return data.empty() ? std::string() : data + "/logs";
}

std::string SessionLog::fileName(const QDateTime& at) {
    return at.toString("yyyy-MM-dd_HH-mm-ss").toStdString() + ".log";
}

void SessionLog::removeOld(const std::string& folder) {
    QDir dir(QString::fromStdString(folder));
    // Named by date and time: the newest sort last.
    const QFileInfoList logs =
        dir.entryInfoList({"*.log"}, QDir::Files, QDir::Name | QDir::Reversed);
    int kept = 1; // the new one
    std::int64_t bytes = 0;
    bool keeping = true;
    for (const QFileInfo& log : logs) {
        keeping = keeping && kept < KeptSessions && bytes + log.size() <= KeptBytes;
        if (keeping) {
            ++kept;
            bytes += log.size();
        } else {
            QFile::remove(log.filePath());
        }
    }
}

SessionLog::SessionLog(const std::string& folder, const QDateTime& at)
    : file(std::make_unique<SessionLogFile>()) {
    file->folder = folder;
    {
        const std::lock_guard<std::mutex> guard(lock);
        activeFolder = folder;
    }
    const QString path = QString::fromStdString(folder);
    if (!folder.empty() && QDir().mkpath(path)) {
        removeOld(folder);
        const QString base = QString::fromStdString(fileName(at));
        file->out.setFileName(QDir(path).filePath(base));
        // Two sessions in one second: the second gets "_2", which still sorts after the first.
        for (int n = 2; file->out.exists() && n < 100; ++n) {
            file->out.setFileName(QDir(path).filePath(base.chopped(4) + QString("_%1.log").arg(n)));
        }
        file->out.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered);
    }
    const std::lock_guard<std::mutex> guard(lock);
    if (!file->out.isOpen()) {
        trouble = troubleText(folder);
        return;
    }
    file->startTick = TickCount::now();
    active = file.get();
    fallback = qInstallMessageHandler(handler);
    file->previous = fallback;
    file->installed = true;
    QLoggingCategory::setFilterRules(OurRules);
}

SessionLog::~SessionLog() {
    const std::lock_guard<std::mutex> guard(lock);
    if (active == file.get()) {
        active = nullptr;
        QLoggingCategory::setFilterRules({});
    }
    if (file->installed) {
        qInstallMessageHandler(file->previous);
        fallback = nullptr;
    }
    activeFolder.clear();
    trouble.clear();
}

bool SessionLog::isOpen() const {
    return file->out.isOpen();
}

std::string SessionLog::currentPath() {
    const std::lock_guard<std::mutex> guard(lock);
    return active != nullptr ? active->out.fileName().toStdString() : std::string();
}

std::string SessionLog::currentFolder() {
    const std::lock_guard<std::mutex> guard(lock);
    return activeFolder.empty() ? defaultFolder() : activeFolder;
}

std::string SessionLog::takeTrouble() {
    const std::lock_guard<std::mutex> guard(lock);
    return std::exchange(trouble, {});
}

} // namespace platform
