// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl sync against the real virtual player, each command in its own process, each test with
// its own player and its own user data folder (where the sync record lives).
#pragma once

#include "SyncFixtures.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using SyncFixtures::Tags;

namespace SyncCli
{

struct Ran {
    int status = -1;
    QString out;
    QString err;
    QStringList lines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

// The plan line of a file: "action<TAB>reason".
inline QString planOf(const Ran& run, const QString& name)
{
    for (const QString& line : run.lines()) {
        const QStringList columns = line.split(QLatin1Char('\t'));
        if (columns.size() >= 3 && columns[1] == name)
            return columns[0] + QLatin1Char('\t') + columns[2];
    }
    return QStringLiteral("(not in the plan)");
}

inline int movesOf(const Ran& run)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("(\\d+) moves")).match(run.err);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace SyncCli

using SyncCli::movesOf;
using SyncCli::planOf;
using SyncCli::Ran;

class SyncEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ZVD_PLAYER_DIR"), home.filePath(QStringLiteral("player")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("ZVD_USB_LIBRARY"),
                           TestEnvironment::binDir() + QStringLiteral("/libZVD_USB.so"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        music = home.filePath(QStringLiteral("music"));
        ASSERT_EQ(zvdsim({QStringLiteral("attach")}).status, 0);
    }

    Ran run(const QString& program, const QStringList& args) const
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(TestEnvironment::binDir() + QLatin1Char('/') + program, args);
        Ran result;
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            return result;
        }
        result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }
    Ran zvdctl(const QStringList& args) const { return run(QStringLiteral("zvdctl"), args); }
    Ran zvdsim(const QStringList& args) const { return run(QStringLiteral("zvdsim"), args); }
    Ran sync(QStringList options = {}) const
    {
        return zvdctl(QStringList{QStringLiteral("sync")} + options + QStringList{music});
    }

    // The player's music: "name size" per entry, in the player's order.
    QStringList player() const
    {
        QStringList entries;
        for (const QString& line :
             zvdctl({QStringLiteral("ls"), QStringLiteral("--view"), QStringLiteral("audio")}).lines()) {
            const QStringList c = line.split(QLatin1Char('\t'));
            entries << c.value(2) + QLatin1Char(' ') + c.value(1);
        }
        return entries;
    }
    QStringList names() const
    {
        QStringList list;
        for (const QString& e : player())
            list << e.section(QLatin1Char(' '), 0, -2);
        return list;
    }

    QString song(const QString& relativePath, const Tags& tags, int frames = 2) const
    {
        return SyncFixtures::put(music, relativePath, SyncFixtures::taggedMp3(tags, frames));
    }

    // Two albums whose folders and file names run against the album order: "Zebra" holds the
    // first album, and within each album the names run against the track numbers.
    void twoAlbums()
    {
        const QString artist = QStringLiteral("Artist");
        song(QStringLiteral("Zebra/c.mp3"),
             {artist, QString(), QStringLiteral("Alpha"), QString(), QStringLiteral("1"), {}});
        song(QStringLiteral("Zebra/b.mp3"),
             {artist, QString(), QStringLiteral("Alpha"), QString(), QStringLiteral("2"), {}});
        song(QStringLiteral("Zebra/a.mp3"),
             {artist, QString(), QStringLiteral("Alpha"), QString(), QStringLiteral("3/3"), {}});
        song(QStringLiteral("Apple/e.mp3"),
             {artist, QString(), QStringLiteral("Beta"), QString(), QStringLiteral("1"), {}});
        song(QStringLiteral("Apple/d.mp3"),
             {artist, QString(), QStringLiteral("Beta"), QString(), QStringLiteral("2"), {}});
    }

    QTemporaryDir home;
    QProcessEnvironment environment;
    QString music;
};
