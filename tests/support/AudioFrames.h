// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The audio frames of an MP3 file as tests see them, found without the program's own tag code:
// from the first MPEG Layer III frame header after an ID3v2 tag's header up to an ID3v1 tag.
#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QString>

namespace AudioFrames
{

inline QByteArray bytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    const QByteArray all = file.readAll();
    qsizetype end = all.size();
    if (end >= 128 && all.mid(end - 128, 3) == "TAG")
        end -= 128;
    for (qsizetype i = all.startsWith("ID3") ? 10 : 0; i + 2 < end; ++i) {
        const auto b1 = quint8(all[i + 1]);
        const auto b2 = quint8(all[i + 2]);
        // Sync, MPEG version 1 or 2, Layer III, a usable bit rate and sample rate.
        if (quint8(all[i]) == 0xFF && (b1 & 0xE6) == 0xE2 && (b1 & 0x18) != 0x08 && (b2 >> 4) != 0 &&
            (b2 >> 4) != 15 && ((b2 >> 2) & 3) != 3)
            return all.mid(i, end - i);
    }
    return QByteArray("<no audio frame>");
}

inline QByteArray hash(const QString& path)
{
    return QCryptographicHash::hash(bytes(path), QCryptographicHash::Sha256).toHex();
}

} // namespace AudioFrames
