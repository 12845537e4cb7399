// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl against the real virtual player when things go wrong: a failing store while replacing,
// a player that cannot be listed, a process killed in the middle of a transfer, a player pulled
// out, another program taking the name. Each case runs zvdctl and zvdsim as separate processes.
#include "CliFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace
{

class SafeReplaceCli : public CliFixture
{
protected:
    void SetUp() override { startPlayer(); }

    void TearDown() override
    {
        // Whatever happened, nothing of ours stays beside the program once a zvdctl has run.
        EXPECT_TRUE(ours(TestEnvironment::binDir()).isEmpty())
            << qPrintable(ours(TestEnvironment::binDir()).join(' '));
    }

    static QStringList ours(const QString& folder)
    {
        return QDir(folder).entryList({QStringLiteral(".zvd-*")},
                                      QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QStringList incomingParts() const
    {
        return QDir(playerDir.filePath(QStringLiteral("incoming")))
            .entryList({QStringLiteral("incoming-*")}, QDir::Files);
    }

    // Starts zvdctl in the background; the caller kills or waits.
    std::unique_ptr<QProcess> startZvdctl(const QStringList& args)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(cli.environment());
        process->setStandardInputFile(QProcess::nullDevice());
        process->start(TestEnvironment::binDir() + QStringLiteral("/zvdctl"), args);
        process->waitForStarted();
        return process;
    }

    // Polls until the condition holds (at most 20 s).
    static bool waitFor(const std::function<bool()>& condition)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 20000) {
            if (condition())
                return true;
            QThread::msleep(50);
        }
        return false;
    }
};

TEST_F(SafeReplaceCli, AFailedStoreGivesTheOldEntryItsNameBack)
{
    write(src("song1.mp3"), QByteArray(3000, 'o'));
    ASSERT_EQ(cli.zvdctl({"send", "--view", "audio", src("song1.mp3")}).status, 0);
    write(src("song1.mp3"), QByteArray(5000, 'n'));
    ASSERT_EQ(cli.zvdsim({"fail", "Download", "1"}).status, 0);
    const CliResult sent = cli.zvdctl({"send", "--view", "audio", "--yes", src("song1.mp3")});
    EXPECT_EQ(sent.status, 1);
    EXPECT_TRUE(sent.err.contains("song1.mp3")) << qPrintable(sent.err);
    EXPECT_EQ(cli.zvdsim({"ls"}).lines().size(), 1) << "nothing left set aside";
    EXPECT_EQ(listed(), (QMap<QString, qint64>{{"song1.mp3", 3000}}));

    // With the store working the old entry goes only once the new one is in.
    ASSERT_EQ(cli.zvdctl({"send", "--view", "audio", "--yes", src("song1.mp3")}).status, 0);
    EXPECT_EQ(listed(), (QMap<QString, qint64>{{"song1.mp3", 5000}}));
}

TEST_F(SafeReplaceCli, WhenThePlayerRefusesTheRenameTheMessageSaysTheOldCopyIsGone)
{
    write(src("a.txt"), "old");
    ASSERT_EQ(cli.zvdctl({"send", src("a.txt")}).status, 0);
    write(src("a.txt"), "newer");
    ASSERT_EQ(cli.zvdsim({"fail", "Rename", "1"}).status, 0);
    ASSERT_EQ(cli.zvdsim({"fail", "Download", "1"}).status, 0);
    const CliResult sent = cli.zvdctl({"send", "--yes", src("a.txt")});
    EXPECT_EQ(sent.status, 1);
    EXPECT_TRUE(sent.err.contains("the old copy of a.txt is gone")) << qPrintable(sent.err);
    EXPECT_TRUE(listed().isEmpty());

    // A refused rename alone still replaces the file (delete just before the store).
    ASSERT_EQ(cli.zvdctl({"send", src("a.txt")}).status, 0);
    write(src("a.txt"), "newest!");
    ASSERT_EQ(cli.zvdsim({"fail", "Rename", "1"}).status, 0);
    ASSERT_EQ(cli.zvdctl({"send", "--yes", src("a.txt")}).status, 0);
    EXPECT_EQ(listed(), (QMap<QString, qint64>{{"a.txt", 7}}));
}

