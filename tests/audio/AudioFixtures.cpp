// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "AudioFixtures.h"

#include <QDir>
#include <QFile>

namespace AudioFixtures
{

QString writeFile(const QString& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = QDir(dir).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file");
    return path;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray frameHeader(int bitRateIndex, int sampleRateIndex, bool crc, int channelMode)
{
    QByteArray h(4, '\0');
    h[0] = char(0xFF);
    h[1] = char(crc ? 0xFA : 0xFB);
    h[2] = char(bitRateIndex << 4 | sampleRateIndex << 2);
    h[3] = char(channelMode << 6);
    return h;
}

QByteArray audioFrame(int xingFrames, int bitRateIndex)
{
    QByteArray f = frameHeader(bitRateIndex) + QByteArray(413, '\0');
    if (xingFrames >= 0) {
        f.replace(36, 4, "Xing");
        for (int i = 0; i < 4; ++i)
            f[44 + i] = char(quint32(xingFrames) >> (24 - 8 * i));
    }
    return f;
}

QByteArray id3v2(int version, quint32 sizeField, const QByteArray& body)
{
    QByteArray t("ID3");
    t.append(char(version)).append('\0').append('\0');
    for (int shift = 24; shift >= 0; shift -= 8)
        t.append(char(sizeField >> shift & 0xFF));
    return t + body;
}

quint32 syncsafe(quint32 size)
{
    return (size & 0x7F) | (size >> 7 & 0x7F) << 8 | (size >> 14 & 0x7F) << 16 | (size >> 21 & 0x7F) << 24;
}

QByteArray frame(const char* id, const QByteArray& data, bool syncsafeSize)
{
    const quint32 size = syncsafeSize ? syncsafe(quint32(data.size())) : quint32(data.size());
    QByteArray f(id, 4);
    for (int shift = 24; shift >= 0; shift -= 8)
        f.append(char(size >> shift & 0xFF));
    f.append(QByteArray(2, '\0'));
    return f + data;
}

QByteArray id3v2Flags(int version, int flags, quint32 sizeField, const QByteArray& body)
{
    QByteArray t = id3v2(version, sizeField, body);
    t[5] = char(flags);
    return t;
}

QByteArray unsynchronise(const QByteArray& bytes)
{
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        out.append(bytes[i]);
        const bool last = i + 1 == bytes.size();
        if (uchar(bytes[i]) == 0xFF && (last || bytes[i + 1] == '\0' || uchar(bytes[i + 1]) >= 0xE0))
            out.append('\0');
    }
    return out;
}

QByteArray frame22(const char* id, const QByteArray& data, qint64 size)
{
    const quint32 n = quint32(size < 0 ? data.size() : size);
    QByteArray f(id, 3);
    f.append(char(n >> 16 & 0xFF)).append(char(n >> 8 & 0xFF)).append(char(n & 0xFF));
    return f + data;
}

QByteArray frame24(const char* id, const QByteArray& data, int formatFlags)
{
    QByteArray f = frame(id, data, true);
    f[9] = char(formatFlags);
    return f;
}

QByteArray id3v1(const QByteArray& title, const QByteArray& artist, quint8 genre, quint8 track)
{
    QByteArray t(128, '\0');
    t.replace(0, 3, "TAG");
    t.replace(3, title.size(), title);
    t.replace(33, artist.size(), artist);
    t[126] = char(track);
    t[127] = char(genre);
    return t;
}

} // namespace AudioFixtures
