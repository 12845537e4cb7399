// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "transfer/PreparedCopy.h"

#include "core/AppPaths.h"
#include "core/LocalPath.h"
#include "core/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{
constexpr qint64 ChunkSize = 1 << 20;
}

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

bool PreparedCopy::createTarget(const QString& fileName)
{
    m_privateFolder = AppPaths::createTempFolder();
    if (m_privateFolder.isEmpty())
        return false;
    QFile file(QDir(m_privateFolder).filePath(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    m_path = file.fileName();
    return true;
}

bool PreparedCopy::make(const QString& sourcePath, qint64 headSize, const BlockFor& blockFor)
{
    remove();
    const QString fileName = QFileInfo(sourcePath).fileName();
    // The player stores the copy under this name, in its code page: a name it cannot hold would
    // arrive under another name, or not at all.
    if (const QString why = LocalPath::playerNameProblem(fileName); !why.isEmpty())
        return fail(why);
    QFile source;
    QString why;
    if (!RegularFile::open(source, sourcePath, QIODevice::ReadOnly, &why))
        return fail(why);
    if (!createTarget(fileName))
        return fail(QStringLiteral("cannot create a temporary copy"));
    QFile copy(m_path);
    if (!copy.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(copy.errorString());

    QByteArray head;
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    qint64 copied = 0;
    for (;;) {
        const qint64 got = source.read(chunk.data(), ChunkSize);
        if (got < 0)
            return fail(source.errorString());
        if (got == 0)
            break;
        if (head.size() < headSize)
            head.append(chunk.constData(), qMin(got, headSize - head.size()));
        if (copy.write(chunk.constData(), got) != got)
            return fail(copy.errorString());
        copied += got;
    }
    const QByteArray block = blockFor(head, copied);
    if (copy.write(block) != block.size() || !copy.flush())
        return fail(copy.errorString());
    copy.close();
    if (copy.error() != QFileDevice::NoError)
        return fail(copy.errorString());
    return true;
}
