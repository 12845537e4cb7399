// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace AppPaths {
namespace {

bool isWritableFolder(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    // Asking the file system is the only reliable test (ACLs, read-only mounts).
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".zvd-probe-XXXXXX")));
    return probe.open();
}

} // namespace

QString programFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
#ifdef Q_OS_LINUX
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
#else
    return QDir::currentPath();
#endif
}

QString tempFolder()
{
    const QString program = programFolder();
    if (isWritableFolder(program))
        return program;
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty())
        data = QDir::tempPath();
    QDir().mkpath(data);
    return data;
}

QString createTempFile(const QString& preferredName)
{
    const QDir folder(tempFolder());
    const QFileInfo preferred(preferredName);
    const QString base = preferred.completeBaseName();
    const QString suffix = preferred.suffix().isEmpty() ? QString() : QLatin1Char('.') + preferred.suffix();
    for (int n = 0; n < 1000; ++n) {
        const QString name = n == 0 ? preferredName : QStringLiteral("%1-%2%3").arg(base).arg(n).arg(suffix);
        QFile file(folder.filePath(name));
        // NewOnly fails when the name is taken, so nobody's file is ever opened for writing.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return file.fileName();
        if (!file.exists())
            return QString(); // the folder itself refuses new files
    }
    return QString();
}

} // namespace AppPaths
