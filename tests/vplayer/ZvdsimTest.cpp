// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "PlayerLibrary.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

namespace
{

struct SimResult {
    int status;
    QString out;
};

SimResult zvdsim(const QStringList& arguments)
{
    QProcess process;
    process.start(QDir(TestEnvironment::binDir()).filePath(QStringLiteral("zvdsim")), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput())};
}

TEST(Zvdsim, AttachRecordPutAndListRawEntries)
{
    PlayerFixture fixture;
    EXPECT_TRUE(zvdsim({QStringLiteral("status")}).out.contains(QStringLiteral("attached: no")));
    ASSERT_EQ(zvdsim({QStringLiteral("attach")}).status, 0);
    ASSERT_EQ(zvdsim({QStringLiteral("record"), QStringLiteral("REC001")}).status, 0);
    ASSERT_EQ(
        zvdsim({QStringLiteral("put"), QString::fromStdString(fixture.pcFile("Long name.txt", "hello"))})
            .status,
        0);
    const SimResult ls = zvdsim({QStringLiteral("ls")});
    const QStringList lines = ls.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("0\tREC001.ZVD\t"))) << lines[0].toStdString();
    EXPECT_GT(lines[0].split(QLatin1Char('\t'))[2].toInt(), 1000);
    EXPECT_EQ(lines[1], QStringLiteral("1\tLONGNA~1.TXT\t5\tLong name.txt"));
    const SimResult status = zvdsim({QStringLiteral("status")});
    EXPECT_TRUE(status.out.contains(QStringLiteral("attached: yes")));
    EXPECT_TRUE(status.out.contains(QStringLiteral("entries: 2")));
}

TEST(Zvdsim, ResetCapacityFailSpeedAndUsage)
{
    PlayerFixture fixture;
    ASSERT_EQ(zvdsim({QStringLiteral("attach")}).status, 0);
    ASSERT_EQ(zvdsim({QStringLiteral("record"), QStringLiteral("a")}).status, 0);
    ASSERT_EQ(
        zvdsim({QStringLiteral("reset"), QStringLiteral("--capacity"), QStringLiteral("4294967296")}).status,
        0);
    ASSERT_EQ(zvdsim({QStringLiteral("fail"), QStringLiteral("Download"), QStringLiteral("3")}).status, 0);
    ASSERT_EQ(zvdsim({QStringLiteral("speed"), QStringLiteral("1000")}).status, 0);
    const SimResult status = zvdsim({QStringLiteral("status")});
    EXPECT_TRUE(status.out.contains(QStringLiteral("attached: yes")));
    EXPECT_TRUE(status.out.contains(QStringLiteral("entries: 0")));
    EXPECT_TRUE(status.out.contains(QStringLiteral("capacity: 4294967296 bytes")));
    EXPECT_TRUE(status.out.contains(QStringLiteral("call 3 of Download")));
    EXPECT_TRUE(status.out.contains(QStringLiteral("1000 bytes per second")));

    EXPECT_EQ(zvdsim({QStringLiteral("fail"), QStringLiteral("Nonsense")}).status, 1);
    EXPECT_EQ(zvdsim({QStringLiteral("reset"), QStringLiteral("--capacity"), QStringLiteral("100")}).status,
              1);
    EXPECT_EQ(zvdsim({QStringLiteral("speed"), QStringLiteral("fast")}).status, 2);
    EXPECT_EQ(zvdsim({QStringLiteral("jump")}).status, 2);
    EXPECT_EQ(zvdsim({QStringLiteral("put"), QString::fromStdString(fixture.pcPath("missing"))}).status, 1);
}

TEST(Zvdsim, DamagedStateIsReportedUntilReset)
{
    PlayerFixture fixture;
    ASSERT_EQ(zvdsim({QStringLiteral("attach")}).status, 0);
    ASSERT_EQ(zvdsim({QStringLiteral("detach")}).status, 0);
    PlayerLibrary lib;
    ASSERT_TRUE(lib.loaded());
    EXPECT_EQ(lib.TCC730_TestConnection(), 0);
    ASSERT_EQ(zvdsim({QStringLiteral("attach")}).status, 0);
    EXPECT_EQ(lib.TCC730_TestConnection(), 1);
    {
        QFile state(QString::fromStdString(fixture.playerFolder() + "/state"));
        ASSERT_TRUE(state.open(QIODevice::Append));
        state.write("entry broken\n");
    }
    EXPECT_EQ(lib.TCC730_TestConnection(), 0);
    EXPECT_EQ(zvdsim({QStringLiteral("status")}).status, 1);
    EXPECT_EQ(zvdsim({QStringLiteral("attach")}).status, 1);
    // Only a reset starts afresh; it cannot know whether the player was attached.
    ASSERT_EQ(zvdsim({QStringLiteral("reset")}).status, 0);
    EXPECT_TRUE(zvdsim({QStringLiteral("status")}).out.contains(QStringLiteral("attached: no")));
}

} // namespace
