// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl on local files that users really have: named pipes where a file is expected, names
// copied from old Windows disks whose bytes are not UTF-8, names the player's code page cannot
// hold, and language files that are incomplete, malformed or huge. Every run has a time limit, so
// a command that waits for ever fails its test instead of stopping the suite.
#include "CliRunner.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr int TimedOut = 124; // timeout(1)'s status for a command it had to stop

// An MP3-like file: some frame bytes and an ID3v1 tag whose title is given.
QByteArray taggedSong(const QByteArray& title)
{
    QByteArray tag("TAG");
    tag += title.leftJustified(30, '\0', true);
    tag += QByteArray("Artist").leftJustified(30, '\0');
    tag += QByteArray(30 + 4 + 30, '\0');
    tag += char(17);
    return QByteArray(4000, '\x55') + tag;
}

class AwkwardFiles : public ::testing::Test
{
protected:
    AwkwardFiles() : cli(playerDir.path()) {}
    ~AwkwardFiles() override
    {
        removeByBytes(work);
        removeByBytes(playerDir);
    }
    // Qt cannot name files whose names are not UTF-8, so QTemporaryDir would leave them behind:
    // the folder goes by its bytes first.
    static void removeByBytes(const QTemporaryDir& folder)
    {
        std::error_code ignored;
        std::filesystem::remove_all(QFile::encodeName(folder.path()).toStdString(), ignored);
    }

    void SetUp() override
    {
        ASSERT_TRUE(playerDir.isValid() && work.isValid());
        ASSERT_EQ(cli.zvdsim({"reset"}).status, 0);
        ASSERT_EQ(cli.zvdsim({"attach"}).status, 0);
    }

    void TearDown() override { QFile::remove(settingsFile()); }

    static QString settingsFile() { return TestEnvironment::root() + QStringLiteral("/config/ZVD/ZVD.ini"); }

    // A file whose name is taken byte for byte (QFile would write the name as UTF-8).
    void writeRaw(const QByteArray& name, const QByteArray& bytes)
    {
        const QByteArray path = QFile::encodeName(work.path()) + '/' + name;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0) << path.constData();
        ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
        ::close(fd);
    }

    void makePipe(const QString& name)
    {
        ASSERT_EQ(::mkfifo(QFile::encodeName(work.filePath(name)).constData(), 0644), 0);
    }

    // zvdctl in the work folder under a time limit; arguments are shell words, so a test can pass
    // raw bytes with $(printf ...).
    CliResult zvdctl(const QString& arguments, const QString& environment = QString()) const
    {
        return cli.shell(QStringLiteral("cd '%1' && %2 timeout 20 \"$ZVDCTL\" %3")
                             .arg(work.path(), environment, arguments));
    }

    QTemporaryDir playerDir;
    QTemporaryDir work;
    CliRunner cli;
};

TEST_F(AwkwardFiles, PipesAreRefusedAtOnceWhereverANameIsGiven)
{
    makePipe(QStringLiteral("song.mp3"));
    makePipe(QStringLiteral("texts.lng"));
    makePipe(QStringLiteral("new.hex"));
    for (const char* command :
         {"tags song.mp3", "mpeg song.mp3", "send --view audio song.mp3", "send --view hdd song.mp3",
          "lang texts.lng UI Title", "firmware --yes new.hex"}) {
        const CliResult result = zvdctl(QLatin1String(command));
        EXPECT_NE(result.status, TimedOut) << command << " waited on the pipe";
        EXPECT_EQ(result.status, 1) << command << ": " << result.err.toStdString();
    }
    const CliResult tags = zvdctl(QStringLiteral("tags song.mp3"));
    EXPECT_TRUE(tags.err.contains(QLatin1String("song.mp3: is a named pipe"))) << tags.err.toStdString();
    const CliResult send = zvdctl(QStringLiteral("send --view audio song.mp3"));
    EXPECT_TRUE(send.err.contains(QLatin1String("named pipe"))) << send.err.toStdString();
    EXPECT_TRUE(cli.zvdctl({"ls"}).lines().isEmpty()) << "nothing reached the player";

    // A language file named on the command line, and one named by the settings, are refused with
    // the reason; the messages fall back to the shipped English texts.
    const CliResult lang = zvdctl(QStringLiteral("--lang texts.lng status"));
    ASSERT_NE(lang.status, TimedOut);
    EXPECT_EQ(lang.status, 0);
    EXPECT_TRUE(lang.err.contains(QLatin1String("named pipe"))) << lang.err.toStdString();
    ASSERT_EQ(lang.lines().size(), 2);
    EXPECT_TRUE(lang.lines()[1].startsWith(QLatin1String("Memory: "))) << lang.out.toStdString();

    QDir().mkpath(QFileInfo(settingsFile()).path());
    QFile settings(settingsFile());
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Display]\nLanguage=" + QFile::encodeName(work.filePath(QStringLiteral("texts.lng"))) +
                   "\n");
    settings.close();
    const CliResult stored = zvdctl(QStringLiteral("status"));
    EXPECT_NE(stored.status, TimedOut);
    EXPECT_EQ(stored.status, 0);
    EXPECT_TRUE(stored.err.contains(QLatin1String("named pipe"))) << stored.err.toStdString();
}

