// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "ToneFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>

namespace ToneFiles
{
namespace
{

QString latin(const char* text)
{
    return QString::fromLatin1(text);
}

void appendBig(QByteArray& bytes, quint32 value)
{
    char field[4];
    qToBigEndian(value, field);
    bytes.append(field, 4);
}

// A FLAC picture block in base64, as Vorbis comments carry pictures (METADATA_BLOCK_PICTURE).
QByteArray vorbisPicture(const QByteArray& png)
{
    QByteArray block;
    appendBig(block, 3); // front cover
    appendBig(block, 9);
    block.append("image/png");
    appendBig(block, 0); // no description
    for (quint32 field : {16u, 16u, 24u, 0u})
        appendBig(block, field);
    appendBig(block, quint32(png.size()));
    block.append(png);
    return block.toBase64();
}

QString coverPath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("cover.png"));
}

} // namespace

int run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, args);
    if (!process.waitForStarted() || !process.waitForFinished(120000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString missingTool()
{
    for (const char* tool : {"ffmpeg", "flac", "oggenc", "opusenc"}) {
        if (QStandardPaths::findExecutable(latin(tool)).isEmpty())
            return latin(tool);
    }
    return QString();
}

QByteArray cover(const QString& folder)
{
    const QString path = coverPath(folder);
    if (!QFile::exists(path))
        run(QStringLiteral("ffmpeg"),
            {"-v", "error", "-y", "-f", "lavfi", "-i", "color=c=red:s=16x16", "-frames:v", "1", path});
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Made make(const QString& folder, const QString& extension, int rate, int channels)
{
    const QDir dir(folder);
    const QString wav = dir.filePath(QStringLiteral("plain-%1-%2.wav").arg(rate).arg(channels));
    if (!QFile::exists(wav))
        run(QStringLiteral("ffmpeg"),
            {"-v", "error", "-y", "-f", "lavfi", "-i",
             QStringLiteral("sine=frequency=440:sample_rate=%1:duration=%2").arg(rate).arg(Seconds), "-ac",
             QString::number(channels), wav});
    const QByteArray png = cover(folder);
    const QString out = dir.filePath(QStringLiteral("tone-%1-%2.%3").arg(rate).arg(channels).arg(extension));
    const QString year = QString::number(Year), track = QString::number(Track);
    Made made{out, true};
    int status = -1;
    if (extension == QLatin1String("flac")) {
        status = run(QStringLiteral("flac"),
                     {"-s", "-f", "--picture=" + coverPath(folder), "-T", "TITLE=" + latin(Title), "-T",
                      "ARTIST=" + latin(Artist), "-T", "ALBUM=" + latin(Album), "-T", "GENRE=" + latin(Genre),
                      "-T", "DATE=" + year, "-T", "TRACKNUMBER=" + track, "-o", out, wav});
    } else if (extension == QLatin1String("ogg")) {
        status = run(QStringLiteral("oggenc"),
                     {"-Q", "-t", latin(Title), "-a", latin(Artist), "-l", latin(Album), "-G", latin(Genre),
                      "-d", year, "-N", track, "-c",
                      QStringLiteral("METADATA_BLOCK_PICTURE=") + QString::fromLatin1(vorbisPicture(png)),
                      "-o", out, wav});
    } else if (extension == QLatin1String("opus")) {
        status = run(QStringLiteral("opusenc"),
                     {"--quiet", "--title", latin(Title), "--artist", latin(Artist), "--album", latin(Album),
                      "--genre", latin(Genre), "--date", year, "--tracknumber", track, "--picture",
                      coverPath(folder), wav, out});
    } else if (extension == QLatin1String("m4a")) {
        status = run(QStringLiteral("ffmpeg"), {"-v",
                                                "error",
                                                "-y",
                                                "-i",
                                                wav,
                                                "-i",
                                                coverPath(folder),
                                                "-map",
                                                "0:a",
                                                "-map",
                                                "1:v",
                                                "-c:a",
                                                "aac",
                                                "-c:v",
                                                "copy",
                                                "-disposition:v:0",
                                                "attached_pic",
                                                "-metadata",
                                                "title=" + latin(Title),
                                                "-metadata",
                                                "artist=" + latin(Artist),
                                                "-metadata",
                                                "album=" + latin(Album),
                                                "-metadata",
                                                "genre=" + latin(Genre),
                                                "-metadata",
                                                "date=" + year,
                                                "-metadata",
                                                "track=" + track,
                                                out});
    } else if (extension == QLatin1String("wav")) {
        made.hasCover = false;
        status =
            run(QStringLiteral("ffmpeg"),
                {"-v", "error", "-y", "-i", wav, "-metadata", "title=" + latin(Title), "-metadata",
                 "artist=" + latin(Artist), "-metadata", "album=" + latin(Album), "-metadata",
                 "genre=" + latin(Genre), "-metadata", "date=" + year, "-metadata", "track=" + track, out});
    }
    if (status != 0)
        made.path.clear();
    return made;
}

} // namespace ToneFiles
