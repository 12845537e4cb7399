// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The 128-byte ID3v1.1 tag at the end of an MP3 file: read on assigning the file, written by
// Update. Errors are raised as TagError with the source "<program>.cMP3ID3v1".
#pragma once

#include <QByteArrayView>
#include <QString>

class QIODevice;

class cMP3ID3v1
{
public:
    static constexpr qint64 TagSize = 128;

    QString MP3File() const { return m_path; }
    // Stores the path, then reads its tag; a read error is raised with the path kept.
    void setMP3File(const QString& path);

    // Writes the properties into the file's tag, appending one when the file has none.
    void Update();

    bool HasID3v1Tag() const { return m_hasTag; }
    QString Title() const { return m_title; }
    void setTitle(const QString& value) { m_title = value; }
    QString Artist() const { return m_artist; }
    void setArtist(const QString& value) { m_artist = value; }
    QString Album() const { return m_album; }
    void setAlbum(const QString& value) { m_album = value; }
    QString Year() const { return m_year; }
    void setYear(const QString& value) { m_year = value; }
    quint8 Track() const { return m_track; }
    void setTrack(quint8 value) { m_track = value; }
    QString Comment() const { return m_comment; }
    void setComment(const QString& value) { m_comment = value; }
    quint8 Genre() const { return m_genre; }
    void setGenre(quint8 value) { m_genre = value; }
    QString GenreName(quint8 genre) const;

    // Reads the tag of already opened data (a file or a buffer), replacing all properties.
    void readTag(QIODevice& device);

    // Fills the properties from the last 128 bytes of a file of fileLength bytes.
    void parseTail(QByteArrayView tail, qint64 fileLength);

private:
    void reset();

    QString m_path;
    bool m_hasTag = false;
    QString m_title;
    QString m_artist;
    QString m_album;
    QString m_year;
    QString m_comment;
    quint8 m_track = 0;
    quint8 m_genre = 255;
};