TEST_F(AwkwardFiles, NameInTheCodePageIsListedReadAndSent)
{
    // "caféÿ.mp3" as an old Windows disk holds it: bytes of code page 1252, not UTF-8.
    writeRaw("caf\xE9\xFF.mp3", taggedSong("Old Disk"));
    writeRaw("r\xE9sum\xE9.txt", "notes");
    writeRaw("plain.mp3", taggedSong("Plain"));
    const QString song = QStringLiteral(u"caf\u00e9\u00ff.mp3");

    const CliResult scan = zvdctl(QStringLiteral("scan ."));
    ASSERT_EQ(scan.status, 0) << scan.err.toStdString();
    // Version 1 texts keep their padding; the name, size and title lead each line.
    ASSERT_EQ(scan.lines().size(), 2) << scan.out.toStdString();
    EXPECT_TRUE(scan.lines()[0].startsWith(QStringLiteral(u"caf\u00e9\u00ff.mp3\t4,128\tOld Disk")));
    EXPECT_TRUE(scan.lines()[1].startsWith(QStringLiteral("plain.mp3\t4,128\tPlain")));
    EXPECT_TRUE(scan.err.isEmpty()) << scan.err.toStdString();

    const CliResult tags = zvdctl(QStringLiteral("tags \"$(printf 'caf\\351\\377.mp3')\""));
    ASSERT_EQ(tags.status, 0) << tags.err.toStdString();
    EXPECT_TRUE(tags.out.contains(QLatin1String("\"Old Disk"))) << tags.out.toStdString();
    EXPECT_EQ(zvdctl(QStringLiteral("mpeg \"$(printf 'caf\\351\\377.mp3')\"")).status, 0);

    const CliResult audio = zvdctl(QStringLiteral("send --view audio \"$(printf 'caf\\351\\377.mp3')\""));
    ASSERT_EQ(audio.status, 0) << audio.err.toStdString();
    const CliResult hdd = zvdctl(QStringLiteral("send --view hdd \"$(printf 'r\\351sum\\351.txt')\""));
    ASSERT_EQ(hdd.status, 0) << hdd.err.toStdString();
    // The player holds both under their own names, and the song gives back its bytes.
    EXPECT_EQ(cli.zvdctl({"ls"}).lines(), (QStringList{QStringLiteral("0\t4128\t") + song,
                                                       QStringLiteral(u"1\t5\tr\u00e9sum\u00e9.txt")}));
    QDir(work.path()).mkdir(QStringLiteral("back"));
    ASSERT_EQ(zvdctl(QStringLiteral("get --view audio --to back \"$(printf 'caf\\351\\377.mp3')\"")).status,
              0);
    QFile back(work.filePath(QStringLiteral("back/") + song));
    ASSERT_TRUE(back.open(QIODevice::ReadOnly));
    EXPECT_EQ(back.readAll(), taggedSong("Old Disk"));
}

