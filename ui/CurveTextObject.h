// SPDX-License-Identifier: GPL-3.0-or-later
// A curve of the report inside a printed text document: an object of the document's flow,
// one picture wide and high, that draws itself from the curve log with a painter, so the PDF
// holds vector graphics where a picture would be pixels. The report's printed form marks each
// place with an image named "curve:<kind>"; install() puts an object there.
//
//   CurveTextObject curves(log);
//   curves.install(document);          // after setHtml
#pragma once

#include <QObject>
#include <QTextObjectInterface>

class CurveLog;
class QTextDocument;

class CurveTextObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

  public:
    explicit CurveTextObject(const CurveLog& log) : log(log) {}

    // Registers the object with the document and replaces every mark of a curve by it.
    void install(QTextDocument& document);

    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;

  private:
    const CurveLog& log;
};
