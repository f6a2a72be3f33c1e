// SPDX-License-Identifier: GPL-3.0-or-later
// What every transport shares: cutting a stream into lines and reporting a failure once.
#include "instruments/Transport.h"

namespace instruments {
namespace {

// A signal generator's longest answer (an identity or an error text) is well under a hundred
// bytes; a stream that runs this long without a line end is not speaking SCPI, and what it
// sent is dropped rather than kept growing.
constexpr qsizetype kLongestLine = 4096;

} // namespace

void Transport::takeBytes(const QByteArray& bytes) {
    partial += bytes;
    for (qsizetype end = partial.indexOf('\n'); end >= 0; end = partial.indexOf('\n')) {
        QByteArray line = partial.left(end);
        partial.remove(0, end + 1);
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        emit lineReceived(line);
    }
    if (partial.size() > kLongestLine) {
        partial.clear();
    }
}

void Transport::fail(const QString& why) {
    if (failReported) {
        return;
    }
    failReported = true;
    close();
    emit failed(why);
}

} // namespace instruments
