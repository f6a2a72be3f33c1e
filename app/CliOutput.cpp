// SPDX-License-Identifier: GPL-3.0-or-later
// Progress and results of the command line.
#include "app/CliOutput.h"

#include <QJsonDocument>

namespace {

constexpr int BarWidth = 20;

std::string bar(const Progress& now) {
    std::string text = now.what;
    text.resize(std::max<std::size_t>(text.size(), 26), ' ');
    if (now.total > 0) {
        const int filled = std::clamp(now.done * BarWidth / now.total, 0, BarWidth);
        text += " [" + std::string(static_cast<std::size_t>(filled), '#') +
                std::string(static_cast<std::size_t>(BarWidth - filled), ' ') + "] " +
                std::to_string(now.done) + "/" + std::to_string(now.total);
    }
    return text;
}

} // namespace

std::string CliOutput::terminalLines(const std::string& text) {
    std::string lines;
    for (const char c : text) {
        if (c != '\r') {
            lines += c;
        }
    }
    if (!lines.empty() && lines.back() == '\n') {
        lines.pop_back();
    }
    return lines;
}

void CliOutput::progress(const std::optional<Progress>& now) {
    if (!now) {
        endProgress();
        shownWhat.clear();
        return;
    }
    if (terminal) {
        if (const std::string drawn = bar(*now); drawn != shownBar || !barDrawn) {
            // \x1b[K clears what a longer line before left behind.
            err << '\r' << drawn << "\x1b[K" << std::flush;
            shownBar = drawn;
            barDrawn = true;
        }
    } else if (now->what != shownWhat) {
        err << now->what << '\n' << std::flush;
    }
    shownWhat = now->what;
}

void CliOutput::endProgress() {
    if (barDrawn) {
        err << '\n' << std::flush;
        barDrawn = false;
    }
}

void CliOutput::result(const QJsonObject& fields, const std::string& text) {
    endProgress();
    if (json) {
        out << QJsonDocument(fields).toJson(QJsonDocument::Compact).toStdString() << '\n';
    } else {
        out << text << '\n';
    }
    out << std::flush;
}
