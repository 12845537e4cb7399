// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl convert, scan and send on FLAC, Ogg, M4A and Opus files against the real virtual
// player: the player receives "name.mp3", a damaged file is named and the batch goes on.
#include "CliFixture.h"
#include "ToneFiles.h"

#include "audio/MpegAnalysis.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

class ConvertCli : public CliFixture
{
protected:
    void SetUp() override
    {
        if (const QString tool = ToneFiles::missingTool(); !tool.isEmpty())
            GTEST_SKIP() << "missing tool: " << qPrintable(tool);
        startPlayer();
        binBefore =
            QDir(TestEnvironment::binDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    void TearDown() override
    {
        // No converted file, partial or whole, stays beside the program.
        if (!IsSkipped()) {
            EXPECT_EQ(QDir(TestEnvironment::binDir())
                          .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                      binBefore);
        }
    }

    // A tone file of the format, copied into src/ under the given name.
    QString tone(const QString& extension, const QString& name)
    {
        const ToneFiles::Made made = ToneFiles::make(work.path(), extension);
        EXPECT_FALSE(made.path.isEmpty());
        const QString to = src(name);
        EXPECT_TRUE(QFile::copy(made.path, to));
        return to;
    }
    QJsonObject tags(const QString& path)
    {
        const CliResult result = cli.zvdctl({"tags", path});
        EXPECT_EQ(result.status, 0) << qPrintable(result.err);
        return QJsonDocument::fromJson(result.out.toUtf8()).object();
    }

    QStringList binBefore;
};

TEST_F(ConvertCli, ConvertWritesTagsThatZvdctlReads)
{
    const QString flac = tone(QStringLiteral("flac"), QStringLiteral("x.flac"));
    const CliResult made = cli.zvdctl({"convert", "--quality", "V0", flac, out("x.mp3")});
    ASSERT_EQ(made.status, 0) << qPrintable(made.err);
    EXPECT_TRUE(made.out.isEmpty());
    const QJsonObject json = tags(out("x.mp3"));
    const QJsonObject v2 = json.value("id3v2").toObject();
    EXPECT_EQ(v2.value("version").toInt(), 3);
    EXPECT_EQ(v2.value("title").toString(), QLatin1String(ToneFiles::Title));
    EXPECT_EQ(v2.value("album").toString(), QLatin1String(ToneFiles::Album));
    EXPECT_EQ(v2.value("year").toString(), QString::number(ToneFiles::Year));
    EXPECT_EQ(v2.value("track").toString(), QString::number(ToneFiles::Track));
    EXPECT_EQ(v2.value("genre").toInt(), 8);
    const QJsonObject v1 = json.value("id3v1").toObject();
    EXPECT_TRUE(v1.value("present").toBool());
    EXPECT_EQ(v1.value("artist").toString().trimmed(), QLatin1String(ToneFiles::Artist));
    EXPECT_EQ(json.value("columns").toObject().value("genre").toString(), QLatin1String(ToneFiles::Genre));
    const CliResult mpeg = cli.zvdctl({"mpeg", out("x.mp3")});
    const QJsonObject info = QJsonDocument::fromJson(mpeg.out.toUtf8()).object();
    EXPECT_EQ(info.value("layer").toInt(), 3);
    EXPECT_EQ(info.value("version").toInt(), 1);
    EXPECT_TRUE(info.value("vbr").toBool());

    // Usage errors and a file that cannot be decoded, named.
    EXPECT_EQ(cli.zvdctl({"convert", "--quality", "V11", flac, out("y.mp3")}).status, 2);
    EXPECT_EQ(cli.zvdctl({"convert", flac}).status, 2);
    QFile bad(src("bad.flac"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(5000, 'x'));
    bad.close();
    const CliResult refused = cli.zvdctl({"convert", src("bad.flac"), out("bad.mp3")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(QLatin1String("bad.flac"))) << qPrintable(refused.err);
    EXPECT_FALSE(QFile::exists(out("bad.mp3")));
    EXPECT_EQ(QDir(work.filePath("out")).entryList(QDir::Files | QDir::Hidden), QStringList{"x.mp3"});
}

TEST_F(ConvertCli, ScanListsOtherFormatsWithTheirTags)
{
    tone(QStringLiteral("flac"), QStringLiteral("a.flac"));
    tone(QStringLiteral("opus"), QStringLiteral("b.opus"));
    const CliResult scanned = cli.zvdctl({"scan", work.filePath("src")});
    ASSERT_EQ(scanned.status, 0);
    const QStringList lines = scanned.lines();
    ASSERT_EQ(lines.size(), 2) << qPrintable(scanned.out);
    for (const QString& line : lines) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        ASSERT_EQ(fields.size(), 5);
        EXPECT_EQ(fields[2], QLatin1String(ToneFiles::Title));
        EXPECT_EQ(fields[3], QLatin1String(ToneFiles::Artist));
        EXPECT_EQ(fields[4], QLatin1String(ToneFiles::Genre));
    }
    // The other views do not list them as music.
    EXPECT_TRUE(cli.zvdctl({"scan", "--view", "record", work.filePath("src")}).out.isEmpty());
}

TEST_F(ConvertCli, SendStoresMp3AndADamagedFileIsNamedWhileTheBatchGoesOn)
{
    const QString flac = tone(QStringLiteral("flac"), QStringLiteral("first.flac"));
    QFile bad(src("broken.flac"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("fLaC" + QByteArray(8000, '\x33'));
    bad.close();
    const QString ogg = tone(QStringLiteral("ogg"), QStringLiteral("third.ogg"));
    const QString m4a = tone(QStringLiteral("m4a"), QStringLiteral("fourth.m4a"));

    const CliResult sent =
        cli.zvdctl({"send", "--view", "audio", "--quality", "CBR192", flac, src("broken.flac"), ogg, m4a});
    EXPECT_EQ(sent.status, 1);
    EXPECT_TRUE(sent.err.contains(QLatin1String("broken.flac"))) << qPrintable(sent.err);
    const auto sizes = listed();
    EXPECT_EQ(sizes.keys(), (QStringList{"first.mp3", "fourth.mp3", "third.mp3"}));

    // What the player holds is the MP3 at the quality asked, with its tags.
    const CliResult got = cli.zvdctl({"get", "--to", work.filePath("out"), "first.mp3", "third.mp3"});
    ASSERT_EQ(got.status, 0) << qPrintable(got.err);
    for (const char* name : {"first.mp3", "third.mp3"}) {
        SCOPED_TRACE(name);
        const MpegInfo info = AnalyseMpegFile(out(QString::fromLatin1(name)));
        EXPECT_EQ(info.layer, 3);
        EXPECT_EQ(info.bitRate, 192);
        EXPECT_EQ(QFileInfo(out(QString::fromLatin1(name))).size(), sizes.value(QString::fromLatin1(name)));
        EXPECT_EQ(tags(out(QString::fromLatin1(name))).value("id3v2").toObject().value("title").toString(),
                  QLatin1String(ToneFiles::Title));
    }
    // The sources are untouched.
    EXPECT_TRUE(QFile::exists(flac));
    EXPECT_EQ(QDir(work.filePath("src")).entryList(QDir::Files | QDir::Hidden).size(), 4);
}

// The player fails the second store while the third file is already converting: the batch
// ends there, and neither the converted MP3s nor their folders stay behind (TearDown checks).
TEST_F(ConvertCli, AFailedStoreEndsTheBatchAndLeavesNoConvertedFile)
{
    const QStringList files{tone(QStringLiteral("flac"), QStringLiteral("one.flac")),
                            tone(QStringLiteral("ogg"), QStringLiteral("two.ogg")),
                            tone(QStringLiteral("opus"), QStringLiteral("three.opus"))};
    ASSERT_EQ(cli.zvdsim({"fail", "Download", "2"}).status, 0);
    const CliResult sent = cli.zvdctl(QStringList{"send", "--view", "audio"} + files);
    EXPECT_EQ(sent.status, 1);
    EXPECT_TRUE(sent.err.contains(QLatin1String("two.mp3"))) << qPrintable(sent.err);
    EXPECT_EQ(listed().keys(), QStringList{"one.mp3"});
}

// The other-files view is the player's removable store: a FLAC file goes there as it is.
TEST_F(ConvertCli, TheOtherFilesViewStoresTheFileAsItIs)
{
    const QString flac = tone(QStringLiteral("flac"), QStringLiteral("keep.flac"));
    const CliResult sent = cli.zvdctl({"send", "--view", "hdd", flac});
    ASSERT_EQ(sent.status, 0) << qPrintable(sent.err);
    EXPECT_EQ(listed().keys(), QStringList{"keep.flac"});
    ASSERT_EQ(cli.zvdctl({"get", "--to", work.filePath("out"), "keep.flac"}).status, 0);
    QFile a(flac), b(out("keep.flac"));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());
}

TEST_F(ConvertCli, SameNameQuestionAsksAboutTheMp3Name)
{
    const QString flac = tone(QStringLiteral("flac"), QStringLiteral("song.flac"));
    ASSERT_EQ(cli.zvdctl({"send", "--view", "audio", "--quality", "CBR128", flac}).status, 0);
    const qint64 first = listed().value("song.mp3");
    ASSERT_GT(first, 0);
    // song.mp3 is on the player: the question comes, unanswered it stops everything.
    EXPECT_EQ(cli.zvdctl({"send", "--view", "audio", "--quality", "CBR320", flac}).status, 2);
    EXPECT_EQ(cli.zvdctl({"send", "--view", "audio", "--no", "--quality", "CBR320", flac}).status, 0);
    EXPECT_EQ(listed().value("song.mp3"), first);
    EXPECT_EQ(cli.zvdctl({"send", "--view", "audio", "--yes", "--quality", "CBR320", flac}).status, 0);
    EXPECT_GT(listed().value("song.mp3"), first * 2);
    EXPECT_EQ(listed().size(), 1);
    EXPECT_EQ(cli.zvdctl({"send", "--quality", "CBR999", flac}).status, 2);
}

TEST_F(ConvertCli, NotEnoughSpaceCountsTheConvertedSize)
{
    // A FLAC file of 4 s is far smaller than its MP3 at 320 kbit/s (160,000 bytes): the check
    // must count the MP3, not the source.
    const QString flac = tone(QStringLiteral("flac"), QStringLiteral("tone.flac"));
    ASSERT_LT(QFileInfo(flac).size(), 120000);
    ASSERT_EQ(cli.zvdsim({"reset", "--capacity", "150000"}).status, 0);
    ASSERT_EQ(cli.zvdsim({"attach"}).status, 0);
    const CliResult sent = cli.zvdctl({"send", "--view", "audio", "--quality", "CBR320", flac});
    EXPECT_NE(sent.status, 0);
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(cli.zvdctl({"send", "--view", "audio", "--quality", "V9", flac}).status, 0) << "V9 fits";
    EXPECT_EQ(listed().keys(), QStringList{"tone.mp3"});
}

} // namespace

// The converter is a module beside the program; a program whose module went missing (a partial
// copy, a broken installation) still lists and sends MP3 files and refuses conversions by name.
TEST_F(ConvertCli, AMissingConverterModuleRefusesConversionOnly)
{
    const QString flac = tone(QStringLiteral("flac"), QStringLiteral("x.flac"));
    const QString lonely = work.filePath(QStringLiteral("lonely"));
    ASSERT_TRUE(QDir().mkpath(lonely));
    ASSERT_TRUE(QFile::copy(TestEnvironment::binDir() + QStringLiteral("/zvdctl"), lonely + "/zvdctl"));
    const auto run = [&](const QString& args) {
        return cli.shell(QStringLiteral("exec '%1/zvdctl' %2").arg(lonely, args));
    };
    const CliResult converted = run(QStringLiteral("convert '%1' '%2'").arg(flac, out("x.mp3")));
    EXPECT_EQ(converted.status, 1);
    EXPECT_TRUE(converted.err.contains(QLatin1String("converter module"))) << qPrintable(converted.err);
    EXPECT_FALSE(QFile::exists(out("x.mp3")));

    const CliResult scanned = run(QStringLiteral("scan '%1'").arg(work.filePath(QStringLiteral("src"))));
    ASSERT_EQ(scanned.status, 0) << qPrintable(scanned.err);
    EXPECT_TRUE(scanned.out.startsWith(QLatin1String("x.flac\t"))) << qPrintable(scanned.out);

    const CliResult sent = run(QStringLiteral("send --yes '%1'").arg(flac));
    EXPECT_EQ(sent.status, 1);
    EXPECT_TRUE(sent.err.contains(QLatin1String("converter module"))) << qPrintable(sent.err);
    EXPECT_TRUE(listed().isEmpty());
}
