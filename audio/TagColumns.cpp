// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Gives the same texts as reading the file with cMP3ID3v2 and, without an ID3v2 tag, with
// cMP3ID3v1, but fetches only the three frames it shows and skips pictures unread.
#include "TagColumns.h"

#include "FileWindow.h"
#include "GenreName.h"
#include "ID3v2FrameReader.h"
#include "ID3v2FrameText.h"
#include "ID3v2Locator.h"
#include "ReadOnlyFile.h"
#include "TagError.h"
#include "cMP3ID3v1.h"

namespace {

TagColumns fromId3v2(FileWindow& window, qint64 position)
{
    TagColumns columns;
    quint8 genre = NoGenre;
    QString otherGenreName;
    // Identifiers are compared as bytes: no text is made for the frames that are skipped.
    ID3v2FrameReader::walk(window, position, [&](QByteArrayView id, qint64 offset, qint64 size) {
        if (id == QByteArrayView("TIT2"))
            columns.title = ID3v2FrameText::value(u"TIT2", window.read(offset, size));
        else if (id == QByteArrayView("TPE1"))
            columns.artist = ID3v2FrameText::value(u"TPE1", window.read(offset, size));
        else if (id == QByteArrayView("TCON"))
            ID3v2FrameText::applyContentType(ID3v2FrameText::value(u"TCON", window.read(offset, size)), genre,
                                             otherGenreName);
    });
    // A genre given only as text ("Rock", as most taggers now write it) is shown as that text.
    columns.genre = genre != NoGenre ? GenreName(genre) : otherGenreName;
    return columns;
}

TagColumns columnsOf(FileWindow& window)
{
    const qint64 position = ID3v2Locator::FindTag(window);
    if (position > 0)
        return fromId3v2(window, position);
    if (window.size() <= cMP3ID3v1::TagSize)
        return {};
    cMP3ID3v1 v1;
    v1.parseTail(window.read(window.size() - cMP3ID3v1::TagSize, cMP3ID3v1::TagSize), window.size());
    if (!v1.HasID3v1Tag())
        return {};
    return {v1.Title(), v1.Artist(), GenreName(v1.Genre())};
}

} // namespace

TagColumns readTagColumns(QIODevice& device)
{
    FileWindow window(device, QStringLiteral("cMP3ID3v2"));
    return columnsOf(window);
}

TagColumns readTagColumns(const QString& path)
{
    ReadOnlyFile file(path);
    return readTagColumns(file);
}

TagColumns readTagColumns(ReadOnlyFile& file)
{
    if (!file.isOpen())
        return {};
    try {
        // The text frames of a tag at the file's start nearly always lie in its first kilobyte.
        FileWindow window(file, QStringLiteral("cMP3ID3v2"), 1024);
        return columnsOf(window);
    } catch (const TagError&) {
        return {};
    }
}
