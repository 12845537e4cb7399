// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl tags, mpeg and genre: the audio analysis as JSON for scripts and end-to-end tests.
#include "cli/CommandRegistry.h"

#include "audio/GenreName.h"
#include "audio/MpegAnalysis.h"
#include "audio/TagColumns.h"
#include "audio/TagError.h"
#include "audio/cMP3ID3v1.h"
#include "audio/cMP3ID3v2.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{

QJsonObject id3v2Json(const cMP3ID3v2& tag)
{
    QJsonArray frames;
    for (qint32 i = 1; i <= tag.FrameCount(); ++i) {
        const QString id = tag.Frame(i);
        QJsonArray texts;
        for (qint32 n = 1; n <= tag.TagsInFrame(id); ++n)
            texts.append(tag.TagText(id, n));
        frames.append(QJsonObject{{QStringLiteral("id"), id}, {QStringLiteral("texts"), texts}});
    }
    return QJsonObject{
        {QStringLiteral("present"), tag.HasID3v2Tag()},
        {QStringLiteral("version"), tag.ID3v2TagVersion()},
        {QStringLiteral("position"), tag.TagPosition()},
        {QStringLiteral("frames"), frames},
        {QStringLiteral("title"), tag.Title()},
        {QStringLiteral("artist"), tag.Artist()},
        {QStringLiteral("album"), tag.Album()},
        {QStringLiteral("year"), tag.Year()},
        {QStringLiteral("comment"), tag.Comment()},
        {QStringLiteral("track"), tag.Track()},
        {QStringLiteral("genre"), tag.Genre()},
        {QStringLiteral("otherGenreName"), tag.OtherGenreName()},
        {QStringLiteral("lyrics"), tag.Lyrics()},
        {QStringLiteral("encodedBy"), tag.EncodedBy()},
        {QStringLiteral("copyright"), tag.Copyright()},
        {QStringLiteral("originalArtist"), tag.OriginalArtist()},
        {QStringLiteral("composer"), tag.Composer()},
        {QStringLiteral("playCounter"), tag.PlayCounter()},
        {QStringLiteral("linkTo"), tag.LinkTo()},
        {QStringLiteral("audioURL"), tag.AudioURL()},
        {QStringLiteral("buyURL"), tag.BuyURL()},
        {QStringLiteral("artistURL"), tag.ArtistURL()},
    };
}

QJsonObject id3v1Json(const cMP3ID3v1& tag)
{
    return QJsonObject{
        {QStringLiteral("present"), tag.HasID3v1Tag()},
        {QStringLiteral("title"), tag.Title()},
        {QStringLiteral("artist"), tag.Artist()},
        {QStringLiteral("album"), tag.Album()},
        {QStringLiteral("year"), tag.Year()},
        {QStringLiteral("comment"), tag.Comment()},
        {QStringLiteral("track"), tag.Track()},
        {QStringLiteral("genre"), tag.Genre()},
        {QStringLiteral("genreName"), tag.GenreName(tag.Genre())},
    };
}

// The analysis keeps its yes/no fields as text and leaves them empty when it never got that far;
// scripts get booleans, and null for "not known".
QJsonValue flag(const QString& yesNo)
{
    if (yesNo.isEmpty())
        return QJsonValue(QJsonValue::Null);
    return QJsonValue(yesNo == QLatin1String("yes"));
}

QJsonObject mpegJson(const MpegInfo& info)
{
    return QJsonObject{
        {QStringLiteral("bitRate"), info.bitRate},
        {QStringLiteral("sampleRate"), info.sampleRate},
        {QStringLiteral("channelMode"), info.channelMode},
        {QStringLiteral("emphasis"), info.emphasis},
        {QStringLiteral("version"), info.version},
        {QStringLiteral("layer"), info.layer},
        {QStringLiteral("padding"), flag(info.padding)},
        {QStringLiteral("crc"), flag(info.crcProtection)},
        {QStringLiteral("duration"), info.duration},
        {QStringLiteral("copyright"), flag(info.copyright)},
        {QStringLiteral("original"), flag(info.original)},
        {QStringLiteral("private"), flag(info.privateBit)},
        {QStringLiteral("vbr"), info.vbr},
        {QStringLiteral("frameCount"), static_cast<qint64>(info.frameCount)},
    };
}

bool singleFileArgument(CommandContext& context, const char* usage, QString& path)
{
    ParsedArgs parsed;
    if (!parseArgs(context.args, {}, {}, parsed, context.err))
        return false;
    if (parsed.positional.size() != 1) {
        context.err << "usage: zvdctl " << usage << '\n';
        return false;
    }
    path = parsed.positional.first();
    return true;
}

// Every text cut to what the list shows of it: a tag's damaged megabytes stay out of the output.
QJsonValue shownTexts(const QJsonValue& value)
{
    if (value.isString())
        return shownText(value.toString());
    if (value.isArray()) {
        QJsonArray array;
        for (const QJsonValue& item : value.toArray())
            array.append(shownTexts(item));
        return array;
    }
    if (value.isObject()) {
        QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            it.value() = shownTexts(it.value());
        return object;
    }
    return value;
}

void printJson(CommandContext& context, const QJsonObject& object)
{
    context.out << QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
}

int runTags(CommandContext& context)
{
    QString path;
    if (!singleFileArgument(context, "tags FILE", path))
        return ExitUsage;
    try {
        cMP3ID3v2 v2;
        v2.setMP3File(path);
        cMP3ID3v1 v1;
        v1.setMP3File(path);
        const TagColumns columns = readTagColumns(path);
        printJson(context, shownTexts(QJsonObject{
                                          {QStringLiteral("id3v2"), id3v2Json(v2)},
                                          {QStringLiteral("id3v1"), id3v1Json(v1)},
                                          {QStringLiteral("columns"),
                                           QJsonObject{{QStringLiteral("title"), columns.title},
                                                       {QStringLiteral("artist"), columns.artist},
                                                       {QStringLiteral("genre"), columns.genre}}},
                                      })
                               .toObject());
    } catch (const TagError& error) {
        context.err << "zvdctl: " << error.source() << ": " << error.description() << '\n';
        return ExitFailed;
    }
    return ExitDone;
}

int runMpeg(CommandContext& context)
{
    QString path;
    if (!singleFileArgument(context, "mpeg FILE", path))
        return ExitUsage;
    try {
        printJson(context, mpegJson(AnalyseMpegFile(path)));
    } catch (const TagError& error) {
        context.err << "zvdctl: " << error.description() << '\n';
        return ExitFailed;
    }
    return ExitDone;
}

int runGenre(CommandContext& context)
{
    QString text;
    if (!singleFileArgument(context, "genre N", text))
        return ExitUsage;
    bool ok = false;
    const uint number = text.toUInt(&ok);
    if (!ok || number > 255) {
        context.err << "zvdctl: a genre number is 0 to 255, not " << text << '\n';
        return ExitUsage;
    }
    context.out << GenreName(static_cast<quint8>(number)) << '\n';
    return ExitDone;
}

CommandRegistrar tagsCommand{
    "tags", "tags FILE                 the ID3v2 and ID3v1 tags of an MP3 file, as JSON", &runTags};
CommandRegistrar mpegCommand{
    "mpeg", "mpeg FILE                 the MPEG header analysis of an MP3 file, as JSON", &runMpeg};
CommandRegistrar genreCommand{"genre", "genre N                   the name of genre number N", &runGenre};

} // namespace
