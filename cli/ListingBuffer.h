// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A command's whole listing built as UTF-8 bytes and written at once. Listings of tens of
// thousands of lines are mostly ASCII; taking those fields byte for byte, and writing the result
// in one go rather than through the text stream field by field, is most of what printing costs.
#pragma once

#include <QByteArray>
#include <QStringView>
#include <QTextStream>

class ListingBuffer
{
public:
    explicit ListingBuffer(qsizetype expectedBytes = 0) { m_bytes.reserve(expectedBytes); }

    // The text as UTF-8, exactly as the text stream would have written it.
    ListingBuffer& operator<<(QStringView text);
    ListingBuffer& operator<<(char c)
    {
        m_bytes.append(c);
        return *this;
    }
    ListingBuffer& operator<<(qint64 number);

    const QByteArray& bytes() const { return m_bytes; }

    // A hint that the memory at address is about to be read; no effect where the compiler
    // offers none.
    static void prefetch(const void* address)
    {
#if defined(__GNUC__)
        __builtin_prefetch(address);
#else
        Q_UNUSED(address);
#endif
    }

    // Writes everything after what the stream holds already, and flushes both.
    void writeTo(QTextStream& out) const;

private:
    QByteArray m_bytes;
};
