// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "AppPaths.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

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

TEST(AppPaths, ProgramFolderIsWhereTheExecutableLies)
{
    EXPECT_TRUE(QDir(AppPaths::programFolder()).exists());
    EXPECT_FALSE(AppPaths::tempFolder().isEmpty());
}

} // namespace
