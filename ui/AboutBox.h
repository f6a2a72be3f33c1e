// SPDX-License-Identifier: GPL-3.0-or-later
// Help → About: the program's name, its version, its licence and the Qt it runs on.
//
//   VS-K5 ALN Rev.1.0
//   Adjust Utility for VX-K5
//   Version 1.0
//   Licence: GPL-3.0-or-later
//   Qt 6.4.2
#pragma once

#include <string>

class QWidget;

std::string aboutText();

// The box over parent, shown modally through the dialog hook.
void showAbout(QWidget& parent);
