// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl with a device host that fails: one message naming the stopped host, exit status 3, and
// never a hang.
#include "TestEnvironment.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

struct CliRun {
    int status = -1;
    QString err;
};

CliRun zvdctl(const QString& hostCommand, const QStringList& args, const QString& player)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ZVD_PLAYER_DIR"), player);
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(TestEnvironment::binDir() + QStringLiteral("/zvdctl"),
                  QStringList{QStringLiteral("--device-host"), hostCommand} + args);
    CliRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        run.err = QStringLiteral("hung");
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString fake(const char* mode)
{
    return QStringLiteral("\"%1/../tests/devhost_fake\" %2")
        .arg(TestEnvironment::binDir(), QLatin1String(mode));
}

TEST(ZvdctlHostTest, FailingHostEndsTheCommandWithStatusThreeAndOneMessage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString player = dir.filePath(QStringLiteral("player"));
    for (const QString& host :
         {fake("exit-in-call"), fake("wrong-reply"), fake("garbage"), fake("version"),
          QStringLiteral("/no/such/host"), TestEnvironment::binDir() + QStringLiteral("/zvd-devhost")}) {
        for (const QStringList& args :
             {QStringList{QStringLiteral("status")}, QStringList{QStringLiteral("ls")}}) {
            const CliRun run = zvdctl(host, args, player);
            EXPECT_EQ(run.status, 3) << host.toStdString() << ": " << run.err.toStdString();
            EXPECT_EQ(run.err.count(QStringLiteral("the device host stopped: ")), 1) << run.err.toStdString();
        }
    }
}

} // namespace
