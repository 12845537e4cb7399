// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl sync of folders holding FLAC and Ogg files besides MP3s: made in the test from a
// generated tone by the formats' own encoders, converted on the way, checked on the player.
#include "SyncCli.h"
#include "tests/convert/ToneFiles.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <csignal>

namespace
{

struct Tone {
    QString albumArtist;
    QString album;
    int track = 0;
    QString title;
};

} // namespace

class SyncConvert : public SyncEndToEnd
{
protected:
    void SetUp() override
    {
        SyncEndToEnd::SetUp();
        for (const char* tool : {"ffmpeg", "flac", "oggenc"})
            ASSERT_FALSE(QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                << tool << " is needed (scripts/deps.sh installs it)";
    }

    // A sine tone of this many seconds as WAV, made once per length.
    QString wav(int seconds)
    {
        const QString path = home.filePath(QStringLiteral("tone-%1.wav").arg(seconds));
        if (!QFile::exists(path)) {
            EXPECT_EQ(ToneFiles::run(
                          QStringLiteral("ffmpeg"),
                          {"-v", "error", "-y", "-f", "lavfi", "-i",
                           QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds),
                           "-ac", "2", path}),
                      0);
        }
        return path;
    }

    // A tagged FLAC or Ogg Vorbis file in the music folder.
    QString tone(const QString& relativePath, const Tone& tags, int seconds = 2)
    {
        const QString out = music + QLatin1Char('/') + relativePath;
        QDir().mkpath(QFileInfo(out).path());
        const QString track = QString::number(tags.track);
        int status = -1;
        if (relativePath.endsWith(QLatin1String(".flac")))
            status =
                ToneFiles::run(QStringLiteral("flac"),
                               {"-s", "-f", "-T", "ALBUMARTIST=" + tags.albumArtist, "-T", "ARTIST=Someone",
                                "-T", "ALBUM=" + tags.album, "-T", "TRACKNUMBER=" + track, "-T",
                                "TITLE=" + tags.title, "-o", out, wav(seconds)});
        else
            status = ToneFiles::run(QStringLiteral("oggenc"),
                                    {"-Q", "-c", "ALBUMARTIST=" + tags.albumArtist, "-a", "Someone", "-l",
                                     tags.album, "-N", track, "-t", tags.title, "-o", out, wav(seconds)});
        EXPECT_EQ(status, 0) << relativePath.toStdString();
        return out;
    }

    // A folder of one album in two formats and an MP3 of another album, whose file names and
    // folders run against the album order.
    void mixedFolder()
    {
        tone(QStringLiteral("Zebra/b two.flac"),
             {QStringLiteral("Band"), QStringLiteral("Alpha"), 2, QStringLiteral("Two")});
        tone(QStringLiteral("Zebra/c one.ogg"),
             {QStringLiteral("Band"), QStringLiteral("Alpha"), 1, QStringLiteral("One")});
        song(QStringLiteral("Apple/a.mp3"),
             {QStringLiteral("Band"), QString(), QStringLiteral("Beta"), QString(), QStringLiteral("1"), {}});
    }

    // The tags of an entry as they came back from the player.
    QJsonObject tagsOnPlayer(const QString& name)
    {
        const QString back = home.filePath(QStringLiteral("back"));
        QDir().mkpath(back);
        EXPECT_EQ(zvdctl({QStringLiteral("get"), QStringLiteral("--view"), QStringLiteral("audio"),
                          QStringLiteral("--yes"), QStringLiteral("--to"), back, name})
                      .status,
                  0);
        const Ran tags = zvdctl({QStringLiteral("tags"), back + QLatin1Char('/') + name});
        return QJsonDocument::fromJson(tags.out.toUtf8()).object();
    }

    QString recordText() const
    {
        QString all;
        const QDir dir(home.filePath(QStringLiteral("data/ZVD/sync")));
        for (const QString& name : dir.entryList(QDir::Files)) {
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                all += QString::fromUtf8(file.readAll());
        }
        return all;
    }
};

