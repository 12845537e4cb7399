// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Gives the same texts as reading the file with cMP3ID3v2 and, without an ID3v2 tag, with
// cMP3ID3v1, but fetches only the three frames it shows and skips pictures unread.
#include "audio/TagColumns.h"

#include "audio/FileWindow.h"
#include "audio/GenreName.h"
#include "audio/ID3v2FrameReader.h"
#include "audio/ID3v2FrameText.h"
#include "audio/ID3v2Locator.h"
#include "audio/ReadOnlyFile.h"
#include "audio/TagError.h"
#include "audio/cMP3ID3v1.h"

namespace
{

TagColumns fromId3v2(FileWindow& window, qint64 position)
{
    TagColumns columns;
    QStringList genres;
    // Identifiers are compared as bytes: no text is made for the frames that are skipped.
    ID3v2FrameReader::walk(window, position, [&](ID3v2FrameReader::Frame& frame) {
        const QByteArrayView id = frame.id();
        if (id == QByteArrayView("TIT2"))
            columns.title = ID3v2FrameText::value(u"TIT2", frame.data());
        else if (id == QByteArrayView("TPE1"))
            columns.artist = ID3v2FrameText::value(u"TPE1", frame.data());
        else if (id == QByteArrayView("TCON"))
            genres = ID3v2FrameText::values(frame.data());
    });
    // A genre given only as text ("Rock", as most taggers now write it) is shown as that text.
    columns.genre = ID3v2FrameText::genreColumn(genres);
    return columns;
}

// A text as a list shows it: up to its first NUL (the padding of fixed-size fields), without
// trailing blanks. The tag classes keep the bytes as stored.
QString withoutPadding(const QString& text)
{
    const qsizetype end = text.indexOf(QChar(0));
    QString cut = end >= 0 ? text.left(end) : text;
    while (!cut.isEmpty() && cut.back().isSpace())
        cut.chop(1);
    return cut;
}

TagColumns shownColumns(const TagColumns& columns)
{
    return {withoutPadding(columns.title), withoutPadding(columns.artist), withoutPadding(columns.genre)};
}

TagColumns columnsOf(FileWindow& window)
{
    const qint64 position = ID3v2Locator::FindTag(window);
    if (position > 0) {
        const TagColumns columns = fromId3v2(window, position);
        // A version 2 tag that gives none of the three (an unknown version, a damaged tag, one
        // holding only a picture) leaves the columns to the version 1 tag.
        if (columns != TagColumns())
            return shownColumns(columns);
    }
    if (window.size() <= cMP3ID3v1::TagSize)
        return {};
    cMP3ID3v1 v1;
    v1.parseTail(window.read(window.size() - cMP3ID3v1::TagSize, cMP3ID3v1::TagSize), window.size());
    if (!v1.HasID3v1Tag())
        return {};
    return shownColumns({v1.Title(), v1.Artist(), GenreName(v1.Genre())});
}

TagColumns shown(TagColumns columns)
{
    return {shownText(columns.title), shownText(columns.artist), shownText(columns.genre)};
}

} // namespace

QString shownText(const QString& text)
{
    if (text.size() <= ShownTextLimit)
        return text;
    // Never half a surrogate pair.
    const qsizetype cut = text.at(ShownTextLimit - 1).isHighSurrogate() ? ShownTextLimit - 1 : ShownTextLimit;
    return text.left(cut);
}

TagColumns readTagColumns(QIODevice& device)
{
    FileWindow window(device, QStringLiteral("cMP3ID3v2"));
    return shown(columnsOf(window));
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
        // The text frames of a tag at the file's start nearly always lie in its first kilobyte,
        // and a file without one is searched in chunks of 4 KiB: one read of 4 KiB serves both.
        FileWindow window(file, QStringLiteral("cMP3ID3v2"), 4096);
        return shown(columnsOf(window));
    } catch (const TagError&) {
        return {};
    }
}
