// SPDX-License-Identifier: GPL-3.0-or-later
// The compare dialog.
#include "ui/CompareDialog.h"

#include "common/CommonRoutines.h"
#include "common/Product.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum Column { Label, Image, Radio, Mark, ColumnCount };

QTableWidgetItem* cell(const std::string& text, bool differs, Qt::Alignment align) {
    auto* item = new QTableWidgetItem(QString::fromStdString(text));
    item->setTextAlignment(align | Qt::AlignVCenter);
    if (differs) {
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
        item->setBackground(QColor(255, 236, 160));
    }
    return item;
}

} // namespace

CompareDialog::CompareDialog(QWidget* parent, const std::string& imageName,
                             const std::vector<CompareLine>& lines)
    : QDialog(parent) {
    setWindowTitle(QString("%1 - Compare with %2")
                       .arg(product::Title, QString::fromStdString(imageName)));
    const auto differing = std::count_if(lines.begin(), lines.end(),
                                         [](const CompareLine& l) { return l.differs; });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        differing == 0 ? QString("The radio holds every value of %1.")
                             .arg(QString::fromStdString(imageName))
                       : QString("%1 of %2 lines differ (marked).").arg(differing).arg(lines.size()),
        this));
    rows = new QTableWidget(static_cast<int>(lines.size()), ColumnCount, this);
    rows->setHorizontalHeaderLabels(
        {"Item", QString::fromStdString(imageName), "Radio now", ""});
    rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows->setSelectionBehavior(QAbstractItemView::SelectRows);
    rows->verticalHeader()->setVisible(false);
    rows->verticalHeader()->setDefaultSectionSize(rows->fontMetrics().height() + 6);
    for (int r = 0; r < static_cast<int>(lines.size()); ++r) {
        const CompareLine& line = lines[static_cast<std::size_t>(r)];
        rows->setItem(r, Label, cell(line.label, line.differs, Qt::AlignLeft));
        rows->setItem(r, Image, cell(trimBlanks(line.first), line.differs, Qt::AlignRight));
        rows->setItem(r, Radio, cell(trimBlanks(line.second), line.differs, Qt::AlignRight));
        rows->setItem(r, Mark, cell(line.differs ? "\u2260" : "", line.differs, Qt::AlignCenter));
    }
    rows->resizeColumnsToContents();
    rows->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(rows);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(480, 560);
}
