// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl's player commands against the real virtual player library, each in its own process.
#include "CliRunner.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

QString writeFile(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(bytes);
    return file.fileName();
}

// One Intel HEX data record (16 bytes at the address) with its checksum.
QByteArray hexRecord(quint16 address, quint8 type, const QByteArray& data)
{
    QByteArray record;
    record.append(char(data.size()));
    record.append(char(address >> 8));
    record.append(char(address & 0xff));
    record.append(char(type));
    record.append(data);
    quint8 sum = 0;
    for (char byte : record)
        sum = quint8(sum + quint8(byte));
    record.append(char(quint8(0x100 - sum)));
    return ':' + record.toHex().toUpper() + "\r\n";
}

QByteArray smallFirmware()
{
    return hexRecord(0x0000, 0, QByteArray("ZVD firmware 1.0")) +
           hexRecord(0x0010, 0, QByteArray(16, '\x5a')) + hexRecord(0x0000, 1, QByteArray());
}

} // namespace

class ZvdctlEndToEnd : public ::testing::Test
{
protected:
    ZvdctlEndToEnd() : cli(playerDir.filePath(QStringLiteral("player"))) {}

    void SetUp() override
    {
        ASSERT_TRUE(playerDir.isValid() && files.isValid());
        ASSERT_EQ(cli.zvdsim({QStringLiteral("attach")}).status, 0);
    }

    void put(const QString& name, int size)
    {
        const QString path = writeFile(QDir(files.path()), name, QByteArray(size, 'x'));
        ASSERT_EQ(cli.zvdsim({QStringLiteral("put"), path}).status, 0) << name.toStdString();
    }

    QStringList names(const QString& view = QStringLiteral("all")) const
    {
        QStringList result;
        for (const QString& line : cli.zvdctl({QStringLiteral("ls"), QStringLiteral("--view"), view}).lines())
            result << line.section(QLatin1Char('\t'), 2);
        return result;
    }

    QTemporaryDir playerDir;
    QTemporaryDir files;
    CliRunner cli;
};

TEST_F(ZvdctlEndToEnd, StatusShowsConnectionAndCapacity)
{
    const CliResult result = cli.zvdctl({QStringLiteral("status")});
    EXPECT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(result.lines(), (QStringList{QStringLiteral("Player connected"),
                                           QStringLiteral("Memory: 122 MBytes / 122 MBytes")}));
}

TEST_F(ZvdctlEndToEnd, DetachedPlayerOrMissingLibraryExitsWithThree)
{
    ASSERT_EQ(cli.zvdsim({QStringLiteral("detach")}).status, 0);
    const CliResult status = cli.zvdctl({QStringLiteral("status")});
    EXPECT_EQ(status.status, 3);
    EXPECT_EQ(status.lines().value(0), QStringLiteral("No player connected"));
    EXPECT_EQ(cli.zvdctl({QStringLiteral("ls")}).status, 3);
    EXPECT_EQ(cli.zvdctl({QStringLiteral("rm"), QStringLiteral("--yes"), QStringLiteral("x")}).status, 3);

    const CliResult noLibrary = cli.zvdctl(
        {QStringLiteral("--library"), files.filePath(QStringLiteral("none.so")), QStringLiteral("ls")});
    EXPECT_EQ(noLibrary.status, 3);
    EXPECT_TRUE(noLibrary.err.contains(QStringLiteral("none.so")));
}