TEST_F(SyncConvert, MixedFolderArrivesAsMp3sWithTagsInAlbumOrderAndTheSecondSyncSendsNothing)
{
    mixedFolder();
    const Ran first = sync();
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    EXPECT_EQ(planOf(first, QStringLiteral("Zebra/b two.flac")),
              QStringLiteral("send\tnew; converted to MP3 at V2"));
    // The send lines show what goes to the player, so they add up to the summary's total: for a
    // converted file that is its MP3's expected size, not the source's.
    qint64 listed = 0;
    for (const QString& line : first.lines()) {
        const QStringList columns = line.split(QLatin1Char('\t'));
        if (columns.size() == 4 && columns[0] == QLatin1String("send"))
            listed += columns[3].toLongLong();
    }
    const QRegularExpressionMatch total =
        QRegularExpression(QStringLiteral("3 to send \\(([^ ]+) bytes\\)")).match(first.err);
    ASSERT_TRUE(total.hasMatch()) << first.err.toStdString();
    EXPECT_EQ(listed, total.captured(1).remove(QRegularExpression(QStringLiteral("\\D"))).toLongLong());
    EXPECT_EQ(names(), (QStringList{QStringLiteral("c one.mp3"), QStringLiteral("b two.mp3"),
                                    QStringLiteral("a.mp3")}));
    const QString tags = QString::fromUtf8(QJsonDocument(tagsOnPlayer(QStringLiteral("b two.mp3"))).toJson());
    EXPECT_TRUE(tags.contains(QStringLiteral("\"Two\""))) << tags.toStdString();
    EXPECT_TRUE(tags.contains(QStringLiteral("\"Alpha\""))) << tags.toStdString();
    // The record keeps what the MP3 took on the player and the quality it was made at.
    EXPECT_TRUE(recordText().contains(QStringLiteral("\"quality\":\"V2\"")));

    const QStringList before = player();
    const Ran second = sync({QStringLiteral("--mirror")});
    ASSERT_EQ(second.status, 0) << second.err.toStdString();
    EXPECT_EQ(planOf(second, QStringLiteral("Zebra/c one.ogg")), QStringLiteral("keep\tunchanged"));
    EXPECT_TRUE(second.err.contains(QStringLiteral("0 sent, 0 deleted, 0 moves")))
        << second.err.toStdString();
    EXPECT_EQ(player(), before);
}

TEST_F(SyncConvert, AnotherQualityResendsOnlyTheConvertedFilesAndAnMp3OfTheSameNameWins)
{
    mixedFolder();
    // a.flac lands as a.mp3, which the folder holds already: the MP3 goes, the FLAC is skipped.
    tone(QStringLiteral("Apple/a.flac"),
         {QStringLiteral("Band"), QStringLiteral("Beta"), 9, QStringLiteral("X")});
    ASSERT_EQ(sync().status, 0);
    const QStringList first = player();

    const Ran again = sync({QStringLiteral("--quality"), QStringLiteral("CBR320")});
    ASSERT_EQ(again.status, 0) << again.err.toStdString();
    EXPECT_EQ(planOf(again, QStringLiteral("Zebra/b two.flac")),
              QStringLiteral("send\tconverted at V2 before; sent again at CBR320"));
    EXPECT_EQ(planOf(again, QStringLiteral("Apple/a.mp3")), QStringLiteral("keep\tunchanged"));
    EXPECT_EQ(planOf(again, QStringLiteral("Apple/a.flac")),
              QStringLiteral("skip\tits MP3 would have the name of Apple/a.mp3, which is sent instead"));
    EXPECT_TRUE(again.err.contains(QStringLiteral("2 sent, 0 deleted"))) << again.err.toStdString();
    // Same entries in the same order; the converted ones larger at 320 kbit/s, the MP3 untouched.
    EXPECT_EQ(names(), (QStringList{QStringLiteral("c one.mp3"), QStringLiteral("b two.mp3"),
                                    QStringLiteral("a.mp3")}));
    const QStringList now = player();
    EXPECT_NE(now[0], first[0]);
    EXPECT_EQ(now[2], first[2]);
    EXPECT_EQ(
        planOf(sync({QStringLiteral("--quality"), QStringLiteral("cbr320"), QStringLiteral("--dry-run")}),
               QStringLiteral("Zebra/c one.ogg")),
        QStringLiteral("keep\tunchanged"));
    EXPECT_EQ(sync({QStringLiteral("--quality"), QStringLiteral("V10")}).status, 2);
}

