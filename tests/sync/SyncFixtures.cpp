// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "SyncFixtures.h"

#include "AudioFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace SyncFixtures
{

QByteArray taggedMp3(const Tags& tags, int frames)
{
    QByteArray body;
    const auto text = [&](const char* id, const QString& value) {
        if (!value.isEmpty())
            body += AudioFixtures::frame(id, QByteArray(1, '\0') + value.toLatin1());
    };
    text("TPE2", tags.albumArtist);
    text("TPE1", tags.artist);
    text("TALB", tags.album);
    text("TPOS", tags.disc);
    text("TRCK", tags.track);
    text("TIT2", tags.title);
    QByteArray file = AudioFixtures::id3v2(3, AudioFixtures::syncsafe(quint32(body.size())), body);
    for (int i = 0; i < frames; ++i)
        file += AudioFixtures::audioFrame();
    return file;
}

QString put(const QString& folder, const QString& relativePath, const QByteArray& bytes)
{
    const QString path = QDir(folder).filePath(relativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

} // namespace SyncFixtures
