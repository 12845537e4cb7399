// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Bounded random-access reads over an open file or buffer, served from one cached window, so
// tag parsing costs a few large reads instead of many small ones.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QIODevice;
class ReadOnlyFile;

// The part of bytes from pos on, at most n bytes (all when n < 0), clipped to the data: never
// outside it.
inline QByteArrayView bytesAt(QByteArrayView bytes, qsizetype pos, qsizetype n = -1)
{
    if (pos < 0 || pos >= bytes.size())
        return QByteArrayView();
    const qsizetype left = bytes.size() - pos;
    return bytes.sliced(pos, n < 0 || n > left ? left : n);
}

class FileWindow
{
public:
    // errorSource names the class whose TagError a failed read raises.
    FileWindow(QIODevice& device, QString errorSource, qint64 windowSize = 4096);
    FileWindow(ReadOnlyFile& file, QString errorSource, qint64 windowSize = 4096);

    qint64 size() const { return m_size; }

    // The bytes from offset on, at most length of them (fewer at the end of the data). The view
    // stays valid until the next call.
    QByteArrayView read(qint64 offset, qint64 length);

    // The byte at offset, or -1 beyond the end of the data.
    int byteAt(qint64 offset);

private:
    qint64 readRaw(qint64 offset, char* data, qint64 length);
    void fill(qint64 offset, qint64 length, bool append);

    QIODevice* m_device = nullptr;
    ReadOnlyFile* m_file = nullptr;
    QString m_errorSource;
    qint64 m_windowSize;
    // How far the next forward step reads; grows while the reader keeps walking forward.
    static constexpr qint64 MaxReadAhead = 512 * 1024;
    qint64 m_readAhead = 0;
    qint64 m_size;
    qint64 m_start = 0;
    QByteArray m_data;
};