TEST_F(SafeReplaceCli, AListingThatFailedIsAnErrorAndNothingIsDone)
{
    write(src("a.txt"), "a");
    ASSERT_EQ(cli.zvdctl({"send", src("a.txt")}).status, 0);
    write(src("b.txt"), "b");

    const auto failing = [&](const char* call, const QStringList& args) {
        EXPECT_EQ(cli.zvdsim({"fail", call, "1"}).status, 0);
        return cli.zvdctl(args);
    };
    CliResult r = failing("GetMediumInfo", {"ls"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("memory could not be read")) << qPrintable(r.err);
    r = failing("GetMediumInfo", {"status"});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.out.contains("0 MBytes / 0 MBytes")) << qPrintable(r.out);
    r = failing("GetMediumInfo", {"send", src("b.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.contains("not enough", Qt::CaseInsensitive)) << qPrintable(r.err);
    for (const QStringList& args :
         {QStringList{"rm", "--yes", "a.txt"}, QStringList{"get", "--to", out(""), "a.txt"},
          QStringList{"rename", "a.txt", "c"}, QStringList{"mv", "a.txt", "a.txt"}}) {
        r = failing("GetMediumInfo", args);
        EXPECT_EQ(r.status, 1) << qPrintable(args.join(' '));
        EXPECT_TRUE(r.err.contains("could not be read")) << qPrintable(r.err);
        EXPECT_FALSE(r.err.contains("no entry named")) << qPrintable(r.err);
        r = failing("Refresh", args);
        EXPECT_EQ(r.status, 1) << qPrintable(args.join(' '));
        EXPECT_TRUE(r.err.contains("entries could not be read")) << qPrintable(r.err);
    }
    EXPECT_EQ(listed(), (QMap<QString, qint64>{{"a.txt", 1}}));
    EXPECT_FALSE(QFile::exists(out("a.txt")));

    // Failures of the library's start, shutdown and close are said, with status 1.
    for (const char* call : {"StartDLL", "ExitDLL", "Close"}) {
        r = failing(call, {"ls"});
        EXPECT_EQ(r.status, 1) << call;
        EXPECT_FALSE(r.err.isEmpty()) << call;
    }
}

TEST_F(SafeReplaceCli, ASendKilledMidwayIsPutRightByTheNextRun)
{
    write(src("song.mp3"), QByteArray(2000, 'o'));
    ASSERT_EQ(cli.zvdctl({"send", "--view", "audio", src("song.mp3")}).status, 0);
    write(src("song.mp3"), QByteArray(400000, 'n'));
    ASSERT_EQ(cli.zvdsim({"speed", "100000"}).status, 0);
    auto sender = startZvdctl({"send", "--view", "audio", "--yes", src("song.mp3")});
    const QString pid = QString::number(sender->processId());
    ASSERT_TRUE(waitFor([&] { return !incomingParts().isEmpty(); }));
    sender->kill(); // SIGKILL: no cleanup of any kind
    sender->waitForFinished();

    // What the killed process left: the old song set aside, the bytes on their way, its copy.
    EXPECT_TRUE(cli.zvdsim({"ls"}).out.contains("~zvd-" + pid + "-song.mp3"))
        << qPrintable(cli.zvdsim({"ls"}).out);
    EXPECT_FALSE(incomingParts().isEmpty());
    EXPECT_FALSE(ours(TestEnvironment::binDir()).isEmpty());
    QDir(TestEnvironment::binDir()).mkdir(QStringLiteral(".zvd-x-not-ours"));
    write(QDir(TestEnvironment::binDir()).filePath(QStringLiteral(".zvd-1x-foreign")), "not ours");

    ASSERT_EQ(cli.zvdsim({"speed", "0"}).status, 0);
    EXPECT_EQ(listed(), (QMap<QString, qint64>{{"song.mp3", 2000}})) << "the old song has its name back";
    EXPECT_TRUE(incomingParts().isEmpty());
    EXPECT_EQ(ours(TestEnvironment::binDir()), (QStringList{".zvd-1x-foreign", ".zvd-x-not-ours"}))
        << "only names of our pattern whose owner is gone are removed";
    QFile::remove(QDir(TestEnvironment::binDir()).filePath(QStringLiteral(".zvd-1x-foreign")));
    QDir(TestEnvironment::binDir()).rmdir(QStringLiteral(".zvd-x-not-ours"));
}

// A batch writes each song's copy over the last one's: killed in its second song, it leaves one
// folder holding only that song's copy, and the next run removes it.
TEST_F(SafeReplaceCli, ABatchKilledMidwayLeavesOneCopyTheNextRunRemoves)
{
    write(src("a.mp3"), QByteArray(3000, 'a'));
    write(src("b.mp3"), QByteArray(400000, 'b'));
    write(src("c.mp3"), QByteArray(2000, 'c'));
    ASSERT_EQ(cli.zvdsim({"speed", "100000"}).status, 0);
    auto sender = startZvdctl({"send", "--view", "audio", src("a.mp3"), src("b.mp3"), src("c.mp3")});
    ASSERT_TRUE(
        waitFor([&] { return cli.zvdsim({"ls"}).out.contains("a.mp3") && !incomingParts().isEmpty(); }));
    sender->kill();
    sender->waitForFinished();

    const QStringList left = ours(TestEnvironment::binDir());
    ASSERT_EQ(left.size(), 1) << qPrintable(left.join(' '));
    EXPECT_EQ(QDir(QDir(TestEnvironment::binDir()).filePath(left[0]))
                  .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"b.mp3"});
    ASSERT_EQ(cli.zvdsim({"speed", "0"}).status, 0);
    EXPECT_EQ(listed(), (QMap<QString, qint64>{{"a.mp3", 3000}}));
    EXPECT_TRUE(incomingParts().isEmpty());
}

TEST_F(SafeReplaceCli, AnEntryLeftAsideIsDeletedWhenItsNameHasArrivedSince)
{
    write(src("song.mp3"), QByteArray(2000, 'o'));
    ASSERT_EQ(cli.zvdctl({"send", "--view", "audio", src("song.mp3")}).status, 0);
    write(src("song.mp3"), QByteArray(300000, 'n'));
    ASSERT_EQ(cli.zvdsim({"speed", "100000"}).status, 0);
    auto sender = startZvdctl({"send", "--view", "audio", "--yes", src("song.mp3")});
    ASSERT_TRUE(waitFor([&] { return !incomingParts().isEmpty(); }));
    sender->kill();
    sender->waitForFinished();
    ASSERT_EQ(cli.zvdsim({"speed", "0"}).status, 0);
    write(work.filePath("song.mp3"), QByteArray(1234, 'p'));
    ASSERT_EQ(cli.zvdsim({"put", work.filePath("song.mp3")}).status, 0);
    EXPECT_EQ(listed(), (QMap<QString, qint64>{{"song.mp3", 1234 - 1546 < 0 ? 0 : 1234 - 1546}}));
    EXPECT_EQ(cli.zvdsim({"ls"}).lines().size(), 1);
}

TEST_F(SafeReplaceCli, AReceiveKilledMidwayLeavesPartsTheNextReceiveRemoves)
{
    write(src("big.txt"), QByteArray(400000, 'b'));
    ASSERT_EQ(cli.zvdctl({"send", src("big.txt")}).status, 0);
    ASSERT_EQ(cli.zvdsim({"speed", "100000"}).status, 0);
    auto receiver = startZvdctl({"get", "--to", work.filePath("out"), "big.txt"});
    ASSERT_TRUE(waitFor([&] { return ours(work.filePath("out")).size() >= 2; }));
    receiver->kill();
    receiver->waitForFinished();
    write(out("mine.part"), "the user's");
    ASSERT_EQ(cli.zvdsim({"speed", "0"}).status, 0);

    ASSERT_EQ(cli.zvdctl({"get", "--to", work.filePath("out"), "big.txt"}).status, 0);
    EXPECT_EQ(QDir(work.filePath("out")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"big.txt", "mine.part"}));
    EXPECT_EQ(readAll(out("big.txt")), QByteArray(400000, 'b'));
}

TEST_F(SafeReplaceCli, APlayerPulledOutDuringATransferIsNoPlayer)
{
    write(src("big.txt"), QByteArray(300000, 'b'));
    ASSERT_EQ(cli.zvdsim({"speed", "100000"}).status, 0);
    auto sender = startZvdctl({"send", src("big.txt")});
    ASSERT_TRUE(waitFor([&] { return !incomingParts().isEmpty(); }));
    ASSERT_EQ(cli.zvdsim({"detach"}).status, 0);
    ASSERT_TRUE(sender->waitForFinished(30000));
    EXPECT_EQ(sender->exitCode(), 3);
    EXPECT_TRUE(QString::fromUtf8(sender->readAllStandardError()).contains("no player"));
}

TEST_F(SafeReplaceCli, ASenderWhoseNameAnotherProgramTookSaysSo)
{
    write(src("a.txt"), QByteArray(300000, 'a'));
    write(work.filePath("a.txt"), "x");
    ASSERT_EQ(cli.zvdsim({"speed", "100000"}).status, 0);
    auto sender = startZvdctl({"send", src("a.txt")});
    ASSERT_TRUE(waitFor([&] { return !incomingParts().isEmpty(); }));
    ASSERT_EQ(cli.zvdsim({"put", work.filePath("a.txt")}).status, 0);
    ASSERT_TRUE(sender->waitForFinished(30000));
    EXPECT_EQ(sender->exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(sender->readAllStandardError())
                    .contains("another program stored a file of this name"));
}

TEST_F(SafeReplaceCli, ANameTakenInAnotherViewIsSaidSo)
{
    write(src("a.txt"), "a");
    ASSERT_EQ(cli.zvdctl({"send", src("a.txt")}).status, 0);
    // The audio view lists no text files, so nothing is asked; the player still holds the name.
    const CliResult sent = cli.zvdctl({"send", "--view", "audio", src("a.txt")});
    EXPECT_EQ(sent.status, 1);
    EXPECT_TRUE(sent.err.contains("already holds a file of this name in another view"))
        << qPrintable(sent.err);
    EXPECT_EQ(listed(), (QMap<QString, qint64>{{"a.txt", 1}}));
}

} // namespace
