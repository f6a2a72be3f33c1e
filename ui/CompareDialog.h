// SPDX-License-Identifier: GPL-3.0-or-later
// The radio beside an image: the adjustment dump's lines in rows, the image's value and the
// radio's, the rows that differ marked. Read-only; Esc or Close shuts it.
#pragma once

#include "model/ImageCompare.h"

#include <QDialog>

#include <string>
#include <vector>

class QTableWidget;

class CompareDialog : public QDialog {
    Q_OBJECT

  public:
    CompareDialog(QWidget* parent, const std::string& imageName,
                  const std::vector<CompareLine>& lines);

    QTableWidget& table() { return *rows; }

  private:
    QTableWidget* rows = nullptr;
};
