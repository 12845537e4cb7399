// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl tag set on copies of files made by lame and the usual taggers: the fields given change,
// the others stay, zvdctl tags shows the result, and a file that cannot be written (read-only,
// on a full disk, or with a tag that could not be written back) stays byte for byte as it was.
#include "AudioFrames.h"
#include "CliFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <unistd.h>

namespace
{

class TagSetCli : public CliFixture
{
protected:
    QString copy(const QString& name, const QString& as = QString())
    {
        const QString target = work.filePath(as.isEmpty() ? name : as);
        copyFixture(name, target);
        return target;
    }

    const QJsonObject tags(const QString& path)
    {
        const CliResult result = cli.zvdctl({QStringLiteral("tags"), path});
        EXPECT_EQ(result.status, 0) << qPrintable(result.err);
        return QJsonDocument::fromJson(result.out.toUtf8()).object();
    }

    QStringList debris() const
    {
        return QDir(work.path()).entryList({QStringLiteral(".zvd-*")}, QDir::Files | QDir::Hidden);
    }
};

TEST_F(TagSetCli, OptionsGivenChangeAndTheRestKeepEachFilesValue)
{
    const QString a = copy(QStringLiteral("lame-tagged.mp3"));
    const QString b = copy(QStringLiteral("id3v2-v1.mp3"));
    const QByteArray audioA = AudioFrames::hash(a);
    const QByteArray audioB = AudioFrames::hash(b);
    const CliResult set = cli.zvdctl(
        {"tag", "set", a, b, "--artist", "The Band", "--genre", "jazz", "--year", "2001", "--track", "7"});
    ASSERT_EQ(set.status, 0) << qPrintable(set.err);
    const QJsonObject first = tags(a);
    EXPECT_EQ(first["columns"]["title"].toString(), QStringLiteral("Title B"));
    EXPECT_EQ(first["columns"]["artist"].toString(), QStringLiteral("The Band"));
    EXPECT_EQ(first["columns"]["genre"].toString(), QStringLiteral("Jazz"));
    EXPECT_EQ(first["id3v2"]["year"].toString(), QStringLiteral("2001"));
    EXPECT_EQ(first["id3v2"]["track"].toString(), QStringLiteral("7"));
    EXPECT_EQ(first["id3v1"]["track"].toInt(), 7);
    EXPECT_EQ(first["id3v1"]["genre"].toInt(), 8);
    const QJsonObject second = tags(b);
    EXPECT_EQ(second["columns"]["title"].toString(), QStringLiteral("Old Song"));
    EXPECT_EQ(second["columns"]["artist"].toString(), QStringLiteral("The Band"));
    EXPECT_EQ(AudioFrames::hash(a), audioA);
    EXPECT_EQ(AudioFrames::hash(b), audioB);

    // A genre by number, and an empty title that clears it.
    ASSERT_EQ(cli.zvdctl({"tag", "set", a, "--genre", "17", "--title", ""}).status, 0);
    EXPECT_EQ(tags(a)["columns"]["genre"].toString(), QStringLiteral("Rock"));
    EXPECT_EQ(tags(a)["columns"]["title"].toString(), QString());
    EXPECT_EQ(AudioFrames::hash(a), audioA);
}

TEST_F(TagSetCli, UsageErrorsChangeNothing)
{
    const QString song = copy(QStringLiteral("lame-tagged.mp3"));
    const QByteArray original = readAll(song);
    const QList<QStringList> calls = {
        {"tag", "set", song, "--genre", "Polka Metal"},
        {"tag", "set", song, "--year", "twenty"},
        {"tag", "set", song, "--track", "1/2/3"},
        {"tag", "set", song},
        {"tag", "set", "--title", "x"},
        {"tag", "get", song},
        {"tag", "set", song, "--colour", "red"},
    };
    for (const QStringList& call : calls) {
        const CliResult result = cli.zvdctl(call);
        EXPECT_EQ(result.status, 2) << qPrintable(call.join(' '));
        EXPECT_FALSE(result.err.isEmpty());
    }
    EXPECT_EQ(readAll(song), original);
}

TEST_F(TagSetCli, AFileThatFailsIsNamedAndTheOthersAreStillEdited)
{
    const QString picture = copy(QStringLiteral("eyed3-v24-picture.mp3"));
    const QString plain = copy(QStringLiteral("cbr.mp3"));
    const QByteArray original = readAll(picture);
    const CliResult result =
        cli.zvdctl({"tag", "set", work.filePath("missing.mp3"), picture, plain, "--title", "Together"});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.err.contains(QStringLiteral("missing.mp3"))) << qPrintable(result.err);
    EXPECT_TRUE(result.err.contains(QStringLiteral("APIC"))) << qPrintable(result.err);
    EXPECT_EQ(readAll(picture), original);
    EXPECT_EQ(tags(plain)["columns"]["title"].toString(), QStringLiteral("Together"));
    EXPECT_FALSE(QFile::exists(work.filePath("missing.mp3")));
    EXPECT_TRUE(debris().isEmpty());
}

