// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "cli/ListingBuffer.h"

#include <QFileDevice>
#include <QString>
#include <QStringEncoder>

#include <charconv>

ListingBuffer& ListingBuffer::operator<<(QStringView text)
{
    // Two plain passes (is it all ASCII? then narrow it) rather than one that can stop half-way:
    // the compiler turns both into vector instructions.
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    char16_t all = 0;
    for (qsizetype i = 0; i < n; ++i)
        all |= units[i];
    if (all >= 0x80) {
        // Anything beyond ASCII goes through the encoder the text stream uses, so a surrogate
        // without its pair becomes U+FFFD as there (not '?', as QString::toUtf8 makes it). Each
        // field is whole in itself: one cut off at its end is finished here, not by the next.
        QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
        m_bytes.append(encoder.encode(text));
        return *this;
    }
    const qsizetype start = m_bytes.size();
    m_bytes.resize(start + n);
    char* out = m_bytes.data() + start;
    for (qsizetype i = 0; i < n; ++i)
        out[i] = static_cast<char>(units[i]);
    return *this;
}

ListingBuffer& ListingBuffer::operator<<(qint64 number)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    m_bytes.append(digits, end - digits);
    return *this;
}

void ListingBuffer::writeTo(QTextStream& out) const
{
    out.flush();
    QIODevice* device = out.device();
    if (!device) {
        out << QString::fromUtf8(m_bytes);
        return;
    }
    device->write(m_bytes);
    if (auto* file = qobject_cast<QFileDevice*>(device))
        file->flush();
}