TEST_F(AwkwardFiles, NamesTheCodePageCannotHoldAreRefusedWithTheirReason)
{
    QFile korean(work.filePath(QStringLiteral(u"\ud55c\uad6d.mp3")));
    ASSERT_TRUE(korean.open(QIODevice::WriteOnly));
    korean.write(taggedSong("Seoul"));
    korean.close();
    const CliResult send = zvdctl(QStringLiteral(u"send --view audio \ud55c\uad6d.mp3"));
    EXPECT_EQ(send.status, 1);
    EXPECT_TRUE(send.err.contains(QStringLiteral(u"\ud55c\uad6d.mp3: ")) &&
                send.err.contains(QLatin1String("CP1252")))
        << send.err.toStdString();
    EXPECT_TRUE(cli.zvdctl({"ls"}).lines().isEmpty());

    // Bytes that are neither UTF-8 nor text of the code page, and a code page name that reads
    // the same as a UTF-8 name beside it: neither is listed, and the scan says so by name.
    writeRaw("\xE9\xFF.mp3", taggedSong("Broken"));
    writeRaw("caf\xC3\xA9.mp3", taggedSong("New"));
    writeRaw("caf\xE9.mp3", taggedSong("Old"));
    const CliResult western = zvdctl(QStringLiteral("scan ."));
    ASSERT_EQ(western.status, 0);
    EXPECT_EQ(western.lines().size(), 3) << western.out.toStdString(); // caf\u00e9, \u00e9\u00ff, Korean
    EXPECT_TRUE(western.err.contains(QLatin1String("caf\\xe9.mp3: ")) &&
                western.err.contains(QLatin1String("another file")))
        << western.err.toStdString();

    const CliResult korea = zvdctl(QStringLiteral("scan ."), QStringLiteral("ZVD_CODEPAGE=cp949"));
    ASSERT_EQ(korea.status, 0);
    EXPECT_TRUE(korea.err.contains(
        QLatin1String("\\xe9\\xff.mp3: its name is neither UTF-8 nor text of code page CP949")))
        << korea.err.toStdString();
    EXPECT_FALSE(korea.out.contains(QLatin1String("Broken")));
    EXPECT_TRUE(korea.out.contains(QLatin1String("New")));
}

TEST_F(AwkwardFiles, LanguageFilesFallBackToEnglishAndStayBounded)
{
    writeRaw("partial.lng", "[Main]\r\nConnect = Verbunden\r\n");
    const CliResult partial = zvdctl(QStringLiteral("--lang partial.lng status"));
    ASSERT_EQ(partial.status, 0) << partial.err.toStdString();
    EXPECT_EQ(partial.lines().value(0), QStringLiteral("Verbunden"));
    EXPECT_TRUE(partial.lines().value(1).startsWith(QLatin1String("Memory: "))) << partial.out.toStdString();

    // An unclosed quote ends with its line; the entries after it are still found.
    writeRaw("quote.lng", "[Main]\r\n\"Connect = Verbunden\r\nMemory = Speicher\r\n[Msgbox]\r\n");
    const CliResult quote = zvdctl(QStringLiteral("--lang quote.lng status"));
    ASSERT_EQ(quote.status, 0) << quote.err.toStdString();
    EXPECT_EQ(quote.lines().value(0), QStringLiteral("Verbunden"));
    EXPECT_TRUE(quote.lines().value(1).startsWith(QLatin1String("Speicher: "))) << quote.out.toStdString();

    // Over 1 MB is no language file: refused with the reason, English texts instead.
    writeRaw("huge.lng", "[Main]\r\nConnect = Huge\r\n" + QByteArray(1024 * 1024, ' '));
    const CliResult huge = zvdctl(QStringLiteral("--lang huge.lng status"));
    ASSERT_EQ(huge.status, 0) << huge.err.toStdString();
    EXPECT_TRUE(huge.err.contains(QLatin1String("huge.lng")) &&
                huge.err.contains(QLatin1String("larger than")))
        << huge.err.toStdString();
    EXPECT_EQ(huge.lines().value(0), QStringLiteral("Player connected"));
}

} // namespace