TEST_F(ZvdctlEndToEnd, ListsEachViewWithIndexesAndListedSizes)
{
    put(QStringLiteral("My Song.mp3"), 5000);
    put(QStringLiteral("notes.txt"), 6);
    ASSERT_EQ(cli.zvdsim({QStringLiteral("record"), QStringLiteral("Memo")}).status, 0);
    put(QStringLiteral("Talk.wma"), 2000);

    const CliResult all = cli.zvdctl({QStringLiteral("ls")});
    ASSERT_EQ(all.status, 0) << all.err.toStdString();
    ASSERT_EQ(all.lines().size(), 4);
    EXPECT_EQ(all.lines()[0], QStringLiteral("0\t3454\tMy Song.mp3"));
    EXPECT_EQ(all.lines()[1], QStringLiteral("1\t6\tnotes.txt"));
    EXPECT_TRUE(all.lines()[2].startsWith(QStringLiteral("2\t"))) << "recordings keep their place";
    EXPECT_EQ(all.lines()[3], QStringLiteral("3\t454\tTalk.wma"));

    EXPECT_EQ(names(QStringLiteral("audio")),
              (QStringList{QStringLiteral("My Song.mp3"), QStringLiteral("Talk.wma")}));
    EXPECT_EQ(names(QStringLiteral("record")), QStringList{QStringLiteral("Memo.ZVD")});
    EXPECT_EQ(names(QStringLiteral("hdd")), QStringList{QStringLiteral("notes.txt")});
    EXPECT_EQ(cli.zvdctl({QStringLiteral("ls"), QStringLiteral("--view"), QStringLiteral("music")}).status,
              2);
}

TEST_F(ZvdctlEndToEnd, RemoveAsksFirstAndDeletesInThePlayersOrder)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"})
        put(QLatin1String(name), 100);

    const CliResult unanswered = cli.zvdctl({QStringLiteral("rm"), QStringLiteral("b.txt")});
    EXPECT_EQ(unanswered.status, 2);
    EXPECT_EQ(cli.zvdctl({QStringLiteral("rm"), QStringLiteral("--no"), QStringLiteral("b.txt")}).status, 0);
    EXPECT_EQ(names().size(), 5) << "nothing is deleted without a Yes";
    EXPECT_EQ(cli.zvdctl({QStringLiteral("rm"), QStringLiteral("--yes"), QStringLiteral("--no"),
                          QStringLiteral("b.txt")})
                  .status,
              2);
    EXPECT_EQ(names().size(), 5) << "contradicting answers are a usage error";

    const CliResult removed =
        cli.zvdctl({QStringLiteral("rm"), QStringLiteral("--yes"), QStringLiteral("e.txt"),
                    QStringLiteral("b.txt"), QStringLiteral("d.txt")});
    EXPECT_EQ(removed.status, 0) << removed.err.toStdString();
    EXPECT_EQ(names(), (QStringList{QStringLiteral("a.txt"), QStringLiteral("c.txt")}));

    const CliResult unknown = cli.zvdctl(
        {QStringLiteral("rm"), QStringLiteral("--yes"), QStringLiteral("a.txt"), QStringLiteral("zzz.txt")});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(names().size(), 2) << "an unknown name stops the command before anything is deleted";
}

TEST_F(ZvdctlEndToEnd, MoveLandsBeforeTheTargetAndRenameKeepsTheExtension)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "README"})
        put(QLatin1String(name), 10);
    EXPECT_EQ(cli.zvdctl({QStringLiteral("mv"), QStringLiteral("a.txt"), QStringLiteral("d.txt")}).status, 0);
    EXPECT_EQ(names(), (QStringList{QStringLiteral("b.txt"), QStringLiteral("c.txt"), QStringLiteral("a.txt"),
                                    QStringLiteral("d.txt"), QStringLiteral("README")}));
    EXPECT_EQ(cli.zvdctl({QStringLiteral("mv"), QStringLiteral("README"), QStringLiteral("b.txt")}).status,
              0);
    EXPECT_EQ(names().value(0), QStringLiteral("README"));

    EXPECT_EQ(
        cli.zvdctl({QStringLiteral("rename"), QStringLiteral("c.txt"), QStringLiteral("Renamed")}).status, 0);
    EXPECT_EQ(cli.zvdctl({QStringLiteral("rename"), QStringLiteral("README"), QStringLiteral("X")}).status,
              0);
    EXPECT_EQ(names(),
              (QStringList{QStringLiteral("X"), QStringLiteral("b.txt"), QStringLiteral("Renamed.txt"),
                           QStringLiteral("a.txt"), QStringLiteral("d.txt")}));
}

