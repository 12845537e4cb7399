// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "core/StagedFile.h"

#include "core/AppPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace
{

// Windows names files in UTF-16: a wide path reaches every name, an ANSI one only some.
std::filesystem::path nativePath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

// A link is followed: the file it leads to gets the new content, and the link stays a link.
StagedFile::StagedFile(const QString& target)
    : m_target(QFileInfo(target).canonicalFilePath().isEmpty() ? target
                                                               : QFileInfo(target).canonicalFilePath())
{
}

StagedFile::~StagedFile()
{
    if (m_committed || m_file.fileName().isEmpty())
        return;
    m_file.close();
    QFile::remove(m_file.fileName());
}

bool StagedFile::open(QString* error)
{
    const QDir folder = QFileInfo(m_target).absoluteDir();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = AppPaths::tempPrefix() +
                             QString::number(QRandomGenerator::global()->generate(), 36) +
                             QStringLiteral(".tmp");
        m_file.setFileName(folder.filePath(name));
        // NewOnly: a name that happens to exist is never opened, whoever's file it is.
        if (m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return true;
        if (!m_file.exists())
            break; // the folder itself refuses new files
    }
    if (error)
        *error = QDir::toNativeSeparators(folder.path()) + QLatin1String(": ") + m_file.errorString();
    m_file.setFileName(QString());
    return false;
}

bool StagedFile::write(const char* data, qint64 size)
{
    errno = 0;
    if (m_file.write(data, size) == size)
        return true;
    m_lastErrno = errno;
    return false;
}

QString StagedFile::writeError() const
{
    const QString reason =
        m_lastErrno != 0 ? QString::fromLocal8Bit(std::strerror(m_lastErrno)) : m_file.errorString();
    return QDir::toNativeSeparators(m_target) + QLatin1String(": ") + reason;
}

bool StagedFile::finishWriting(QString* error)
{
    if (m_file.fileName().isEmpty()) {
        if (error)
            *error = QDir::toNativeSeparators(m_target) + QLatin1String(": nothing was staged");
        return false;
    }
    if (!m_file.isOpen())
        return true;
#ifndef Q_OS_WIN
    // The new content is on the disk before its name replaces the old one, so a power cut
    // leaves either file whole.
    if (::fsync(m_file.handle()) != 0) {
        if (error)
            *error = QDir::toNativeSeparators(m_target) + QLatin1String(": ") +
                     QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
#endif
    m_file.close();
    return true;
}

bool StagedFile::commit(QString* error)
{
    if (!finishWriting(error))
        return false;
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = QDir::toNativeSeparators(m_target) + QLatin1String(": ") + reason;
        return false;
    };
    if (m_modified.isValid()) {
        QFile staged(m_file.fileName());
        if (!staged.open(QIODevice::ReadWrite | QIODevice::ExistingOnly) ||
            !staged.setFileTime(m_modified, QFileDevice::FileModificationTime))
            return fail(staged.errorString());
    }
    // A new file keeps the permissions it was created with (an absent target has none to give).
    if (QFileInfo::exists(m_target))
        m_file.setPermissions(QFile::permissions(m_target));
    std::error_code code;
    std::filesystem::rename(nativePath(m_file.fileName()), nativePath(m_target), code);
    if (code)
        return fail(QString::fromStdString(code.message()));
    m_committed = true;
    return true;
}
