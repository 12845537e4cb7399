// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A tag rebuild on a full disk says why it failed. The disk is a small tmpfs mounted in a user and
// mount namespace of its own (unshare), where this test program runs itself once more to write.
#include "audio/TagError.h"
#include "audio/cMP3ID3v2.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

// Inside the namespace: the file lies on the full tmpfs; the error text goes to stdout.
int writeOnFullDisk(const QString& path)
{
    cMP3ID3v2 tag;
    tag.setMP3File(path);
    tag.setTitle(QStringLiteral("A title that needs a new tag"));
    try {
        tag.Update();
    } catch (const TagError& error) {
        std::fputs(error.what(), stdout);
        return 1;
    }
    return 0;
}

TEST(TagWriteFullDisk, ARebuildOnAFullDiskSaysNoSpaceLeft)
{
    const QByteArray inner = qgetenv("ZVD_FULL_DISK_FILE");
    if (!inner.isEmpty()) {
        // The second run, inside the namespace.
        EXPECT_EQ(writeOnFullDisk(QString::fromLocal8Bit(inner)), 1);
        return;
    }
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString mount = dir.filePath(QStringLiteral("disk"));
    QFile(mount).remove();
    QDir().mkpath(mount);
    const QString song = mount + QStringLiteral("/song.mp3");
    // A 30 KB file on a 48 KB disk: its rebuilt copy cannot fit beside it.
    const QString script =
        QStringLiteral("mount -t tmpfs -o size=48k zvdtest '%1' && head -c 30000 /dev/zero > '%2' "
                       "&& ZVD_FULL_DISK_FILE='%2' exec '%3' --gtest_filter=TagWriteFullDisk.*")
            .arg(mount, song, QCoreApplication::applicationFilePath());
    QProcess probe;
    probe.start(unshare, {QStringLiteral("-rm"), QStringLiteral("true")});
    if (unshare.isEmpty() || !probe.waitForFinished() || probe.exitCode() != 0)
        GTEST_SKIP() << "unshare cannot make a mount namespace here";
    QProcess run;
    run.start(unshare, {QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"), script});
    ASSERT_TRUE(run.waitForFinished(60000));
    const QString out = QString::fromLocal8Bit(run.readAllStandardOutput());
    EXPECT_EQ(run.exitCode(), 0) << qPrintable(out) << qPrintable(run.readAllStandardError());
    EXPECT_TRUE(out.contains(QStringLiteral("No space left on device"))) << qPrintable(out);
    EXPECT_FALSE(out.contains(QStringLiteral("Unknown error"))) << qPrintable(out);
}

} // namespace
