// SPDX-License-Identifier: GPL-3.0-or-later
// The report files.
#include "ui/ReportFiles.h"

#include "model/CurveLog.h"
#include "model/JobMessages.h"
#include "platform/WriteAccess.h"
#include "ui/CurveTextObject.h"
#include "ui/UiLog.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

namespace report_files {
namespace {

bool writePdf(const QString& path, const Report& report) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(300);
        writer.setTitle("Service report");
        const CurveLog none;
        CurveTextObject curves(report.curves ? *report.curves : none);
        QTextDocument document;
        document.setHtml(QString::fromStdString(report.printed));
        curves.install(document);
        document.print(&writer);
    } // the writer finishes the file when it goes
    return file.commit();
}

} // namespace

std::string save(const std::string& chosenPath, const Report& report) {
    const QString chosen = QString::fromStdString(chosenPath);
    const QFileInfo info(chosen);
    const bool pdf = info.suffix().compare("pdf", Qt::CaseInsensitive) == 0;
    const QString htmlPath = pdf ? info.path() + "/" + info.completeBaseName() + ".html" : chosen;
    if (!platform::replaceFile(htmlPath.toStdString(), report.page)) {
        return job_messages::cannotWriteFile(htmlPath.toStdString());
    }
    if (pdf) {
        const bool written = writePdf(chosen, report);
        qCInfo(lcUi, "%s %s", written ? "wrote" : "cannot write", chosenPath.c_str());
        if (!written) {
            return job_messages::cannotWriteFile(chosenPath);
        }
    }
    return {};
}

} // namespace report_files
