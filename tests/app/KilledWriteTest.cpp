// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A process killed in the middle of writing a title block file or installing a language file
// (by SIGXFSZ from a file size limit, which stops it in the very write) leaves the file it
// replaces whole and only a file of ours beside it, which the next start removes.
#include "TestEnvironment.h"
#include "app/options/LanguageFolders.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>

namespace
{

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Runs a program with its files limited to fewer bytes than a title block has.
QProcess::ExitStatus runLimited(const QStringList& command, int& signalOrCode)
{
    QProcess process;
    process.start(QStringLiteral("/bin/sh"),
                  QStringList{QStringLiteral("-c"), QStringLiteral("ulimit -f 1; exec \"$0\" \"$@\"")} +
                      command);
    process.waitForFinished(60000);
    signalOrCode = process.exitCode();
    return process.exitStatus();
}

int run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

TEST(KilledWrite, ATitleBlockWriteKilledMidwayLeavesTheOldFileAndTheNextWriteClearsUp)
{
    QTemporaryDir dir;
    const QString zvdctl = QDir(TestEnvironment::binDir()).filePath(QStringLiteral("zvdctl"));
    const QString target = dir.filePath(QStringLiteral("title.bin"));
    const QByteArray old(1546, 'o');
    write(target, old);

    int status = 0;
    const QProcess::ExitStatus how = runLimited(
        {zvdctl, QStringLiteral("title"), QStringLiteral("-o"), target, QStringLiteral("Morning")}, status);
    ASSERT_EQ(how, QProcess::CrashExit) << "killed in the write (exit " << status << ")";
    EXPECT_EQ(read(target), old) << "the file it replaces is whole";
    const QStringList left = entries(dir.path());
    ASSERT_EQ(left.size(), 2) << left.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(left[0].startsWith(QStringLiteral(".zvd-")))
        << "only a file of ours beside it: " << left[0].toStdString();

    // The next run that writes into the folder removes the leftover and writes the file whole.
    ASSERT_EQ(run(zvdctl, {QStringLiteral("title"), QStringLiteral("-o"), target, QStringLiteral("Morning")}),
              0);
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("title.bin")});
    EXPECT_EQ(read(target).size(), 1546);
    EXPECT_NE(read(target), old);
}

TEST(KilledWrite, ALanguageInstallKilledMidwayLeavesTheOldFileAndTheNextStartClearsUp)
{
    // Forked, not run afresh: a fresh run would make a data folder of its own.
    GTEST_FLAG_SET(death_test_style, "fast");
    const LanguageFolders standard = LanguageFolders::standard();
    // The user's folder (the test's own data folder); the program's is shared by every test.
    const LanguageFolders folders{QString(), standard.user};
    ASSERT_FALSE(folders.user.isEmpty());
    ASSERT_TRUE(QDir().mkpath(folders.user));
    const QString installed = QDir(folders.user).filePath(QStringLiteral("Killed.lng"));
    const QByteArray old = "[Main]\nTitle=\"old\"\n";
    write(installed, old);
    QTemporaryDir source;
    const QString fresh = source.filePath(QStringLiteral("Killed.lng"));
    write(fresh, "[Main]\nTitle=\"" + QByteArray(6000, 'n') + "\"\n");

    const auto installWithinALimit = [&] {
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = 1024;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        folders.install(fresh);
        std::_Exit(0);
    };
    EXPECT_EXIT(installWithinALimit(), ::testing::KilledBySignal(SIGXFSZ), "");
    EXPECT_EQ(read(installed), old) << "the installed file is whole";
    EXPECT_EQ(entries(folders.user).size(), 2) << entries(folders.user).join(QLatin1Char(' ')).toStdString();

    // ZVD's start removes what the killed process left, and nothing else.
    ASSERT_EQ(
        run(QDir(TestEnvironment::binDir()).filePath(QStringLiteral("ZVD")), {QStringLiteral("--version")}),
        0);
    EXPECT_EQ(entries(folders.user), QStringList{QStringLiteral("Killed.lng")});
    EXPECT_EQ(read(installed), old);
    QFile::remove(installed);
}

} // namespace
