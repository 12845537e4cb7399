// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Writes a tag model into an MP3 file as an ID3v2.3 tag: in place when it fits the old tag's
// room, else by rebuilding the file with new room at its start.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace ID3v2TagWriter
{

inline constexpr qint64 RoomUnit = 2048;

// The tag image: header (size field still zero), one frame per (identifier, text) pair, four
// zero bytes. Throws TagError for an identifier shorter than four bytes.
// rawFrames (whole frames, as pictureFrame makes them) follow the text frames.
QByteArray image(const QList<QPair<QString, QString>>& frames, const QList<QByteArray>& rawFrames = {});

// An attached picture frame (APIC): the picture's bytes as they are, its MIME type, and the
// picture type (3 = front cover).
QByteArray pictureFrame(const QByteArray& picture, const QString& mimeType, quint8 pictureType = 3);

// The image padded to roomFor(its size) with its header's size field in the published
// (syncsafe, header-excluded) form, for a file this program creates: other players and taggers
// read it as written, and this program's readers take such a size too.
QByteArray newFileTag(QByteArray image);

// The room a new tag of imageSize bytes gets: the next multiple of 2048 above it.
qint64 roomFor(qint64 imageSize);

// The room an existing tag really occupies, from its 10-byte header at tagStart in a file of
// fileSize bytes: the smaller of the plain size (as this program writes it) and the syncsafe
// size plus the header (as other taggers write it), and never past the end of the file.
qint64 oldRoom(const QByteArray& header, qint64 tagStart, qint64 fileSize);

// Places the image into the file. A rebuild writes a temporary file in the file's own folder
// that replaces it in one rename; on any failure the file is unchanged. Throws TagError.
void write(const QString& path, QByteArray image);

} // namespace ID3v2TagWriter
