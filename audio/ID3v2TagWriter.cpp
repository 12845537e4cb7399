// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "audio/ID3v2TagWriter.h"

#include "audio/FileWindow.h"
#include "audio/ID3v2Locator.h"
#include "audio/TagError.h"
#include "core/CodePage.h"
#include "core/StagedFile.h"

#include <QFile>

namespace ID3v2TagWriter
{
namespace
{

const QString kClass = QStringLiteral("cMP3ID3v2");
constexpr qint64 HeaderSize = 10;
constexpr qint64 CopyPiece = 64 * 1024;

void appendBigEndian(QByteArray& bytes, quint32 value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(static_cast<char>(value >> shift & 0xFF));
}

void setSizeField(QByteArray& image, quint32 size)
{
    for (int i = 0; i < 4; ++i)
        image[6 + i] = static_cast<char>(size >> (24 - 8 * i) & 0xFF);
}

quint32 plain(const QByteArray& b, int at)
{
    return quint32(quint8(b[at])) << 24 | quint32(quint8(b[at + 1])) << 16 | quint32(quint8(b[at + 2])) << 8 |
           quint8(b[at + 3]);
}

quint32 syncsafe(const QByteArray& b, int at)
{
    return quint32(quint8(b[at]) & 0x7F) << 21 | quint32(quint8(b[at + 1]) & 0x7F) << 14 |
           quint32(quint8(b[at + 2]) & 0x7F) << 7 | (quint8(b[at + 3]) & 0x7F);
}

// The file gets `inserted` new bytes at its start, the image written over them (and over the
// start of the old tag when the image is longer). Everything goes into a file of ours beside the
// original that replaces it in one rename, so a failure, or a kill at any moment, leaves the
// original whole (the debris carries our process id, and a later start removes it).
void rebuild(QFile& original, const QByteArray& image, qint64 inserted)
{
    StagedFile target(original.fileName());
    QString error;
    if (!target.open(&error))
        throw TagError(QFileDevice::OpenError, TagError::sourceFor(kClass), error);
    const qint64 skip = qMax<qint64>(0, image.size() - inserted);
    bool ok = target.write(image);
    for (qint64 zeros = inserted - image.size(); ok && zeros > 0; zeros -= CopyPiece)
        ok = target.write(QByteArray(qMin(zeros, CopyPiece), '\0'));
    ok = ok && original.seek(skip);
    QByteArray piece(CopyPiece, '\0');
    while (ok && !original.atEnd()) {
        const qint64 got = original.read(piece.data(), CopyPiece);
        if (got < 0)
            throw TagError::fromFile(original, kClass);
        if (got == 0)
            break;
        ok = target.write(piece.constData(), got);
    }
    original.close();
    if (!ok)
        throw TagError(QFileDevice::WriteError, TagError::sourceFor(kClass), target.writeError());
    if (!target.commit(&error))
        throw TagError(QFileDevice::RenameError, TagError::sourceFor(kClass), error);
}

} // namespace

QByteArray image(const QList<QPair<QString, QString>>& frames, const QList<QByteArray>& rawFrames)
{
    QByteArray bytes("ID3\x03\x00\x00\x00\x00\x00\x00", HeaderSize);
    for (const auto& [id, text] : frames) {
        const QByteArray idBytes = CodePage::fromUnicode(id).left(4);
        if (idBytes.size() < 4)
            throw TagError(TagError::InvalidArgument, TagError::sourceFor(kClass),
                           QStringLiteral("\"%1\" is not a frame identifier.").arg(id));
        const QByteArray data = '\0' + CodePage::fromUnicode(text);
        bytes.append(idBytes);
        appendBigEndian(bytes, static_cast<quint32>(data.size()));
        bytes.append("\0\0", 2);
        bytes.append(data);
    }
    for (const QByteArray& frame : rawFrames)
        bytes.append(frame);
    bytes.append(QByteArray(4, '\0'));
    return bytes;
}

QByteArray pictureFrame(const QByteArray& picture, const QString& mimeType, quint8 pictureType)
{
    // Encoding 0, the MIME type, the picture type, an empty description, then the bytes.
    QByteArray data(1, '\0');
    data.append(mimeType.toLatin1());
    data.append('\0');
    data.append(static_cast<char>(pictureType));
    data.append('\0');
    data.append(picture);
    QByteArray frame("APIC");
    appendBigEndian(frame, static_cast<quint32>(data.size()));
    frame.append("\0\0", 2);
    frame.append(data);
    return frame;
}

QByteArray newFileTag(QByteArray image)
{
    const qint64 room = roomFor(image.size());
    const auto body = static_cast<quint32>(room - HeaderSize);
    image.append(QByteArray(room - image.size(), '\0'));
    for (int i = 0; i < 4; ++i)
        image[6 + i] = static_cast<char>(body >> (21 - 7 * i) & 0x7F);
    return image;
}

qint64 roomFor(qint64 imageSize)
{
    return (imageSize / RoomUnit + 1) * RoomUnit;
}

qint64 oldRoom(const QByteArray& header, qint64 tagStart, qint64 fileSize)
{
    const qint64 left = fileSize - tagStart;
    if (header.size() < HeaderSize)
        return qMax<qint64>(0, left);
    return qMin<qint64>(qMin<qint64>(plain(header, 6), syncsafe(header, 6) + HeaderSize), left);
}

void write(const QString& path, QByteArray tag)
{
    QFile file(path);
    // A file that is gone is an open failure: opening for writing must not create it afresh.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered | QIODevice::ExistingOnly))
        throw TagError::fromFile(file, kClass);
    FileWindow window(file, kClass);
    const qint64 position = ID3v2Locator::FindTag(window);
    const qint64 room = roomFor(tag.size());
    if (position == 0) {
        setSizeField(tag, static_cast<quint32>(room));
        rebuild(file, tag, room);
        return;
    }
    const qint64 tagStart = position - 4;
    const QByteArray header = window.read(tagStart, HeaderSize).toByteArray();
    const qint64 old = oldRoom(header, tagStart, window.size());
    if (tag.size() < old) {
        // The old header's size bytes stay as they were: they still describe the same room.
        tag.replace(6, 4, header.mid(6, 4));
        if (!file.seek(tagStart) || file.write(tag) != tag.size() || !file.flush())
            throw TagError::fromFile(file, kClass);
        return;
    }
    setSizeField(tag, static_cast<quint32>(room));
    // A tag that does not start the file stays where it is, as data; the new tag gets a whole
    // new room so nothing before the old tag is overwritten.
    rebuild(file, tag, tagStart == 0 ? room - old : room);
}

} // namespace ID3v2TagWriter
