// SPDX-License-Identifier: GPL-3.0-or-later
// Sizes of the window are worked out in twips (1/1440 inch); the widgets take logical pixels.
// One converter, for the model's layout and the main window alike.
#pragma once

#include "common/CommonRoutines.h"

#include <QRect>
#include <QScreen>
#include <QWidget>

#include <algorithm>

class Twips {
  public:
    explicit Twips(const QWidget& widget)
        : dpi(widget.screen() != nullptr ? widget.screen()->logicalDotsPerInchY() : 96.0) {}
    int toPixels(int twips) const { return static_cast<int>(roundHalfEven(twips * dpi / 1440.0)); }
    int fromPixels(int pixels) const {
        return static_cast<int>(roundHalfEven(pixels * 1440.0 / dpi));
    }
    // A rectangle in twips; a negative width or height becomes 0.
    QRect toPixels(int left, int top, int width, int height) const {
        return {toPixels(left), toPixels(top), toPixels(std::max(width, 0)),
                toPixels(std::max(height, 0))};
    }

  private:
    double dpi;
};
