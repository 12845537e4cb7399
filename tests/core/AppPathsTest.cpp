// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "core/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

TEST(AppPaths, TempFileNeverReusesAnExistingName)
{
    const QString first = AppPaths::createTempFile(QStringLiteral("~Test-probe.dat"));
    ASSERT_FALSE(first.isEmpty());
    QFile user(first);
    ASSERT_TRUE(user.open(QIODevice::WriteOnly));
    user.write("user data");
    user.close();

    const QString second = AppPaths::createTempFile(QStringLiteral("~Test-probe.dat"));
    ASSERT_FALSE(second.isEmpty());
    EXPECT_NE(first, second);
    EXPECT_TRUE(second.endsWith(QStringLiteral("~Test-probe-1.dat")));
    QFile check(first);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("user data"));
    QFile::remove(first);
    QFile::remove(second);
}

// A process id that runs no process now: a child that has ended and been waited for.
qint64 endedProcessId()
{
    QProcess child;
    child.start(QStringLiteral("/bin/true"), {});
    child.waitForFinished();
    return child.processId() > 0 ? child.processId() : 999999999;
}

TEST(AppPaths, StaleFilesOfOursGoAndEverythingElseStays)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const qint64 dead = 999999999; // beyond any pid_max
    const QString live = QString::number(QCoreApplication::applicationPid());
    const QStringList names{QStringLiteral(".zvd-%1-copy.mp3").arg(dead),
                            QStringLiteral(".zvd-%1-x.part").arg(live),
                            QStringLiteral(".zvd-12ab-x"),
                            QStringLiteral(".zvd--1-x"),
                            QStringLiteral("zvd-%1-x").arg(dead),
                            QStringLiteral("song.mp3")};
    for (const QString& name : names) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral(".zvd-%1-dir-0/inner").arg(dead)));
    EXPECT_EQ(AppPaths::removeStaleTempFiles(dir.path()), 2);
    QStringList expected{".zvd--1-x", ".zvd-" + live + "-x.part", ".zvd-12ab-x", "song.mp3",
                         "zvd-" + QString::number(dead) + "-x"};
    expected.sort();
    QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    left.sort();
    EXPECT_EQ(left, expected);
    EXPECT_FALSE(AppPaths::isProcessAlive(endedProcessId()));
    EXPECT_TRUE(AppPaths::isProcessAlive(QCoreApplication::applicationPid()));
}

TEST(AppPaths, TempFilesAndFoldersCarryTheOwnersProcessId)
{
    const QString file = AppPaths::createTempFile(QStringLiteral("~temp.bin"));
    const QString folder = AppPaths::createTempFolder();
    ASSERT_FALSE(file.isEmpty());
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_EQ(AppPaths::tempOwner(QFileInfo(file).fileName()), QCoreApplication::applicationPid());
    EXPECT_EQ(AppPaths::tempOwner(QFileInfo(folder).fileName()), QCoreApplication::applicationPid());
    EXPECT_EQ(AppPaths::removeStaleTempFiles(AppPaths::tempFolder()) >= 0, true);
    EXPECT_TRUE(QFileInfo::exists(file)) << "a running owner's files stay";
    QFile::remove(file);
    QDir(folder).removeRecursively();
}

TEST(AppPaths, ProgramFolderIsWhereTheExecutableLies)
{
    EXPECT_TRUE(QDir(AppPaths::programFolder()).exists());
    EXPECT_FALSE(AppPaths::tempFolder().isEmpty());
}

} // namespace
