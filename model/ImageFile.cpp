// SPDX-License-Identifier: GPL-3.0-or-later
// Memory image files.
#include "model/ImageFile.h"

#include "common/Product.h"
#include "model/JobMessages.h"
#include "model/ModelLog.h"
#include "platform/WriteAccess.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

ImageFile::ReadResult ImageFile::read(const std::string& path) {
    const QString name = QString::fromStdString(path);
    QFile file(name);
    ReadResult result;
    // The size decides before anything is read: a wrong file may be any size at all.
    if (!QFileInfo(name).isFile() || !file.open(QIODevice::ReadOnly)) {
        result.error = job_messages::cannotReadImage(path);
    } else if (file.size() != Size) {
        result.error = job_messages::notAnImage(path, file.size());
    } else if (const QByteArray data = file.read(Size); data.size() != Size) {
        result.error = job_messages::cannotReadImage(path);
    } else {
        result.bytes = Bytes(data.begin(), data.end());
    }
    qCInfo(lcModel, "read image %s: %s", path.c_str(),
           result.error.empty() ? "taken" : result.error.c_str());
    return result;
}

bool ImageFile::write(const std::string& path, const Bytes& image) {
    return platform::replaceFile(
        path, std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
}

std::string ImageFile::backupName(const std::string& subCode, const QDateTime& at) {
    return namePrefix(subCode) + at.toString("yyyyMMdd-HHmmss").toStdString() + ".img";
}

std::string ImageFile::freePath(const std::string& folder, const std::string& name) {
    const QDir dir(QString::fromStdString(folder));
    const QFileInfo info(QString::fromStdString(name));
    const QString suffix = info.suffix().isEmpty() ? QString() : "." + info.suffix();
    QString candidate = QString::fromStdString(name);
    for (int n = 2; dir.exists(candidate); ++n) {
        candidate = info.completeBaseName() + QString("-%1").arg(n) + suffix;
    }
    return dir.filePath(candidate).toStdString();
}

std::string ImageFile::namePrefix(const std::string& subCode) {
    return std::string(product::RadioName) + "_" + subCode + "_";
}

bool ImageFile::namesRadio(const std::string& path, const std::string& subCode) {
    const std::string name = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
    return name.rfind(namePrefix(subCode), 0) == 0;
}
