// SPDX-License-Identifier: GPL-3.0-or-later
// The journal file: a few "key=value" lines, one "byte=" line per changed byte.
#include "model/JournalFile.h"

#include "model/ImageFile.h"
#include "platform/WriteAccess.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

const char* const FirstLine = "VS-K5 ALN journal";

std::string hex3(std::int32_t address) {
    char text[8];
    std::snprintf(text, sizeof text, "%03X", static_cast<unsigned>(address));
    return text;
}

// One "byte=7B0 90" line into entry; false when it does not read as one.
bool readByte(const QString& value, JournalEntry& entry) {
    const QStringList parts = value.split(' ');
    bool addressOk = false, byteOk = false;
    if (parts.size() != 2) {
        return false;
    }
    const int address = parts[0].toInt(&addressOk, 16);
    const int byte = parts[1].toInt(&byteOk, 10);
    if (!addressOk || !byteOk || address < 0 || address >= ImageFile::Size || byte < 0 ||
        byte > 255) {
        return false;
    }
    entry.bytes.emplace_back(address, static_cast<std::uint8_t>(byte));
    return true;
}

bool readLine(const QString& line, JournalEntry& entry) {
    const qsizetype equals = line.indexOf('=');
    if (equals < 0) {
        return false;
    }
    const QString key = line.left(equals), value = line.mid(equals + 1);
    if (key == "sub") {
        entry.subCode = value.toStdString();
    } else if (key == "what") {
        entry.what = value.toStdString();
    } else if (key == "started") {
        entry.startedAt = QDateTime::fromString(value, Qt::ISODateWithMs);
    } else if (key == "backup") {
        entry.backupFile = value.toStdString();
    } else if (key == "byte") {
        return readByte(value, entry);
    }
    return true;
}

} // namespace

namespace JournalFile {

std::string path(const std::string& folder, const std::string& subCode) {
    return QDir(QString::fromStdString(folder))
        .filePath(QString::fromStdString(ImageFile::namePrefix(subCode) + "journal.txt"))
        .toStdString();
}

bool write(const std::string& folder, const JournalEntry& entry) {
    std::string text = std::string(FirstLine) + "\nsub=" + entry.subCode + "\nwhat=" + entry.what +
                       "\nstarted=" + entry.startedAt.toString(Qt::ISODateWithMs).toStdString() +
                       "\nbackup=" + entry.backupFile + "\n";
    for (const auto& [address, before] : entry.bytes) {
        text += "byte=" + hex3(address) + " " + std::to_string(before) + "\n";
    }
    return platform::replaceFile(path(folder, entry.subCode), text);
}

std::optional<JournalEntry> read(const std::string& folder, const std::string& subCode) {
    QFile file(QString::fromStdString(path(folder, subCode)));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    JournalEntry entry;
    if (lines.isEmpty() || lines[0] != FirstLine) {
        return std::nullopt;
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (!readLine(lines[i], entry)) {
            return std::nullopt;
        }
    }
    if (entry.subCode != subCode || entry.what.empty() || !entry.startedAt.isValid()) {
        return std::nullopt;
    }
    return entry;
}

void remove(const std::string& folder, const std::string& subCode) {
    QFile::remove(QString::fromStdString(path(folder, subCode)));
}

} // namespace JournalFile
