// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Runs zvdctl and zvdsim from the build's bin folder against one virtual player folder.
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct CliResult {
    int status = -1;
    QString out;
    QString err;
    QStringList lines() const;
};

class CliRunner
{
public:
    explicit CliRunner(const QString& playerFolder);

    CliResult zvdctl(const QStringList& args) const;
    CliResult zvdsim(const QStringList& args) const;
    // A shell script with $ZVDCTL and $ZVDSIM set, for work that runs side by side.
    CliResult shell(const QString& script) const;

    QProcessEnvironment environment() const { return m_environment; }

private:
    CliResult run(const QString& program, const QStringList& args) const;
    QProcessEnvironment m_environment;
};
