// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "device/PeMachine.h"

#include <QFile>

namespace PeMachine
{

std::uint16_t of(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    // "MZ", then at 0x3C the offset of "PE\0\0", which the 16-bit machine field follows.
    const QByteArray dos = file.read(0x40);
    if (dos.size() < 0x40 || !dos.startsWith("MZ"))
        return 0;
    const auto* d = reinterpret_cast<const unsigned char*>(dos.constData());
    const quint32 offset =
        quint32(d[0x3c]) | quint32(d[0x3d]) << 8 | quint32(d[0x3e]) << 16 | quint32(d[0x3f]) << 24;
    if (offset > 0x10000000 || !file.seek(offset))
        return 0;
    const QByteArray header = file.read(6);
    if (header.size() < 6 || !header.startsWith(QByteArray("PE\0\0", 4)))
        return 0;
    const auto* h = reinterpret_cast<const unsigned char*>(header.constData());
    return static_cast<std::uint16_t>(h[4] | h[5] << 8);
}

} // namespace PeMachine