// Root may write any file, so the read-only cases run zvdctl as the user nobody then.
TEST_F(TagSetCli, AReadOnlyFileOrFolderIsRefusedAndTheFileStaysByteIdentical)
{
    QStringList prefix;
    if (::geteuid() == 0) {
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty())
            GTEST_SKIP() << "setpriv is needed to give up root's rights";
        prefix = {setpriv, "--reuid=65534", "--regid=65534", "--clear-groups"};
        // nobody must reach the folder: QTemporaryDir makes it private.
        QFile::setPermissions(work.path(), QFileDevice::Permissions(0x7777));
    }
    const QString song = copy(QStringLiteral("lame-tagged.mp3"));
    const QByteArray original = readAll(song);
    QFile::setPermissions(song, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const auto run = [&](const QString& path) {
        QProcess process;
        process.setProcessEnvironment(cli.environment());
        const QString zvdctl = QDir(TestEnvironment::binDir()).filePath(QStringLiteral("zvdctl"));
        QStringList args = prefix;
        args << zvdctl << "tag"
             << "set" << path << "--title"
             << "Never";
        process.start(args.takeFirst(), args);
        EXPECT_TRUE(process.waitForFinished(60000));
        return std::make_pair(process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError()));
    };
    const auto [status, err] = run(song);
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(err.contains(QStringLiteral("Permission denied"))) << qPrintable(err);
    EXPECT_EQ(readAll(song), original);

    // A writable file in a folder that takes no new file: the copy cannot be made beside it.
    const QString folder = work.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString inside = folder + QStringLiteral("/song.mp3");
    ASSERT_TRUE(QFile::copy(song, inside));
    QFile::setPermissions(inside, QFileDevice::Permissions(0x6666));
    QFile::setPermissions(folder, QFileDevice::Permissions(0x5555));
    const auto [folderStatus, folderErr] = run(inside);
    EXPECT_EQ(folderStatus, 1);
    EXPECT_TRUE(folderErr.contains(QStringLiteral("Permission denied"))) << qPrintable(folderErr);
    EXPECT_EQ(readAll(inside), original);
    QFile::setPermissions(folder, QFileDevice::Permissions(0x7777));
    EXPECT_TRUE(debris().isEmpty());
}

// The disk is a small tmpfs, filled up, mounted in a mount namespace of its own (unshare). The
// sums are taken inside it, where the disk exists.
TEST_F(TagSetCli, OnAFullDiskTheEditSaysSoAndTheFileStaysByteIdentical)
{
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    QProcess probe;
    probe.start(unshare, {QStringLiteral("-rm"), QStringLiteral("true")});
    if (unshare.isEmpty() || !probe.waitForFinished() || probe.exitCode() != 0)
        GTEST_SKIP() << "unshare cannot make a mount namespace here";
    const QString song = copy(QStringLiteral("lame-tagged.mp3"));
    const QString disk = work.filePath(QStringLiteral("disk"));
    ASSERT_TRUE(QDir().mkdir(disk));
    const QString zvdctl = QDir(TestEnvironment::binDir()).filePath(QStringLiteral("zvdctl"));
    const QString script =
        QStringLiteral("mount -t tmpfs -o size=64k zvdtest '%1' || exit 9; cp '%2' '%1/song.mp3'; "
                       "head -c 1000000 /dev/zero > '%1/filler' 2>/dev/null; "
                       "echo before $(sha256sum < '%1/song.mp3'); "
                       "'%3' tag set '%1/song.mp3' --title 'A title for a full disk' --album 'An album'; "
                       "echo status $?; echo after $(sha256sum < '%1/song.mp3'); "
                       "echo debris $(ls -A '%1' | grep -c '^.zvd-')")
            .arg(disk, song, zvdctl);
    QProcess run;
    run.setProcessEnvironment(cli.environment());
    run.start(unshare, {QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"), script});
    ASSERT_TRUE(run.waitForFinished(60000));
    const QStringList lines = QString::fromLocal8Bit(run.readAllStandardOutput()).split(QLatin1Char('\n'));
    const QString err = QString::fromLocal8Bit(run.readAllStandardError());
    ASSERT_EQ(lines.size(), 5) << qPrintable(lines.join('\n')) << qPrintable(err);
    EXPECT_EQ(lines[1], QStringLiteral("status 1")) << qPrintable(err);
    EXPECT_EQ(lines[0].mid(7), lines[2].mid(6)); // before / after
    EXPECT_EQ(lines[3], QStringLiteral("debris 0"));
    EXPECT_TRUE(err.contains(QStringLiteral("No space left on device"))) << qPrintable(err);
}

// However late the kill comes, the file is the old one or the edited one, never a mixture, and
// the copy a killed edit leaves beside it goes with the next edit in that folder.
TEST_F(TagSetCli, AKilledEditLeavesTheOldOrTheNewFileWholeAndItsDebrisIsRemovedLater)
{
    const QString small = copy(QStringLiteral("lame-tagged.mp3"), QStringLiteral("small.mp3"));
    QByteArray big = readAll(small);
    const QByteArray audio = AudioFrames::bytes(small);
    while (big.size() < 48 * 1024 * 1024)
        big.append(audio);
    const QString zvdctl = QDir(TestEnvironment::binDir()).filePath(QStringLiteral("zvdctl"));
    for (int delay : {2, 15, 40, 90, 200}) {
        SCOPED_TRACE(delay);
        const QString song = work.filePath(QStringLiteral("big.mp3"));
        QFile::remove(song);
        {
            QFile file(song);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            ASSERT_EQ(file.write(big), big.size());
        }
        const QByteArray hash = AudioFrames::hash(song);
        QProcess edit;
        edit.setProcessEnvironment(cli.environment());
        edit.start(zvdctl, {"tag", "set", song, "--title", "Killed or not"});
        ASSERT_TRUE(edit.waitForStarted());
        QThread::msleep(delay);
        edit.kill();
        edit.waitForFinished();
        const QByteArray now = readAll(song);
        if (now != big) {
            EXPECT_EQ(tags(song)["columns"]["title"].toString(), QStringLiteral("Killed or not"));
            EXPECT_EQ(AudioFrames::hash(song), hash);
        }
        ASSERT_EQ(cli.zvdctl({"tag", "set", small, "--artist", "Next"}).status, 0);
        EXPECT_TRUE(debris().isEmpty()) << qPrintable(debris().join(' '));
    }
}

} // namespace
