// SPDX-License-Identifier: GPL-3.0-or-later
// Text made safe for an XHTML page or an SVG picture inside it: "&", "<", ">" and '"' become
// entities, so that a name or a path can never break the markup.
//
//   html_text::escaped("T1 < 5 & \"x\"")   -> "T1 &lt; 5 &amp; &quot;x&quot;"
#pragma once

#include <string>

namespace html_text {

std::string escaped(const std::string& text);

} // namespace html_text
