// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress.h"

void ProgressReader::feed(const QByteArray &bytes,
                          const std::function<void(const Block &)> &onBlock)
{
    pending += bytes;
    int start = 0;
    for (int nl; (nl = pending.indexOf('\n', start)) >= 0; start = nl + 1) {
        const QByteArray line = pending.mid(start, nl - start).trimmed();
        const int eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq);
        const QByteArray value = line.mid(eq + 1);
        if (key == "out_time_us") {
            bool ok = false;
            const qint64 us = value.toLongLong(&ok);
            if (ok)
                current.outTimeUs = us; // "N/A" before the first frame
        } else if (key == "frame") {
            bool ok = false;
            const qint64 n = value.toLongLong(&ok);
            if (ok)
                current.frame = n;
        } else if (key == "progress") {
            current.end = value == "end";
            onBlock(current);
            current.end = false;
        }
    }
    pending.remove(0, start);
}
