// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Conversion of every format to MP3 on files the formats' own encoders made: the MP3 is MPEG-1
// Layer III of the right length with the chosen quality's Xing/Info frame, and carries the tags
// and the cover (read back by TagLib and by our own readers). Damaged input, cancels and pipes
// leave nothing behind.
#include "ToneFiles.h"

#include "audio/MpegAnalysis.h"
#include "audio/TagColumns.h"
#include "audio/cMP3ID3v1.h"
#include "audio/cMP3ID3v2.h"
#include "convert/ConversionQueue.h"
#include "convert/ConvertibleFormats.h"
#include "convert/Mp3Converter.h"
#include "convert/SourceTags.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>

namespace
{

struct XingFrame {
    QByteArray marker; // "Xing" (VBR) or "Info" (CBR)
    quint32 frames = 0;
    int delay = 0; // encoder delay and padding, from LAME's extension
    int padding = 0;
    int sampleRate = 0;
};

// The Xing/Info frame that starts the audio of an MP3 (after its ID3v2 tag).
XingFrame xingFrame(const QByteArray& mp3)
{
    XingFrame xing;
    qsizetype start = 0;
    if (mp3.startsWith("ID3")) {
        const auto b = [&](int i) { return quint32(quint8(mp3[i]) & 0x7F); };
        start = 10 + (b(6) << 21 | b(7) << 14 | b(8) << 7 | b(9));
    }
    while (start + 4 < mp3.size() && !(quint8(mp3[start]) == 0xFF && (quint8(mp3[start + 1]) & 0xE0) == 0xE0))
        ++start;
    static const int rates[] = {44100, 48000, 32000, 0};
    xing.sampleRate = rates[(quint8(mp3[start + 2]) >> 2) & 3];
    for (const char* marker : {"Xing", "Info"}) {
        const qsizetype at = mp3.indexOf(marker, start);
        if (at < 0 || at > start + 64)
            continue;
        xing.marker = marker;
        xing.frames = qFromBigEndian<quint32>(mp3.constData() + at + 8);
        // LAME's extension follows the 120-byte Xing part: delay and padding, 12 bits each.
        const qsizetype lame = at + 120;
        if (mp3.mid(lame, 4) == "LAME") {
            const quint32 both = quint32(quint8(mp3[lame + 21])) << 16 |
                                 quint32(quint8(mp3[lame + 22])) << 8 | quint8(mp3[lame + 23]);
            xing.delay = int(both >> 12);
            xing.padding = int(both & 0xFFF);
        }
    }
    return xing;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList ourTempFiles(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral(".zvd-*")}, QDir::AllEntries | QDir::Hidden | QDir::System);
}

class Convert : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        sources = new QTemporaryDir;
        if (const QString tool = ToneFiles::missingTool(); !tool.isEmpty())
            missing = tool;
    }
    static void TearDownTestSuite()
    {
        delete sources;
        sources = nullptr;
    }
    void SetUp() override
    {
        if (!missing.isEmpty())
            GTEST_SKIP() << "missing tool: " << qPrintable(missing);
        ASSERT_TRUE(work.isValid());
    }

    ToneFiles::Made source(const QString& extension, int rate = 44100, int channels = 2)
    {
        return ToneFiles::make(sources->path(), extension, rate, channels);
    }
    QString out(const QString& name) const { return work.filePath(name); }

    static inline QTemporaryDir* sources = nullptr;
    static inline QString missing;
    QTemporaryDir work;
};

