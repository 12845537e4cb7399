// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "convert/Mp3Tagging.h"

#include "audio/GenreName.h"
#include "audio/TagError.h"
#include "audio/cMP3ID3v1.h"
#include "audio/cMP3ID3v2.h"
#include "convert/SourceTags.h"

namespace
{

// The number of a genre the ID3 list names (any letter case), else NoGenre.
quint8 genreNumber(const QString& name)
{
    if (name.isEmpty())
        return NoGenre;
    for (int n = 0; n < NoGenre; ++n) {
        if (GenreName(quint8(n)).compare(name, Qt::CaseInsensitive) == 0)
            return quint8(n);
    }
    return NoGenre;
}

bool isEmpty(const SourceTags& tags)
{
    return tags.title.isEmpty() && tags.artist.isEmpty() && tags.album.isEmpty() && tags.genre.isEmpty() &&
           tags.year == 0 && tags.track == 0 && tags.cover.isEmpty();
}

} // namespace

namespace Mp3Tagging
{

QByteArray id3v2For(const SourceTags& tags)
{
    if (isEmpty(tags))
        return {};
    cMP3ID3v2 tag;
    if (!tags.title.isEmpty())
        tag.setTitle(tags.title);
    if (!tags.artist.isEmpty())
        tag.setArtist(tags.artist);
    if (!tags.album.isEmpty())
        tag.setAlbum(tags.album);
    if (tags.year > 0)
        tag.setYear(QString::number(tags.year));
    if (tags.track > 0)
        tag.setTrack(QString::number(tags.track));
    if (const quint8 number = genreNumber(tags.genre); number != NoGenre)
        tag.setGenre(number); // "(17)": every reader shows the list's name
    else if (!tags.genre.isEmpty())
        tag.AddTag(QStringLiteral("TCON"), tags.genre); // a name of its own, as plain text
    if (!tags.cover.isEmpty())
        tag.setFrontCover(tags.cover,
                          tags.coverMime.isEmpty() ? QStringLiteral("image/jpeg") : tags.coverMime);
    return tag.newFileTag();
}

bool appendId3v1(const QString& path, const SourceTags& tags, QString& why)
{
    if (isEmpty(tags))
        return true;
    try {
        cMP3ID3v1 tag;
        tag.setMP3File(path);
        tag.setTitle(tags.title);
        tag.setArtist(tags.artist);
        tag.setAlbum(tags.album);
        tag.setYear(tags.year > 0 ? QString::number(tags.year) : QString());
        tag.setTrack(quint8(tags.track > 0 && tags.track < 256 ? tags.track : 0));
        tag.setGenre(genreNumber(tags.genre));
        tag.Update();
    } catch (const TagError& error) {
        why = error.description();
        return false;
    }
    return true;
}

} // namespace Mp3Tagging
