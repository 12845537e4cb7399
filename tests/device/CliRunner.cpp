// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "CliRunner.h"

#include "TestEnvironment.h"

#include <QProcess>

QStringList CliResult::lines() const
{
    return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

CliRunner::CliRunner(const QString& playerFolder) : m_environment(QProcessEnvironment::systemEnvironment())
{
    const QString bin = TestEnvironment::binDir();
    m_environment.insert(QStringLiteral("ZVD_PLAYER_DIR"), playerFolder);
    m_environment.insert(QStringLiteral("ZVD_USB_LIBRARY"), bin + QStringLiteral("/libZVD_USB.so"));
    m_environment.insert(QStringLiteral("ZVDCTL"), bin + QStringLiteral("/zvdctl"));
    m_environment.insert(QStringLiteral("ZVDSIM"), bin + QStringLiteral("/zvdsim"));
    m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
}

CliResult CliRunner::run(const QString& program, const QStringList& args) const
{
    QProcess process;
    process.setProcessEnvironment(m_environment);
    // No terminal: a question without --yes/--no must end the command, not wait for an answer.
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, args);
    CliResult result;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("timed out");
        return result;
    }
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

CliResult CliRunner::zvdctl(const QStringList& args) const
{
    return run(TestEnvironment::binDir() + QStringLiteral("/zvdctl"), args);
}

CliResult CliRunner::zvdsim(const QStringList& args) const
{
    return run(TestEnvironment::binDir() + QStringLiteral("/zvdsim"), args);
}

CliResult CliRunner::shell(const QString& script) const
{
    return run(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
}
