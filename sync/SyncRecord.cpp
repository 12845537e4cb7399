// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "sync/SyncRecord.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace
{

constexpr int RecordVersion = 1;
// A record of a player with tens of thousands of entries stays well below this; anything larger
// is not ours.
constexpr qint64 MaxRecordBytes = 64 * 1024 * 1024;

QJsonArray toJson(const std::vector<SyncRecordEntry>& entries)
{
    QJsonArray array;
    for (const SyncRecordEntry& e : entries) {
        array.append(QJsonObject{{QStringLiteral("folder"), e.folder},
                                 {QStringLiteral("path"), e.relativePath},
                                 {QStringLiteral("name"), e.name},
                                 {QStringLiteral("size"), double(e.size)},
                                 {QStringLiteral("modified"), double(e.modified)},
                                 {QStringLiteral("stored"), double(e.stored)},
                                 {QStringLiteral("quality"), e.quality},
                                 {QStringLiteral("albumArtist"), e.key.albumArtist},
                                 {QStringLiteral("album"), e.key.album},
                                 {QStringLiteral("disc"), e.key.disc},
                                 {QStringLiteral("track"), e.key.track}});
    }
    return array;
}

std::vector<SyncRecordEntry> fromJson(const QJsonArray& array)
{
    std::vector<SyncRecordEntry> entries;
    for (const QJsonValue& value : array) {
        const QJsonObject o = value.toObject();
        SyncRecordEntry e;
        e.folder = o.value(QStringLiteral("folder")).toString();
        e.relativePath = o.value(QStringLiteral("path")).toString();
        e.name = o.value(QStringLiteral("name")).toString();
        e.size = qint64(o.value(QStringLiteral("size")).toDouble(-1));
        e.modified = qint64(o.value(QStringLiteral("modified")).toDouble());
        e.stored = qint64(o.value(QStringLiteral("stored")).toDouble(-1));
        e.quality = o.value(QStringLiteral("quality")).toString();
        e.key.albumArtist = o.value(QStringLiteral("albumArtist")).toString();
        e.key.album = o.value(QStringLiteral("album")).toString();
        e.key.disc = o.value(QStringLiteral("disc")).toInt();
        e.key.track = o.value(QStringLiteral("track")).toInt();
        // An entry without a name or sizes could match anything; it is dropped.
        if (!e.name.isEmpty() && !e.folder.isEmpty() && e.size >= 0 && e.stored >= 0)
            entries.push_back(std::move(e));
    }
    return entries;
}

} // namespace

QString SyncRecord::pathFor(const MediumInfo& info)
{
    QByteArray identity;
    for (int i = 0; i < 32; ++i) {
        const bool changesAsItFills = (i >= 5 && i <= 6) || (i >= 9 && i <= 12) || i == 15;
        identity.append(changesAsItFills ? '\0' : char(info.bytes[i]));
    }
    const QString name =
        QString::fromLatin1(QCryptographicHash::hash(identity, QCryptographicHash::Sha256).toHex().left(16));
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data + QStringLiteral("/ZVD/sync/player-") + name + QStringLiteral(".json");
}

bool SyncRecord::load(const QString& path, QString* error)
{
    arrived.clear();
    pending.clear();
    QFile file(path);
    if (!file.exists())
        return true;
    const auto fail = [&](const QString& why) {
        if (error)
            *error = path + QStringLiteral(": ") + why;
        return false;
    };
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    if (file.size() > MaxRecordBytes)
        return fail(QStringLiteral("too large to be a sync record"));
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject())
        return fail(QStringLiteral("not a sync record (%1)").arg(parseError.errorString()));
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("version")).toInt() != RecordVersion)
        return fail(QStringLiteral("a sync record of another version"));
    arrived = fromJson(root.value(QStringLiteral("arrived")).toArray());
    pending = fromJson(root.value(QStringLiteral("pending")).toArray());
    return true;
}

bool SyncRecord::save(const QString& path, QString* error) const
{
    const QJsonObject root{{QStringLiteral("version"), RecordVersion},
                           {QStringLiteral("arrived"), toJson(arrived)},
                           {QStringLiteral("pending"), toJson(pending)}};
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QJsonDocument(root).toJson(QJsonDocument::Compact)) < 0 || !file.commit()) {
        if (error)
            *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

const SyncRecordEntry* SyncRecord::find(const QString& name) const
{
    const auto it = std::find_if(arrived.begin(), arrived.end(), [&](const SyncRecordEntry& e) {
        return e.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    return it == arrived.end() ? nullptr : &*it;
}

void SyncRecord::remove(const QString& name)
{
    std::erase_if(arrived,
                  [&](const SyncRecordEntry& e) { return e.name.compare(name, Qt::CaseInsensitive) == 0; });
}

void SyncRecord::put(const SyncRecordEntry& entry)
{
    remove(entry.name);
    arrived.push_back(entry);
}
