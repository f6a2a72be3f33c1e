// SPDX-License-Identifier: GPL-3.0-or-later
// The product's own names: the title of the main window and of every message box, and the
// short name that names the settings file.
#pragma once

namespace product {

inline constexpr const char* Title = "VS-K5 ALN Rev.1.0";
inline constexpr const char* ShortName = "VSK5ALN";
inline constexpr const char* RadioName = "VX-K5";
// The line under the title, on the idle page and in the About box.
inline constexpr const char* Subtitle = "Adjust Utility for VX-K5";

} // namespace product
