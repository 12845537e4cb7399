// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Walks the frame headers of an ID3v2.3/2.4 tag. The caller decides which frames' data to
// fetch, so a list of files can skip pictures without reading them.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>

class FileWindow;

namespace ID3v2FrameReader {

// Called per frame with its identifier's four bytes and where its data lies in the file.
using FrameVisitor = std::function<void(QByteArrayView id, qint64 dataOffset, qint64 dataSize)>;

// Reads the tag whose version byte is at the 1-based file position `position` (as FindTag
// returns it) and visits its frames in file order; returns the major version byte. Frames are
// read only for versions 3 and 4. The walk ends quietly at padding, at a frame size that is 0 or
// larger than the tag, at a frame cut off by the end of the file, and at the end of the tag.
quint8 walk(FileWindow& file, qint64 position, const FrameVisitor& visit);

} // namespace ID3v2FrameReader
