// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "core/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#endif

namespace AppPaths
{
namespace
{

const QLatin1String Marker(".zvd-");

qint64 currentPid()
{
    return QCoreApplication::applicationPid();
}

bool isWritableFolder(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    // Asking the file system is the only reliable test (ACLs, read-only mounts). The probe has a
    // name of ours, so a kill right here leaves nothing the next start would not remove.
    QFile probe(QDir(folder).filePath(tempPrefix() + QStringLiteral("probe")));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return probe.exists() && QFileInfo(probe.fileName()).isWritable();
    probe.close();
    probe.remove();
    return true;
}

QString privateFolder()
{
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty())
        data = QDir::tempPath();
    return data;
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
    const QString data = privateFolder();
    QDir().mkpath(data);
    return data;
}

QString tempPrefix()
{
    return Marker + QString::number(currentPid()) + QLatin1Char('-');
}

qint64 tempOwner(const QString& fileName)
{
    if (!fileName.startsWith(Marker))
        return -1;
    const qsizetype dash = fileName.indexOf(QLatin1Char('-'), Marker.size());
    // Digits, a dash, and at least one more character.
    if (dash <= Marker.size() || dash + 1 >= fileName.size())
        return -1;
    bool ok = false;
    const qint64 pid = fileName.mid(Marker.size(), dash - Marker.size()).toLongLong(&ok);
    for (qsizetype i = Marker.size(); i < dash; ++i)
        if (!fileName[i].isDigit())
            return -1;
    return ok && pid > 0 ? pid : -1;
}

#ifdef __linux__
// A process that has ended but was not yet reaped (its parent died too, and the system's first
// process is slow to reap) still answers kill(pid, 0): its state in /proc says it is gone.
bool isZombie(long long pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%lld/stat", pid);
    FILE* file = std::fopen(path, "r");
    if (!file)
        return false;
    char line[512] = {};
    const bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    // "pid (name) S ...": the state follows the last closing parenthesis.
    const char* close = read ? std::strrchr(line, ')') : nullptr;
    return close && close[1] == ' ' && close[2] == 'Z';
}
#endif

bool isProcessAlive(qint64 pid)
{
    if (pid <= 0)
        return false;
    if (pid == currentPid())
        return true;
#ifdef Q_OS_WIN
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED; // it exists, we may just not look at it
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
#else
    if (::kill(pid_t(pid), 0) != 0 && errno != EPERM)
        return false;
#ifdef __linux__
    return !isZombie((long long)pid);
#else
    return true;
#endif
#endif
}

QString createTempFile(const QString& preferredName)
{
    const QDir folder(tempFolder());
    const QFileInfo preferred(preferredName);
    const QString base = preferred.completeBaseName();
    const QString suffix = preferred.suffix().isEmpty() ? QString() : QLatin1Char('.') + preferred.suffix();
    const QString prefix = tempPrefix();
    for (int n = 0; n < 1000; ++n) {
        const QString name =
            prefix + (n == 0 ? preferredName : QStringLiteral("%1-%2%3").arg(base).arg(n).arg(suffix));
        QFile file(folder.filePath(name));
        // NewOnly fails when the name is taken, so nobody's file is ever opened for writing.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return file.fileName();
        if (!file.exists())
            return QString(); // the folder itself refuses new files
    }
    return QString();
}

QString createTempFolder()
{
    const QDir folder(tempFolder());
    const QString prefix = tempPrefix();
    for (int n = 0; n < 1000; ++n) {
        const QString name = prefix + QStringLiteral("dir-%1").arg(n);
        if (folder.exists(name))
            continue;
        if (folder.mkdir(name))
            return folder.filePath(name);
        if (!folder.exists(name))
            return QString();
    }
    return QString();
}

int removeStaleTempFiles(const QString& folder)
{
    if (folder.isEmpty())
        return 0;
    int removed = 0;
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({Marker + QLatin1Char('*')}, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System |
                                                       QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QString& name : names) {
        const qint64 owner = tempOwner(name);
        if (owner < 0 || isProcessAlive(owner))
            continue;
        const QString path = dir.filePath(name);
        const bool gone = QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path);
        if (gone)
            ++removed;
    }
    return removed;
}

void removeStaleTempFiles()
{
    const QString program = programFolder();
    removeStaleTempFiles(program);
    const QString data = privateFolder();
    if (QDir(data) != QDir(program))
        removeStaleTempFiles(data);
}

} // namespace AppPaths
