// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl send, get, scan and title against the real virtual player, each in its own process,
// on MP3 files that lame made once (tests/audio/fixtures).
#include "CliFixture.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace
{

class TransferCli : public CliFixture
{
protected:
    void SetUp() override
    {
        startPlayer();
        binBefore = QDir(TestEnvironment::binDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    void TearDown() override
    {
        // Nothing of a transfer stays beside the program.
        EXPECT_EQ(QDir(TestEnvironment::binDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  binBefore);
    }

    // Copies a committed MP3 made once by lame (tests/audio/fixtures) into the source folder.
    void fixture(const QString& fixtureName, const QString& name) { copyFixture(fixtureName, src(name)); }

    QStringList binBefore;
};

TEST_F(TransferCli, SentMusicComesBackByteIdentical)
{
    fixture(QStringLiteral("lame-tagged.mp3"), QStringLiteral("song.mp3"));
    fixture(QStringLiteral("vbr.mp3"), QStringLiteral("Vbr.MP3"));
    write(src(QStringLiteral("notes.txt")), "plain text\n");

    const CliResult sent =
        cli.zvdctl({"send", "--lcd", "6", src("song.mp3"), src("Vbr.MP3"), src("notes.txt")});
    ASSERT_EQ(sent.status, 0) << qPrintable(sent.err);
    EXPECT_TRUE(sent.out.isEmpty());
    const auto sizes = listed();
    EXPECT_EQ(sizes.value("song.mp3"), QFileInfo(src("song.mp3")).size());
    EXPECT_EQ(sizes.value("Vbr.MP3"), QFileInfo(src("Vbr.MP3")).size());
    EXPECT_EQ(sizes.value("notes.txt"), 11);
    // The player stores music with the title block.
    const QString raw = cli.zvdsim({"ls"}).out;
    EXPECT_TRUE(raw.contains(QString::number(QFileInfo(src("song.mp3")).size() + 1546))) << qPrintable(raw);

    const CliResult got =
        cli.zvdctl({"get", "--to", work.filePath("out"), "song.mp3", "Vbr.MP3", "notes.txt"});
    ASSERT_EQ(got.status, 0) << qPrintable(got.err);
    for (const char* name : {"song.mp3", "Vbr.MP3", "notes.txt"})
        EXPECT_EQ(readAll(out(name)), readAll(src(name))) << name;
    EXPECT_EQ(QDir(work.filePath("out")).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

TEST_F(TransferCli, SameNameQuestionWithoutAnAnswerChangesNothing)
{
    write(src("a.txt"), "first");
    ASSERT_EQ(cli.zvdctl({"send", src("a.txt")}).status, 0);
    write(src("a.txt"), "second version");
    const CliResult asked = cli.zvdctl({"send", src("a.txt")});
    EXPECT_EQ(asked.status, 2);
    EXPECT_EQ(listed().value("a.txt"), 5);
    EXPECT_EQ(cli.zvdctl({"send", "--no", src("a.txt")}).status, 0);
    EXPECT_EQ(listed().value("a.txt"), 5);
    EXPECT_EQ(cli.zvdctl({"send", "--yes", src("a.txt")}).status, 0);
    EXPECT_EQ(listed().value("a.txt"), 14);
    EXPECT_EQ(listed().size(), 1);

    write(out("a.txt"), "mine");
    EXPECT_EQ(cli.zvdctl({"get", "--to", work.filePath("out"), "a.txt"}).status, 2);
    EXPECT_EQ(readAll(out("a.txt")), QByteArray("mine"));
    EXPECT_EQ(cli.zvdctl({"get", "--yes", "--to", work.filePath("out"), "a.txt"}).status, 0);
    EXPECT_EQ(readAll(out("a.txt")), QByteArray("second version"));
}

// The question for one file stops the whole batch: the files without a question stay unsent too.
TEST_F(TransferCli, UnansweredQuestionAmongSeveralFilesMovesNoneOfThem)
{
    write(src("a.txt"), "first");
    ASSERT_EQ(cli.zvdctl({"send", src("a.txt")}).status, 0);
    write(src("a.txt"), "second version");
    write(src("b.txt"), "new");
    write(src("c.txt"), "newer");
    const CliResult sent = cli.zvdctl({"send", src("b.txt"), src("a.txt"), src("c.txt")});
    EXPECT_EQ(sent.status, 2);
    EXPECT_TRUE(sent.err.contains("unanswered question")) << qPrintable(sent.err);
    EXPECT_FALSE(sent.err.contains("interrupted")) << qPrintable(sent.err);
    const auto sizes = listed();
    EXPECT_EQ(sizes.size(), 1);
    EXPECT_EQ(sizes.value("a.txt"), 5);

    ASSERT_EQ(cli.zvdctl({"send", src("b.txt")}).status, 0);
    write(out("b.txt"), "mine");
    const CliResult got = cli.zvdctl({"get", "--to", work.filePath("out"), "a.txt", "b.txt"});
    EXPECT_EQ(got.status, 2);
    EXPECT_FALSE(QFile::exists(out("a.txt")));
    EXPECT_EQ(readAll(out("b.txt")), QByteArray("mine"));
}

TEST_F(TransferCli, FailedSendNamesTheFileAndStops)
{
    for (const char* name : {"1.txt", "2.txt", "3.txt"})
        write(src(name), name);
    ASSERT_EQ(cli.zvdsim({"fail", "Download", "2"}).status, 0);
    const CliResult sent = cli.zvdctl({"send", src("1.txt"), src("2.txt"), src("3.txt")});
    EXPECT_EQ(sent.status, 1);
    EXPECT_TRUE(sent.err.contains("2.txt")) << qPrintable(sent.err);
    EXPECT_TRUE(sent.err.contains("2 of 3")) << qPrintable(sent.err);
    EXPECT_EQ(listed().keys(), QStringList({"1.txt"}));
}

TEST_F(TransferCli, FailedReceiveKeepsTheOldFileAndLeavesNoPart)
{
    for (const char* name : {"1.txt", "2.txt"})
        write(src(name), QByteArray("new ") + name);
    ASSERT_EQ(cli.zvdctl({"send", src("1.txt"), src("2.txt")}).status, 0);
    write(out("2.txt"), "old");
    ASSERT_EQ(cli.zvdsim({"fail", "Upload", "2"}).status, 0);
    const CliResult got = cli.zvdctl({"get", "--yes", "--to", work.filePath("out"), "1.txt", "2.txt"});
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(readAll(out("1.txt")), QByteArray("new 1.txt"));
    EXPECT_EQ(readAll(out("2.txt")), QByteArray("old"));
    EXPECT_EQ(QDir(work.filePath("out")).entryList(QDir::Files | QDir::Hidden),
              QStringList({"1.txt", "2.txt"}));
}

// Stored settings the window would skip are skipped by zvdctl too, never turned into a usage error.
TEST_F(TransferCli, MalformedStoredSettingsAreSkippedBySend)
{
    const QString ini = QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("ZVD/ZVD.ini"));
    {
        QSettings store(ini, QSettings::IniFormat);
        store.setValue(QStringLiteral("Display/LCD"), QStringLiteral("six"));
        store.setValue(QStringLiteral("FONT/SIZE"), QStringLiteral("0"));
    }
    fixture(QStringLiteral("lame-tagged.mp3"), QStringLiteral("song.mp3"));
    const CliResult sent = cli.zvdctl({"send", src("song.mp3")});
    QFile::remove(ini);
    ASSERT_EQ(sent.status, 0) << qPrintable(sent.err);
    EXPECT_EQ(listed().value("song.mp3"), QFileInfo(src("song.mp3")).size());
}

TEST_F(TransferCli, ScanListsAFolderAsTheLocalListDoes)
{
    fixture(QStringLiteral("lame-tagged.mp3"), QStringLiteral("b.mp3"));
    fixture(QStringLiteral("cbr.mp3"), QStringLiteral("A.MP3"));
    write(src("c.wma"), "not really wma");
    write(src("d.txt"), QByteArray(1234, 'd'));
    write(src("rec.zvd"), "voice");

    const CliResult audio = cli.zvdctl({"scan", work.filePath("src")});
    ASSERT_EQ(audio.status, 0);
    const QStringList lines = audio.lines();
    ASSERT_EQ(lines.size(), 3) << qPrintable(audio.out);
    EXPECT_TRUE(lines[0].startsWith("A.MP3\t"));
    EXPECT_EQ(lines[1].section('\t', 2), QStringLiteral("Title B\tArtist B\tRock"));
    EXPECT_EQ(lines[2], QStringLiteral("c.wma\t14\t\t\t"));
    // The size is grouped with the locale's separator.
    const QString hdd = cli.zvdctl({"scan", "--view", "hdd", work.filePath("src")}).out;
    EXPECT_TRUE(hdd.startsWith("d.txt\t1") && hdd.endsWith("234\t\t\t\n") && hdd.count('\n') == 1)
        << qPrintable(hdd);
    EXPECT_EQ(cli.zvdctl({"scan", "--view", "record", work.filePath("src")}).out,
              QStringLiteral("rec.zvd\t5\t\t\t\n"));
    EXPECT_EQ(cli.zvdctl({"scan", "--view", "bogus", work.filePath("src")}).status, 2);
}

TEST_F(TransferCli, ScanOfAMissingFolderIsAnError)
{
    const CliResult missing = cli.zvdctl({"scan", work.filePath("nowhere")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_TRUE(missing.err.contains("nowhere")) << qPrintable(missing.err);
}

TEST_F(TransferCli, TitleWritesOneBlock)
{
    const QString path = work.filePath("title.bin");
    ASSERT_EQ(cli.zvdctl({"title", "--value", "192", "--bold", "-o", path, "Hello"}).status, 0);
    const QByteArray block = readAll(path);
    ASSERT_EQ(block.size(), 1546);
    EXPECT_EQ(block.mid(1536, 4), QByteArray("VELQ"));
    EXPECT_GT(qFromLittleEndian<qint16>(block.constData() + 1540), 20);
    EXPECT_EQ(qFromLittleEndian<qint16>(block.constData() + 1542), 192);
    EXPECT_NE(block.left(1536), QByteArray(1536, '\0'));
    EXPECT_EQ(cli.zvdctl({"title", "Hello"}).status, 2); // no -o
}

TEST_F(TransferCli, NoPlayerAttachedIsStatus3)
{
    write(src("a.txt"), "a");
    ASSERT_EQ(cli.zvdsim({"detach"}).status, 0);
    EXPECT_EQ(cli.zvdctl({"send", src("a.txt")}).status, 3);
    EXPECT_EQ(cli.zvdctl({"get", "a.txt"}).status, 3);
}

} // namespace
