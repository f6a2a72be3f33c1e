// SPDX-License-Identifier: GPL-3.0-or-later
// The curves of a printed report.
#include "ui/CurveTextObject.h"

#include "model/CurvePicture.h"
#include "model/ServiceReport.h"
#include "ui/PainterCanvas.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <utility>
#include <vector>

namespace {

constexpr int ObjectType = QTextFormat::UserObject + 1;
constexpr int KindProperty = QTextFormat::UserProperty + 1;
constexpr double WidthMm = 160; // within an A4 page's text width
constexpr double MmPerInch = 25.4;

// Where the marks stand: position and kind, in the order of the text.
std::vector<std::pair<int, int>> marks(const QTextDocument& document) {
    const QString prefix = PrintedCurvePrefix;
    std::vector<std::pair<int, int>> found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            const QString name = format.toImageFormat().name();
            if (format.isImageFormat() && name.startsWith(prefix)) {
                found.emplace_back(it.fragment().position(), name.mid(prefix.size()).toInt());
            }
        }
    }
    return found;
}

} // namespace

void CurveTextObject::install(QTextDocument& document) {
    document.documentLayout()->registerHandler(ObjectType, this);
    const std::vector<std::pair<int, int>> found = marks(document);
    // From the end, so that the positions before stay where they were.
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        QTextCursor cursor(&document);
        cursor.setPosition(it->first);
        cursor.setPosition(it->first + 1, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setObjectType(ObjectType);
        format.setProperty(KindProperty, it->second);
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
    }
}

QSizeF CurveTextObject::intrinsicSize(QTextDocument* document, int, const QTextFormat&) {
    const QPaintDevice* device = document->documentLayout()->paintDevice();
    const double dpi = device ? device->logicalDpiX() : 96;
    const double width = WidthMm / MmPerInch * dpi;
    return {width, width * curve_picture::Height / curve_picture::Width};
}

void CurveTextObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                                 const QTextFormat& format) {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / curve_picture::Width, rect.height() / curve_picture::Height);
    PainterCanvas canvas(*painter);
    curve_picture::draw(log, static_cast<CurveKind>(format.property(KindProperty).toInt()), canvas);
    painter->restore();
}
