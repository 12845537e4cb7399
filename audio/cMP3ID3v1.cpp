// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "audio/cMP3ID3v1.h"

#include "audio/FileWindow.h"
#include "audio/GenreName.h"
#include "audio/TagError.h"
#include "core/CodePage.h"

#include <QFile>

namespace
{

const QString kClass = QStringLiteral("cMP3ID3v1");

struct Field {
    qsizetype offset;
    qsizetype width;
};
constexpr Field kTitle{3, 30};
constexpr Field kArtist{33, 30};
constexpr Field kAlbum{63, 30};
constexpr Field kYear{93, 4};
constexpr Field kComment{97, 28};
constexpr qsizetype TrackOffset = 126;
constexpr qsizetype GenreOffset = 127;

// Fields keep their trailing NULs and spaces: the list and the LCD title show them as stored.
QString fieldText(QByteArrayView tag, Field field)
{
    return CodePage::toUnicode(bytesAt(tag, field.offset, field.width));
}

// Cut to the field's width without splitting a double-byte character, padded with spaces.
QByteArray fieldBytes(const QString& text, Field field)
{
    QByteArray bytes = CodePage::truncated(CodePage::fromUnicode(text), field.width);
    bytes.append(QByteArray(field.width - bytes.size(), ' '));
    return bytes;
}

} // namespace

void cMP3ID3v1::reset()
{
    m_hasTag = false;
    m_comment.clear();
    m_artist.clear();
    m_album.clear();
    m_year.clear();
    m_title.clear();
    m_genre = NoGenre;
    m_track = 0;
}

void cMP3ID3v1::setMP3File(const QString& path)
{
    m_path = path;
    reset();
    QFile file(path);
    TagError::openForReading(file, kClass);
    readTag(file);
}

void cMP3ID3v1::readTag(QIODevice& device)
{
    reset();
    FileWindow window(device, kClass, TagSize);
    if (window.size() > TagSize)
        parseTail(window.read(window.size() - TagSize, TagSize), window.size());
}

void cMP3ID3v1::parseTail(QByteArrayView tail, qint64 fileLength)
{
    reset();
    if (fileLength <= TagSize || tail.size() < TagSize || !tail.startsWith(QByteArrayView("TAG")))
        return;
    m_hasTag = true;
    m_title = fieldText(tail, kTitle);
    m_artist = fieldText(tail, kArtist);
    m_album = fieldText(tail, kAlbum);
    m_year = fieldText(tail, kYear);
    m_comment = fieldText(tail, kComment);
    m_track = static_cast<quint8>(tail[TrackOffset]);
    m_genre = static_cast<quint8>(tail[GenreOffset]);
}

void cMP3ID3v1::Update()
{
    QFile file(m_path);
    // A file that is gone is an open failure: opening for writing must not create it afresh.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered | QIODevice::ExistingOnly))
        throw TagError::fromFile(file, kClass);
    const qint64 length = file.size();
    if (length == 0)
        throw TagError(TagError::NotValidMp3, TagError::sourceFor(kClass),
                       m_path + QLatin1String(" is not a valid MP3 file."));
    if (length <= TagSize)
        return;

    QByteArray marker(3, '\0');
    if (!file.seek(length - TagSize) || file.read(marker.data(), 3) != 3)
        throw TagError::fromFile(file, kClass);
    QByteArray tag;
    if (marker != "TAG")
        tag = "TAG";
    tag += fieldBytes(m_title, kTitle) + fieldBytes(m_artist, kArtist) + fieldBytes(m_album, kAlbum) +
           fieldBytes(m_year, kYear) + fieldBytes(m_comment, kComment);
    tag.append('\0').append(static_cast<char>(m_track)).append(static_cast<char>(m_genre));
    const qint64 at = marker == "TAG" ? length - TagSize + 3 : length;
    if (!file.seek(at) || file.write(tag) != tag.size() || !file.flush())
        throw TagError::fromFile(file, kClass);
}

QString cMP3ID3v1::GenreName(quint8 genre) const
{
    return ::GenreName(genre);
}