TEST_F(Convert, EveryFormatBecomesTaggedMpeg1Layer3OfTheSameLength)
{
    for (const char* extension : {"flac", "ogg", "opus", "m4a", "wav"}) {
        SCOPED_TRACE(extension);
        const ToneFiles::Made made = source(QString::fromLatin1(extension));
        ASSERT_FALSE(made.path.isEmpty());
        const QString mp3 = out(QStringLiteral("%1.mp3").arg(QLatin1String(extension)));
        const ConversionResult result = Mp3Converter::convert(made.path, mp3, ConversionQuality());
        ASSERT_TRUE(result.ok) << qPrintable(result.error);
        EXPECT_EQ(result.size, QFileInfo(mp3).size());

        // Our analysis: MPEG-1 Layer III with a Xing header (V2 is VBR), sample rate kept.
        const MpegInfo info = AnalyseMpegFile(mp3);
        EXPECT_EQ(info.version, 1);
        EXPECT_EQ(info.layer, 3);
        EXPECT_TRUE(info.vbr);
        // Opus decodes at 48 kHz whatever it was made from; the others keep the tone's 44.1 kHz.
        EXPECT_EQ(info.sampleRate, QLatin1String(extension) == QLatin1String("opus") ? 48000 : 44100);
        // The Xing frame count less LAME's delay and padding is the source's length exactly.
        const XingFrame xing = xingFrame(readAll(mp3));
        EXPECT_EQ(xing.marker, "Xing");
        ASSERT_GT(xing.frames, 0u);
        const double seconds = (double(xing.frames) * 1152 - xing.delay - xing.padding) / xing.sampleRate;
        EXPECT_NEAR(seconds, ToneFiles::Seconds, 0.1);

        // TagLib reads the ID3v2.3 tag our writer wrote, cover included.
        TagLib::MPEG::File file(QFile::encodeName(mp3).constData());
        ASSERT_TRUE(file.isValid());
        TagLib::ID3v2::Tag* tag = file.ID3v2Tag();
        ASSERT_NE(tag, nullptr);
        EXPECT_EQ(tag->header()->majorVersion(), 3u);
        EXPECT_EQ(tag->title(), ToneFiles::Title);
        EXPECT_EQ(tag->artist(), ToneFiles::Artist);
        EXPECT_EQ(tag->album(), ToneFiles::Album);
        EXPECT_EQ(tag->genre(), ToneFiles::Genre);
        EXPECT_EQ(tag->year(), unsigned(ToneFiles::Year));
        EXPECT_EQ(tag->track(), unsigned(ToneFiles::Track));
        EXPECT_NEAR(file.audioProperties()->lengthInMilliseconds(), ToneFiles::Seconds * 1000, 100);
        const TagLib::ID3v2::FrameList pictures = tag->frameList("APIC");
        if (made.hasCover) {
            ASSERT_EQ(pictures.size(), 1u);
            const auto* picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(pictures.front());
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(picture->type(), TagLib::ID3v2::AttachedPictureFrame::FrontCover);
            EXPECT_EQ(picture->mimeType(), "image/png");
            const QByteArray png = ToneFiles::cover(sources->path());
            EXPECT_EQ(QByteArray(picture->picture().data(), picture->picture().size()), png);
        } else {
            EXPECT_TRUE(pictures.isEmpty());
        }

        // Our own readers: both tags and the list's columns.
        cMP3ID3v2 v2;
        v2.setMP3File(mp3);
        EXPECT_EQ(v2.Title(), QLatin1String(ToneFiles::Title));
        EXPECT_EQ(v2.Album(), QLatin1String(ToneFiles::Album));
        EXPECT_EQ(v2.Track(), QString::number(ToneFiles::Track));
        cMP3ID3v1 v1;
        v1.setMP3File(mp3);
        EXPECT_TRUE(v1.HasID3v1Tag());
        EXPECT_EQ(v1.Title().trimmed(), QLatin1String(ToneFiles::Title));
        EXPECT_EQ(v1.Genre(), 8);
        EXPECT_EQ(v1.Track(), ToneFiles::Track);
        EXPECT_EQ(readTagColumns(mp3),
                  (TagColumns{QLatin1String(ToneFiles::Title), QLatin1String(ToneFiles::Artist),
                              QLatin1String(ToneFiles::Genre)}));
    }
}

