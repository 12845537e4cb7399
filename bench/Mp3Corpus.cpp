// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "Mp3Corpus.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

namespace Mp3Corpus
{
namespace
{

enum class Kind { None, V1, V23Latin1, V24Utf8, V23AndV1, V23Utf16, V23Picture, KindCount };

constexpr int AudioFrames = 24; // about 10 KB of 128 kbit/s frames
constexpr int PictureBytes = 40 * 1024;

QByteArray bigEndian(quint32 value, bool syncsafe)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char(syncsafe ? (value >> (21 - 7 * i) & 0x7F) : (value >> (24 - 8 * i) & 0xFF));
    return b;
}

QByteArray frame(const char* id, const QByteArray& data, bool v24)
{
    return QByteArray(id, 4) + bigEndian(quint32(data.size()), v24) + QByteArray(2, '\0') + data;
}

QByteArray utf16(const QString& text)
{
    QByteArray b("\xFF\xFE", 2);
    for (QChar c : text)
        b.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return b;
}

// An ID3v2 tag with 1024 bytes of padding, as common taggers leave it.
QByteArray id3v2(int version, const QByteArray& frames)
{
    const QByteArray body = frames + QByteArray(1024, '\0');
    return QByteArray("ID3") + char(version) + QByteArray(2, '\0') + bigEndian(quint32(body.size()), true) +
           body;
}

QByteArray id3v1(const QByteArray& title, const QByteArray& artist, quint8 genre)
{
    QByteArray t(128, '\0');
    t.replace(0, 3, "TAG");
    t.replace(3, title.size(), title);
    t.replace(33, artist.size(), artist);
    t[127] = char(genre);
    return t;
}

QByteArray audio()
{
    QByteArray frame(417, '\x55');
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);
    frame[2] = char(0x90);
    frame[3] = char(0x64);
    return frame.repeated(AudioFrames);
}

QByteArray fileFor(int n)
{
    const QByteArray title = "Title " + QByteArray::number(n);
    const QByteArray artist = "Artist " + QByteArray::number(n % 97);
    const auto kind = static_cast<Kind>(n % int(Kind::KindCount));
    const QByteArray latin1Frames = frame("TIT2", '\0' + title, false) + frame("TPE1", '\0' + artist, false) +
                                    frame("TALB", QByteArray("\0Album", 6), false) +
                                    frame("TCON", QByteArray("\0(17)", 5), false);
    switch (kind) {
    case Kind::None:
        return audio();
    case Kind::V1:
        return audio() + id3v1(title, artist, quint8(n % 148));
    case Kind::V23Latin1:
        return id3v2(3, latin1Frames) + audio();
    case Kind::V24Utf8:
        return id3v2(4, frame("TIT2", '\x03' + title + " \xC3\xA9", true) +
                            frame("TPE1", '\x03' + artist, true) +
                            frame("TCON", QByteArray("\x03Rock", 5), true)) +
               audio();
    case Kind::V23AndV1:
        return id3v2(3, latin1Frames) + audio() + id3v1(title, artist, 17);
    case Kind::V23Utf16:
        return id3v2(3, frame("TIT2", '\x01' + utf16(QString::fromLatin1(title) + QChar(0x263A)), false) +
                            frame("TPE1", '\x01' + utf16(QString::fromLatin1(artist)), false) +
                            frame("TCON", '\x01' + utf16(QStringLiteral("Jazz")), false)) +
               audio();
    case Kind::V23Picture:
    case Kind::KindCount:
        break;
    }
    const QByteArray picture = QByteArray("\0image/jpeg\0\x03\0", 14) + QByteArray(PictureBytes, '\xD8');
    return id3v2(3, frame("APIC", picture, false) + latin1Frames) + audio();
}

} // namespace

QStringList generate(const QString& dir, int count)
{
    QStringList paths;
    for (int n = 0; n < count; ++n) {
        const QString path = QDir(dir).filePath(QStringLiteral("song%1.mp3").arg(n, 5, 10, QLatin1Char('0')));
        QFile file(path);
        const QByteArray bytes = fileFor(n);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        paths << path;
    }
    return paths;
}

} // namespace Mp3Corpus