TEST_F(SyncConvert, PlayerTooSmallForTheMp3RefusesBeforeAnythingChanges)
{
    // 8 units of 16 KiB. The FLAC of a pure tone is small enough, its MP3 at 320 kbit/s is not.
    ASSERT_EQ(
        zvdsim({QStringLiteral("reset"), QStringLiteral("--capacity"), QStringLiteral("131072")}).status, 0);
    ASSERT_EQ(zvdsim({QStringLiteral("attach")}).status, 0);
    const QString flac =
        tone(QStringLiteral("long.flac"), {QStringLiteral("Band"), QStringLiteral("Alpha"), 1, {}}, 4);
    ASSERT_LT(QFileInfo(flac).size(), 100 * 1024);

    const Ran refused = sync({QStringLiteral("--quality"), QStringLiteral("CBR320"), QStringLiteral("--no")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("not everything fits: 0 of 1 files")))
        << refused.err.toStdString();
    EXPECT_TRUE(names().isEmpty());
    EXPECT_TRUE(recordText().isEmpty());

    // At the lowest quality it fits.
    const Ran low = sync({QStringLiteral("--quality"), QStringLiteral("V9")});
    EXPECT_EQ(low.status, 0) << low.err.toStdString();
    EXPECT_EQ(names(), QStringList{QStringLiteral("long.mp3")});
}

TEST_F(SyncConvert, DamagedFlacIsNamedTheRestArriveAndTheRecordListsOnlyThose)
{
    mixedFolder();
    SyncFixtures::put(music, QStringLiteral("Zebra/bad.flac"), QByteArray("fLaC") + QByteArray(5000, '\x55'));
    const Ran failed = sync();
    EXPECT_EQ(failed.status, 1);
    EXPECT_TRUE(failed.err.contains(QStringLiteral("bad.flac"))) << failed.err.toStdString();
    EXPECT_TRUE(failed.err.contains(QStringLiteral("not sent: bad.mp3"))) << failed.err.toStdString();
    QStringList arrived = names();
    arrived.sort();
    EXPECT_EQ(arrived, (QStringList{QStringLiteral("a.mp3"), QStringLiteral("b two.mp3"),
                                    QStringLiteral("c one.mp3")}));
    EXPECT_FALSE(recordText().contains(QStringLiteral("bad.mp3")));

    // The next sync tries the damaged file again and keeps the others.
    const Ran again = sync({QStringLiteral("--dry-run")});
    EXPECT_EQ(planOf(again, QStringLiteral("Zebra/bad.flac")),
              QStringLiteral("send\tnew; converted to MP3 at V2"));
    EXPECT_EQ(planOf(again, QStringLiteral("Zebra/b two.flac")), QStringLiteral("keep\tunchanged"));
}

TEST_F(SyncConvert, InterruptDuringAConversionLeavesNoPartialEntry)
{
    tone(QStringLiteral("1 short.flac"), {QStringLiteral("Band"), QStringLiteral("Alpha"), 1, {}});
    tone(QStringLiteral("2 long.flac"), {QStringLiteral("Band"), QStringLiteral("Alpha"), 2, {}}, 900);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(TestEnvironment::binDir() + QStringLiteral("/zvdctl"), {QStringLiteral("sync"), music});
    ASSERT_TRUE(process.waitForStarted());
    // The long file takes far more than this to convert.
    QThread::msleep(1500);
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(10000)) << "a conversion must stop soon after Ctrl+C";
    EXPECT_EQ(process.exitCode(), 1);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("interrupted"))) << err.toStdString();
    EXPECT_FALSE(names().contains(QStringLiteral("2 long.mp3")));
    EXPECT_FALSE(recordText().contains(QStringLiteral("2 long")));
    EXPECT_TRUE(QDir(home.filePath(QStringLiteral("player/incoming")))
                    .entryList(QDir::Files | QDir::NoDotAndDotDot)
                    .isEmpty());
}
