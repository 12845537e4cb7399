// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A listing built as bytes reads exactly as the same fields written through a UTF-8 text stream.
#include "cli/ListingBuffer.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <limits>

namespace
{

QByteArray throughStream(const QStringList& fields, const std::vector<qint64>& numbers)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QTextStream out(&buffer);
    out.setEncoding(QStringConverter::Utf8);
    for (const QString& field : fields)
        out << field << '\t';
    for (qint64 number : numbers)
        out << number << '\n';
    out.flush();
    return bytes;
}

TEST(ListingBuffer, FieldsAndNumbersComeOutAsTheTextStreamWritesThem)
{
    const QStringList fields = {
        QString(),
        QStringLiteral("plain ascii.mp3"),
        QStringLiteral(u"caf\u00e9 \u00ff.mp3"),
        QStringLiteral(u"\u97f3\u697d \U0001F3B5"),      // CJK and a character beyond the BMP
        QString(1, QChar(0xD800)) + QStringLiteral("x"), // an unpaired surrogate
        QStringLiteral("cut off") + QChar(0xD83C),       // a pair cut off at the field's end
        QStringLiteral("tab\tinside"),
        QString(1, QChar(0x7F)) + QString(1, QChar(0x80)), // last ASCII, first beyond
    };
    const std::vector<qint64> numbers = {
        0, 7, -1, 30000, std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min()};
    ListingBuffer listing;
    for (const QString& field : fields)
        listing << field << '\t';
    for (qint64 number : numbers)
        listing << number << '\n';
    EXPECT_EQ(listing.bytes().toHex().toStdString(), throughStream(fields, numbers).toHex().toStdString());

    // Written after what the stream already holds, in order.
    QByteArray written;
    QBuffer device(&written);
    device.open(QIODevice::WriteOnly);
    QTextStream out(&device);
    out.setEncoding(QStringConverter::Utf8);
    out << "before\n";
    listing.writeTo(out);
    out << "after\n";
    out.flush();
    EXPECT_EQ(written, "before\n" + listing.bytes() + "after\n");
}

} // namespace
