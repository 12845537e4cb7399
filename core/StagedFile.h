// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A new content for an existing file, written beside it under a name of ours (".zvd-<pid>-...")
// and put in its place by one rename. Until then the file stays whole: a failure or a killed
// process leaves only the staged file, which the destructor or a later start removes.
#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>

class StagedFile
{
public:
    explicit StagedFile(const QString& target);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Creates the staged file, unbuffered, so a full disk fails the very write that meets it.
    // False with the reason in *error when the folder takes no new file.
    bool open(QString* error);
    QFile& file() { return m_file; }
    QString stagedPath() const { return m_file.fileName(); }

    // Writes bytes, remembering the system's reason when it fails.
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }

    // The reason of the last failed write: the system's own text ("No space left on device"),
    // which Qt's device error often loses on the way.
    QString writeError() const;

    // Puts the content on the disk and closes the staged file, so that others may open it by
    // its path (stagedPath) to change it further before the commit.
    bool finishWriting(QString* error);

    // The time the file shows as last modified once it is in place.
    void setModified(const QDateTime& time) { m_modified = time; }

    // Finishes writing, gives the content the target's permissions (when there is a target yet)
    // and renames it over the target. False with the reason in *error; the target is then untouched.
    bool commit(QString* error);

private:
    QString m_target;
    QFile m_file;
    bool m_committed = false;
    int m_lastErrno = 0;
    QDateTime m_modified;
};