TEST_F(Convert, QualityRateAndChannelsAreThoseAsked)
{
    const ToneFiles::Made flac = source(QStringLiteral("flac"));
    // Constant rates write an Info frame and every frame at the rate asked.
    for (int kbps : {128, 320}) {
        const QString mp3 = out(QStringLiteral("cbr%1.mp3").arg(kbps));
        ASSERT_TRUE(Mp3Converter::convert(flac.path, mp3,
                                          *ConversionQuality::parse(QStringLiteral("CBR%1").arg(kbps)))
                        .ok);
        const MpegInfo info = AnalyseMpegFile(mp3);
        EXPECT_FALSE(info.vbr);
        EXPECT_EQ(info.bitRate, kbps);
        EXPECT_EQ(xingFrame(readAll(mp3)).marker, "Info");
    }
    // V0 spends more bits than V9; both stay MPEG-1 at the source's rate (LAME would drop V9 to 22 kHz).
    ASSERT_TRUE(
        Mp3Converter::convert(flac.path, out("v0.mp3"), *ConversionQuality::parse(QStringLiteral("V0"))).ok);
    ASSERT_TRUE(
        Mp3Converter::convert(flac.path, out("v9.mp3"), *ConversionQuality::parse(QStringLiteral("v9"))).ok);
    EXPECT_GT(QFileInfo(out("v0.mp3")).size(), QFileInfo(out("v9.mp3")).size());
    EXPECT_EQ(AnalyseMpegFile(out("v9.mp3")).version, 1);
    EXPECT_EQ(AnalyseMpegFile(out("v9.mp3")).sampleRate, 44100);

    // 48 kHz and mono are kept; 22.05 kHz becomes 44.1 kHz, which MPEG-1 can hold.
    const struct {
        int rate, channels, expectedRate;
        const char* mode;
    } cases[] = {{48000, 2, 48000, "joint stereo"},
                 {44100, 1, 44100, "single channel"},
                 {22050, 2, 44100, "joint stereo"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        const ToneFiles::Made made = source(QStringLiteral("flac"), c.rate, c.channels);
        const QString mp3 = out(QStringLiteral("r%1c%2.mp3").arg(c.rate).arg(c.channels));
        ASSERT_TRUE(Mp3Converter::convert(made.path, mp3, ConversionQuality()).ok);
        const MpegInfo info = AnalyseMpegFile(mp3);
        EXPECT_EQ(info.version, 1);
        EXPECT_EQ(info.sampleRate, c.expectedRate);
        EXPECT_EQ(info.channelMode, QLatin1String(c.mode));
        const XingFrame xing = xingFrame(readAll(mp3));
        EXPECT_NEAR((double(xing.frames) * 1152 - xing.delay - xing.padding) / xing.sampleRate,
                    ToneFiles::Seconds, 0.1);
    }
}

TEST_F(Convert, DamagedOrUnreadableInputIsRefusedAndLeavesNothing)
{
    const QByteArray flac = readAll(source(QStringLiteral("flac")).path);
    const QByteArray ogg = readAll(source(QStringLiteral("ogg")).path);
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(out(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return out(name);
    };
    const QString noise = write(QStringLiteral("noise.flac"), QByteArray(20000, '\x5a'));
    const QString cut = write(QStringLiteral("cut.flac"), flac.left(flac.size() / 3));
    // Garbage over the middle of the Ogg pages.
    QByteArray broken = ogg;
    for (qsizetype i = broken.size() / 3; i < broken.size() * 2 / 3; ++i)
        broken[i] = char(i * 7);
    const QString garbled = write(QStringLiteral("garbled.ogg"), broken);
    const QString empty = write(QStringLiteral("empty.m4a"), QByteArray());
    ASSERT_EQ(::mkfifo(QFile::encodeName(out(QStringLiteral("pipe.flac"))).constData(), 0600), 0);

    // The kind decides what the window says; a damaged file must not be blamed on the disk.
    const std::pair<QString, ConversionFailure> cases[] = {
        {noise, ConversionFailure::Unreadable},
        {cut, ConversionFailure::Unreadable},
        {garbled, ConversionFailure::Unreadable},
        {empty, ConversionFailure::Unreadable},
        {out(QStringLiteral("pipe.flac")), ConversionFailure::NotAFile},
        {out(QStringLiteral("absent.flac")), ConversionFailure::NotAFile},
    };
    for (const auto& [bad, kind] : cases) {
        SCOPED_TRACE(qPrintable(bad));
        const QString mp3 = out(QStringLiteral("result.mp3"));
        const ConversionResult result = Mp3Converter::convert(bad, mp3, ConversionQuality());
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.isEmpty());
        EXPECT_EQ(int(result.failure), int(kind));
        EXPECT_FALSE(QFile::exists(mp3));
        EXPECT_TRUE(ourTempFiles(work.path()).isEmpty()) << qPrintable(ourTempFiles(work.path()).join(u' '));
    }
    // The MP3 must not replace its own source.
    const QString self = write(QStringLiteral("self.flac"), flac);
    const ConversionResult onItself = Mp3Converter::convert(self, self, ConversionQuality());
    EXPECT_FALSE(onItself.ok);
    EXPECT_EQ(int(onItself.failure), int(ConversionFailure::SameFile));
    EXPECT_EQ(readAll(self), flac);
    // A target folder that is not there: the failure is the disk's, not the file's.
    const ConversionResult unwritable = Mp3Converter::convert(
        source(QStringLiteral("flac")).path, out(QStringLiteral("gone/x.mp3")), ConversionQuality());
    EXPECT_FALSE(unwritable.ok);
    EXPECT_EQ(int(unwritable.failure), int(ConversionFailure::Write));
}

TEST_F(Convert, CancelStopsSoonAndLeavesNoPartialFile)
{
    const QString flac = source(QStringLiteral("flac")).path;
    const QString mp3 = out(QStringLiteral("x.mp3"));
    // An older file of the target's name stays as it was.
    {
        QFile old(mp3);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    int asked = 0;
    const ConversionResult result =
        Mp3Converter::convert(flac, mp3, ConversionQuality(), [&] { return ++asked > 5; });
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(asked, 6); // asked between packets, and stopped at the first yes
    EXPECT_EQ(readAll(mp3), "old");
    EXPECT_TRUE(ourTempFiles(work.path()).isEmpty());
}

TEST_F(Convert, QueueHandsResultsInOrderAndRemovesEverything)
{
    const QString flac = source(QStringLiteral("flac")).path;
    const QString bad = out(QStringLiteral("bad.ogg"));
    {
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("OggS but nothing more");
    }
    const QString ogg = source(QStringLiteral("ogg")).path;
    QStringList made;
    {
        ConversionQueue queue(
            {{flac, QStringLiteral("a.mp3")}, {bad, QStringLiteral("b.mp3")}, {ogg, QStringLiteral("c.mp3")}},
            ConversionQuality(), {}, 2);
        EXPECT_EQ(queue.workerCount(), 2);
        const ConversionQueue::Done a = queue.take(0);
        ASSERT_TRUE(a.result.ok) << qPrintable(a.result.error);
        EXPECT_EQ(QFileInfo(a.path).fileName(), QLatin1String("a.mp3"));
        EXPECT_EQ(AnalyseMpegFile(a.path).layer, 3);
        queue.release(0);
        EXPECT_FALSE(QFile::exists(a.path)); // released: gone
        EXPECT_FALSE(queue.take(1).result.ok);
        queue.release(1);
        const ConversionQueue::Done c = queue.take(2);
        ASSERT_TRUE(c.result.ok);
        made.append(c.path);
        // Not released: the queue's end removes it.
    }
    EXPECT_FALSE(QFile::exists(made.first()));

    // A queue ended while converting stops its workers at once.
    std::atomic<int> asked{0};
    {
        ConversionQueue queue(
            {{flac, QStringLiteral("a.mp3")}, {flac, QStringLiteral("b.mp3")}}, ConversionQuality(),
            [&] { return ++asked > 3; }, 2);
        EXPECT_TRUE(queue.take(0).result.cancelled);
    }
    EXPECT_LT(asked.load(), 20);
}

TEST(ConvertibleNames, FormatsAndPlayerNames)
{
    for (const char* name : {"a.flac", "B.FLAC", "c.m4a", "d.aac", "e.ogg", "f.oga", "g.Opus", "h.wav"})
        EXPECT_TRUE(needsConversion(QString::fromLatin1(name))) << name;
    for (const char* name : {"a.mp3", "b.wma", "c.zvd", "flac", "x.flac.txt", "dir.flac/x", ""})
        EXPECT_FALSE(needsConversion(QString::fromLatin1(name))) << name;
    EXPECT_EQ(playerNameFor(QStringLiteral("x.flac")), QLatin1String("x.mp3"));
    EXPECT_EQ(playerNameFor(QStringLiteral("My.Song.OPUS")), QLatin1String("My.Song.mp3"));
    EXPECT_EQ(playerNameFor(QStringLiteral("x.mp3")), QLatin1String("x.mp3"));
    EXPECT_EQ(playerNameFor(QStringLiteral("notes.txt")), QLatin1String("notes.txt"));
}

TEST(ConversionQualities, TextsParseAndRefuse)
{
    for (const QString& text : ConversionQuality::choices())
        EXPECT_EQ(ConversionQuality::parse(text)->text(), text);
    EXPECT_EQ(ConversionQuality::parse(QStringLiteral("cbr320"))->kbps, 320);
    EXPECT_EQ(ConversionQuality().text(), QLatin1String("V2"));
    for (const char* bad : {"", "V10", "V-1", "CBR100", "CBR", "320", "VBR2", "V2x"})
        EXPECT_FALSE(ConversionQuality::parse(QString::fromLatin1(bad))) << bad;
    EXPECT_GT(ConversionQuality::parse(QStringLiteral("V0"))->expectedKbps(),
              ConversionQuality::parse(QStringLiteral("V9"))->expectedKbps());
}

TEST_F(Convert, SourceTagsGiveTheListColumnsAndTheEstimate)
{
    for (const char* extension : {"flac", "ogg", "opus", "m4a", "wav"}) {
        SCOPED_TRACE(extension);
        const QString path = source(QString::fromLatin1(extension)).path;
        EXPECT_EQ(readSourceColumns(path),
                  (TagColumns{QLatin1String(ToneFiles::Title), QLatin1String(ToneFiles::Artist),
                              QLatin1String(ToneFiles::Genre)}));
        EXPECT_NEAR(Mp3Converter::duration(path), ToneFiles::Seconds, 0.1);
        // 4 s at CBR 320 is 160,000 bytes, plus room for the tags.
        const qint64 estimate =
            Mp3Converter::estimatedSize(path, *ConversionQuality::parse(QStringLiteral("CBR320")));
        EXPECT_GE(estimate, 160000 - 4000);
        EXPECT_LE(estimate, 160000 + 70000);
    }
    // A pipe named like a FLAC file gives empty columns at once instead of blocking the list.
    ASSERT_EQ(::mkfifo(QFile::encodeName(out(QStringLiteral("pipe.flac"))).constData(), 0600), 0);
    EXPECT_EQ(readSourceColumns(out(QStringLiteral("pipe.flac"))), TagColumns());
}

} // namespace
