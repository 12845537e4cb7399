// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The base of the tests that run zvdctl and zvdsim as processes: a player folder and a work
// folder of their own (with src/ and out/ in it), a runner over them, and the helpers every such
// test reads its results with.
#pragma once

#include "CliRunner.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class CliFixture : public ::testing::Test
{
protected:
    CliFixture() : cli(playerDir.path()) {}

    // A reset, attached player and empty src/ and out/ folders.
    void startPlayer()
    {
        ASSERT_TRUE(playerDir.isValid() && work.isValid());
        ASSERT_EQ(cli.zvdsim({"reset"}).status, 0);
        ASSERT_EQ(cli.zvdsim({"attach"}).status, 0);
        ASSERT_TRUE(QDir(work.path()).mkpath(QStringLiteral("src")));
        ASSERT_TRUE(QDir(work.path()).mkpath(QStringLiteral("out")));
    }

    QString src(const QString& name) const { return work.filePath(QStringLiteral("src/") + name); }
    QString out(const QString& name) const { return work.filePath(QStringLiteral("out/") + name); }

    // A committed test file (tests/audio/fixtures), copied to target and writable there.
    static void copyFixture(const QString& fixtureName, const QString& target)
    {
        const QString from = QDir(TestEnvironment::sourceDir())
                                 .filePath(QStringLiteral("tests/audio/fixtures/") + fixtureName);
        ASSERT_TRUE(QFile::copy(from, target)) << qPrintable(from);
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    static QByteArray readAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Display name -> listed size, as zvdctl ls prints them (a new connection each time).
    QMap<QString, qint64> listed() const
    {
        QMap<QString, qint64> sizes;
        for (const QString& line : cli.zvdctl({"ls"}).lines()) {
            const QStringList fields = line.split(QLatin1Char('\t'));
            if (fields.size() == 3)
                sizes.insert(fields[2], fields[1].toLongLong());
        }
        return sizes;
    }

    QTemporaryDir playerDir;
    QTemporaryDir work;
    CliRunner cli;
};
