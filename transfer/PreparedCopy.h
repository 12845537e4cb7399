// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The copy of a music file that the player receives: the source's bytes followed by its title
// block, under the source's own file name (the player stores a file under the name it is given).
// One object serves a whole batch: each make() renames the file it made last to the next name
// and writes over it, so a batch creates and deletes one file instead of one per song.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>

class PreparedCopy
{
public:
    PreparedCopy();
    ~PreparedCopy(); // removes the copy (and its private folder)
    PreparedCopy(const PreparedCopy&) = delete;
    PreparedCopy& operator=(const PreparedCopy&) = delete;

    // Called with the first bytes of the source (up to headSize), before the block is
    // appended; returns the block.
    using BlockFor = std::function<QByteArray(const QByteArray& head, qint64 sourceSize)>;

    // Copies the source into a new file named like it, in a private folder of ours in the
    // program's temporary folder (so neither the user's files there nor the source itself are
    // ever touched, and a killed process leaves only a folder the next start removes), then
    // appends the block. False with error() on any failure, leaving nothing. A second make()
    // reuses the first one's file and folder: the earlier copy is gone once it returns.
    bool make(const QString& sourcePath, qint64 headSize, const BlockFor& blockFor);

    QString path() const { return m_path; }
    QString error() const { return m_error; }

private:
    bool openTarget(const QString& fileName, QFile& file);
    bool reuseTarget(const QString& fileName, QFile& file);
    bool fail(const QString& error);
    void remove();

    QString m_path;
    QString m_error;
    QString m_privateFolder;
};