TEST_F(ZvdctlEndToEnd, FormatAndLowLevelFormatEmptyThePlayerOnlyOnYes)
{
    put(QStringLiteral("a.txt"), 100000);
    EXPECT_EQ(cli.zvdctl({QStringLiteral("format")}).status, 2);
    EXPECT_EQ(cli.zvdctl({QStringLiteral("format"), QStringLiteral("--no")}).status, 0);
    EXPECT_EQ(names().size(), 1);
    EXPECT_EQ(cli.zvdctl({QStringLiteral("format"), QStringLiteral("--yes")}).status, 0);
    EXPECT_TRUE(names().isEmpty());

    put(QStringLiteral("b.txt"), 100);
    EXPECT_EQ(cli.zvdctl({QStringLiteral("format"), QStringLiteral("--low"), QStringLiteral("--yes")}).status,
              0);
    EXPECT_TRUE(names().isEmpty());
    EXPECT_EQ(cli.zvdctl({QStringLiteral("status")}).lines().value(1),
              QStringLiteral("Memory: 122 MBytes / 122 MBytes"));
}

TEST_F(ZvdctlEndToEnd, FirmwareUpgradeFromIntelHex)
{
    const QString firmware = writeFile(QDir(files.path()), QStringLiteral("new.ZVF"), smallFirmware());
    EXPECT_EQ(cli.zvdctl({QStringLiteral("firmware"), firmware}).status, 2) << "asks before upgrading";

    const CliResult upgraded = cli.zvdctl({QStringLiteral("firmware"), QStringLiteral("--yes"), firmware});
    EXPECT_EQ(upgraded.status, 0) << upgraded.err.toStdString();
    EXPECT_TRUE(upgraded.err.contains(QStringLiteral("firmware upgrade is complete")));
    EXPECT_TRUE(cli.zvdsim({QStringLiteral("status")}).out.contains(QStringLiteral("new.ZVF")));
    EXPECT_TRUE(QDir(TestEnvironment::binDir()).entryList({QStringLiteral("~temp*.bin")}).isEmpty());
}

TEST_F(ZvdctlEndToEnd, BrokenFirmwareFileIsReportedAndNotWritten)
{
    const QString broken =
        writeFile(QDir(files.path()), QStringLiteral("bad.ZVF"), "this is not Intel HEX\r\n");
    const CliResult result = cli.zvdctl({QStringLiteral("firmware"), QStringLiteral("--yes"), broken});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.err.contains(QStringLiteral("firmware upgrade failed")));
    EXPECT_TRUE(cli.zvdsim({QStringLiteral("status")}).out.contains(QStringLiteral("firmware: original")));
    EXPECT_EQ(cli.zvdctl({QStringLiteral("firmware"), QStringLiteral("--yes"),
                          files.filePath(QStringLiteral("none.ZVF"))})
                  .status,
              1);
}

TEST_F(ZvdctlEndToEnd, InjectedFailuresEndWithStatusOneAndLoseNothing)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        put(QLatin1String(name), 100);

    ASSERT_EQ(cli.zvdsim({QStringLiteral("fail"), QStringLiteral("Delete"), QStringLiteral("2")}).status, 0);
    const CliResult removed =
        cli.zvdctl({QStringLiteral("rm"), QStringLiteral("--yes"), QStringLiteral("a.txt"),
                    QStringLiteral("b.txt"), QStringLiteral("c.txt")});
    EXPECT_EQ(removed.status, 1);
    EXPECT_TRUE(removed.err.contains(QStringLiteral("could not be deleted")));
    EXPECT_TRUE(removed.err.contains(QStringLiteral("b.txt")));
    EXPECT_EQ(names(), (QStringList{QStringLiteral("b.txt"), QStringLiteral("c.txt")}))
        << "the batch stops there";

    ASSERT_EQ(cli.zvdsim({QStringLiteral("fail"), QStringLiteral("Replace")}).status, 0);
    EXPECT_EQ(cli.zvdctl({QStringLiteral("mv"), QStringLiteral("c.txt"), QStringLiteral("b.txt")}).status, 1);
    EXPECT_EQ(names(), (QStringList{QStringLiteral("b.txt"), QStringLiteral("c.txt")}));

    ASSERT_EQ(cli.zvdsim({QStringLiteral("fail"), QStringLiteral("Refresh")}).status, 0);
    EXPECT_EQ(cli.zvdctl({QStringLiteral("ls")}).status, 1);

    ASSERT_EQ(cli.zvdsim({QStringLiteral("fail"), QStringLiteral("Open")}).status, 0);
    const CliResult status = cli.zvdctl({QStringLiteral("status")});
    EXPECT_EQ(status.status, 3);
    EXPECT_EQ(status.lines().value(0), QStringLiteral("No player connected"))
        << "a failed open claims no connection";
    EXPECT_EQ(names().size(), 2);
}

