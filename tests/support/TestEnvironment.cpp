// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "TestEnvironment.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace TestEnvironment
{
namespace
{
std::unique_ptr<QTemporaryDir> g_root;
}

void isolate()
{
    g_root = std::make_unique<QTemporaryDir>();
    const QDir dir(g_root->path());
    dir.mkpath(QStringLiteral("config"));
    dir.mkpath(QStringLiteral("data"));
    dir.mkpath(QStringLiteral("player"));
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("ZVD_PLAYER_DIR", dir.filePath(QStringLiteral("player")).toLocal8Bit());
    qputenv("ZVD_CODEPAGE", "CP1252");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

QString root()
{
    return g_root ? g_root->path() : QString();
}

QString binDir()
{
    return QStringLiteral(ZVD_TEST_BIN_DIR);
}

QString sourceDir()
{
    return QStringLiteral(ZVD_TEST_SOURCE_DIR);
}

} // namespace TestEnvironment
