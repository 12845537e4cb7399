// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "transfer/PreparedCopy.h"

#include "core/AppPaths.h"
#include "core/LocalPath.h"
#include "core/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <unistd.h>
#endif

namespace
{
constexpr qint64 ChunkSize = 1 << 20;

// The kernel copies the source's bytes file to file, without a trip through this process (and
// shares the blocks where the file system can). Both files are at their start. Returns the bytes
// copied before the source ended or the kernel declined (another file system, an old kernel);
// the caller copies the rest, if any, by hand. -1 on a read or write error.
qint64 copyInKernel(QFile& source, QFile& copy)
{
    qint64 done = 0;
#ifdef Q_OS_LINUX
    for (;;) {
        const ssize_t got = ::copy_file_range(source.handle(), nullptr, copy.handle(), nullptr, 1 << 30, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP))
            break;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    // QFile keeps its own idea of the position: both files go on where the kernel stopped.
    if (done > 0 && (!source.seek(done) || !copy.seek(done)))
        return -1;
#else
    Q_UNUSED(source);
    Q_UNUSED(copy);
#endif
    return done;
}
} // namespace

PreparedCopy::PreparedCopy() = default;

PreparedCopy::~PreparedCopy()
{
    remove();
}

void PreparedCopy::remove()
{
    if (!m_path.isEmpty())
        QFile::remove(m_path);
    m_path.clear();
    if (!m_privateFolder.isEmpty())
        QDir(m_privateFolder).removeRecursively();
    m_privateFolder.clear();
}

bool PreparedCopy::fail(const QString& error)
{
    m_error = error;
    remove();
    return false;
}

// The last copy's file, renamed to the new name and opened for writing over. Overwriting
// pages the kernel already holds costs far less than filling a new file and freeing an old
// one (about a third of a send's time on ext4). False when there is none or it will not do;
// the caller then starts afresh.
bool PreparedCopy::reuseTarget(const QString& fileName, QFile& file)
{
    if (m_path.isEmpty())
        return false;
    const QString wanted = QDir(m_privateFolder).filePath(fileName);
    // Only our own file lives in the private folder, so the new name is free (or is this file,
    // when two sources share a name).
    if (wanted != m_path) {
        if (!QFile::rename(m_path, wanted))
            return false;
        m_path = wanted;
    }
    file.setFileName(m_path);
    // Not truncated here: the new bytes go over the old ones, and the end is cut after them.
    return file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly);
}

bool PreparedCopy::openTarget(const QString& fileName, QFile& file)
{
    if (reuseTarget(fileName, file))
        return true;
    remove();
    m_privateFolder = AppPaths::createTempFolder();
    if (m_privateFolder.isEmpty())
        return false;
    // Written through the descriptor that created it: opening the new file again to truncate
    // it would make ext4 push its blocks to the disk on close, only for it to be deleted.
    file.setFileName(QDir(m_privateFolder).filePath(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    m_path = file.fileName();
    return true;
}

bool PreparedCopy::make(const QString& sourcePath, qint64 headSize, const BlockFor& blockFor)
{
    m_error.clear();
    const QString fileName = QFileInfo(sourcePath).fileName();
    // The player stores the copy under this name, in its code page: a name it cannot hold would
    // arrive under another name, or not at all.
    if (const QString why = LocalPath::playerNameProblem(fileName); !why.isEmpty())
        return fail(why);
    QFile source;
    QString why;
    if (!RegularFile::open(source, sourcePath, QIODevice::ReadOnly, &why))
        return fail(why);
    QFile copy;
    if (!openTarget(fileName, copy))
        return fail(QStringLiteral("cannot create a temporary copy"));

    // The head (for the block's bit rate) is read on its own; the copy then takes the whole
    // source from its start.
    QByteArray head(qMax<qint64>(headSize, 0), Qt::Uninitialized);
    const qint64 headGot = headSize > 0 ? source.read(head.data(), headSize) : 0;
    if (headGot < 0 || !source.seek(0))
        return fail(source.errorString());
    head.truncate(headGot);
    qint64 copied = copyInKernel(source, copy);
    if (copied < 0)
        return fail(copy.error() != QFileDevice::NoError
                        ? copy.errorString()
                        : QStringLiteral("cannot copy: ") + qt_error_string(errno));
    QByteArray chunk;
    for (;;) {
        if (chunk.isEmpty())
            chunk.resize(ChunkSize);
        const qint64 got = source.read(chunk.data(), ChunkSize);
        if (got < 0)
            return fail(source.errorString());
        if (got == 0)
            break;
        if (copy.write(chunk.constData(), got) != got)
            return fail(copy.errorString());
        copied += got;
    }
    const QByteArray block = blockFor(head, copied);
    // A reused file may hold more of an earlier, longer song: it ends after the block.
    if (copy.write(block) != block.size() || !copy.flush() || !copy.resize(copied + block.size()))
        return fail(copy.errorString());
    copy.close();
    if (copy.error() != QFileDevice::NoError)
        return fail(copy.errorString());
    return true;
}
