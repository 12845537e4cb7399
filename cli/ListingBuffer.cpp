// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "cli/ListingBuffer.h"

#include <QFileDevice>
#include <QString>

ListingBuffer& ListingBuffer::operator<<(QStringView text)
{
    const qsizetype start = m_bytes.size();
    m_bytes.resize(start + text.size());
    char* out = m_bytes.data() + start;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            // Anything beyond ASCII (and any unpaired surrogate) goes through Qt's own encoder.
            m_bytes.truncate(start);
            m_bytes.append(text.toUtf8());
            return *this;
        }
        *out++ = static_cast<char>(c.unicode());
    }
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