TEST_F(ZvdctlEndToEnd, TwoProcessesShareThePlayerWithoutDamage)
{
    for (int i = 0; i < 12; ++i)
        put(QStringLiteral("old%1.txt").arg(i), 20000);
    for (int i = 0; i < 12; ++i)
        ASSERT_FALSE(writeFile(QDir(files.path()), QStringLiteral("new%1.txt").arg(i), QByteArray(20000, 'n'))
                         .isEmpty());
    // One process stores new files while another deletes the old ones, one call at a time.
    const QString script =
        QStringLiteral(
            "cd '%1' && (for i in 0 1 2 3 4 5 6 7 8 9 10 11; do \"$ZVDSIM\" put new$i.txt || exit 9; done) & "
            "for i in 0 1 2 3 4 5 6 7 8 9 10 11; do \"$ZVDCTL\" rm --yes old$i.txt || exit 8; done; wait $! "
            "|| exit 7")
            .arg(files.path());
    const CliResult both = cli.shell(script);
    ASSERT_EQ(both.status, 0) << both.err.toStdString();

    QStringList listed = names();
    listed.sort();
    QStringList expected;
    for (int i = 0; i < 12; ++i)
        expected << QStringLiteral("new%1.txt").arg(i);
    expected.sort();
    EXPECT_EQ(listed, expected);
    // 12 files of 20,000 bytes take two 16 KiB units each: no unit is lost or shared.
    EXPECT_TRUE(
        cli.zvdsim({QStringLiteral("status")}).out.contains(QStringLiteral("units: 24 of 7800 in use")));
}

TEST_F(ZvdctlEndToEnd, FailedCallsSayWhatFailed)
{
    for (const char* name : {"a.txt", "b.txt"})
        put(QLatin1String(name), 100);

    ASSERT_EQ(cli.zvdsim({QStringLiteral("fail"), QStringLiteral("Refresh")}).status, 0);
    const CliResult unread =
        cli.zvdctl({QStringLiteral("rm"), QStringLiteral("--yes"), QStringLiteral("a.txt")});
    EXPECT_EQ(unread.status, 1);
    EXPECT_TRUE(unread.err.contains(QStringLiteral("could not be read"))) << unread.err.toStdString();
    EXPECT_FALSE(unread.err.contains(QStringLiteral("no entry named"))) << "the entry may well be there";

    ASSERT_EQ(cli.zvdsim({QStringLiteral("fail"), QStringLiteral("Replace")}).status, 0);
    const CliResult moved =
        cli.zvdctl({QStringLiteral("mv"), QStringLiteral("b.txt"), QStringLiteral("a.txt")});
    EXPECT_EQ(moved.status, 1);
    EXPECT_TRUE(moved.err.contains(QStringLiteral("b.txt"))) << moved.err.toStdString();

    ASSERT_EQ(cli.zvdsim({QStringLiteral("fail"), QStringLiteral("Rename")}).status, 0);
    const CliResult renamed =
        cli.zvdctl({QStringLiteral("rename"), QStringLiteral("a.txt"), QStringLiteral("c")});
    EXPECT_EQ(renamed.status, 1);
    EXPECT_TRUE(renamed.err.contains(QStringLiteral("a.txt"))) << renamed.err.toStdString();

    ASSERT_EQ(cli.zvdsim({QStringLiteral("fail"), QStringLiteral("Format")}).status, 0);
    const CliResult formatted = cli.zvdctl({QStringLiteral("format"), QStringLiteral("--yes")});
    EXPECT_EQ(formatted.status, 1);
    EXPECT_FALSE(formatted.err.isEmpty());
    EXPECT_EQ(names(), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
}
