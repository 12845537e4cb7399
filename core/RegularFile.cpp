// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "core/RegularFile.h"

#include "core/LocalPath.h"

#include <QFileInfo>

#include <cstring>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace RegularFile
{
namespace
{

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

#ifdef Q_OS_UNIX
QString kindProblem(mode_t mode)
{
    if (S_ISREG(mode))
        return QString();
    if (S_ISDIR(mode))
        return QStringLiteral("is a folder, not a regular file");
    if (S_ISFIFO(mode))
        return QStringLiteral("is a named pipe, not a regular file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("is a device, not a regular file");
    return QStringLiteral("is not a regular file");
}

QString errnoText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}
#endif

} // namespace

int openDescriptor(const QString& path, QIODevice::OpenMode mode, QString* error)
{
#ifdef Q_OS_UNIX
    const QByteArray native = LocalPath::encode(path);
    const int access = mode.testFlag(QIODevice::WriteOnly) ? O_RDWR : O_RDONLY;
    // Non-blocking, so a named pipe does not wait for a writer before fstat turns it away.
    int fd = -1;
    do {
        fd = ::open(native.constData(), access | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        setError(error, errnoText(errno));
        return -1;
    }
    struct stat status = {};
    if (::fstat(fd, &status) != 0) {
        setError(error, errnoText(errno));
        ::close(fd);
        return -1;
    }
    if (const QString why = kindProblem(status.st_mode); !why.isEmpty()) {
        setError(error, why);
        ::close(fd);
        return -1;
    }
    // Regular files never block; clearing the flag keeps later reads ordinary.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
#else
    Q_UNUSED(path);
    Q_UNUSED(mode);
    setError(error, QStringLiteral("not supported"));
    return -1;
#endif
}

bool open(QFile& file, const QString& path, QIODevice::OpenMode mode, QString* error)
{
    mode &= ~(QIODevice::ExistingOnly | QIODevice::NewOnly | QIODevice::Truncate);
#ifdef Q_OS_UNIX
    const int fd = openDescriptor(path, mode, error);
    if (fd < 0)
        return false;
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        setError(error, file.errorString());
        ::close(fd);
        return false;
    }
    return true;
#else
    // Named pipes on Windows live in their own namespace (\\.\pipe\), never among files.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        setError(error, QStringLiteral("is not a regular file"));
        return false;
    }
    file.setFileName(path);
    if (!file.open(mode | QIODevice::ExistingOnly)) {
        setError(error, file.errorString());
        return false;
    }
    return true;
#endif
}

bool readAll(const QString& path, qint64 maxBytes, QByteArray& bytes, QString* error)
{
    QFile file;
    if (!open(file, path, QIODevice::ReadOnly, error))
        return false;
    if (file.size() > maxBytes) {
        setError(error, QStringLiteral("is larger than %1 bytes").arg(maxBytes));
        return false;
    }
    // One byte more than allowed tells a file that grew since its size was read.
    bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes) {
        setError(error, QStringLiteral("is larger than %1 bytes").arg(maxBytes));
        bytes.clear();
        return false;
    }
    if (file.error() != QFileDevice::NoError) {
        setError(error, file.errorString());
        bytes.clear();
        return false;
    }
    return true;
}

QString problem(const QString& path, qint64* size)
{
#ifdef Q_OS_UNIX
    struct stat status = {};
    if (::stat(LocalPath::encode(path).constData(), &status) != 0)
        return errnoText(errno);
    if (size)
        *size = status.st_size;
    return kindProblem(status.st_mode);
#else
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("No such file or directory");
    if (size)
        *size = info.size();
    return info.isFile() ? QString() : QStringLiteral("is not a regular file");
#endif
}

} // namespace RegularFile
