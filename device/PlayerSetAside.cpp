// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "device/PlayerSetAside.h"

#include "core/AppPaths.h"

#include <QCoreApplication>

#include <algorithm>

namespace PlayerSetAside
{
namespace
{

const QLatin1String Prefix("~zvd-");
// The longest long name the player's file system holds.
constexpr qsizetype MaxName = 255;

bool sameIgnoringCase(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString nameFor(const QString& name)
{
    const QString aside =
        Prefix + QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-') + name;
    return aside.size() <= MaxName ? aside : QString();
}

std::optional<SetAside> parse(const QString& entryName)
{
    if (!entryName.startsWith(Prefix))
        return std::nullopt;
    const qsizetype dash = entryName.indexOf(QLatin1Char('-'), Prefix.size());
    if (dash <= Prefix.size() || dash + 1 >= entryName.size())
        return std::nullopt;
    for (qsizetype i = Prefix.size(); i < dash; ++i)
        if (!entryName[i].isDigit())
            return std::nullopt;
    const qint64 owner = entryName.mid(Prefix.size(), dash - Prefix.size()).toLongLong();
    if (owner <= 0)
        return std::nullopt;
    return SetAside{owner, entryName.mid(dash + 1)};
}

bool readRecord(PlayerSession& session, int32_t index, PlayerEntry& record)
{
    if (index < 0 || index >= PlayerSession::MaxListedEntries)
        return false;
    const int32_t wanted = index + 1;
    std::vector<PlayerEntry> records(std::size_t(wanted), PlayerEntry{});
    int32_t total = 0;
    int32_t count = wanted;
    if (!session.library().Refresh(session.handle(), 0, total, records.data(), count) || count < wanted)
        return false;
    record = records[std::size_t(index)];
    return true;
}

bool renameEntry(PlayerSession& session, int32_t index, const QString& name, const QString& newName)
{
    PlayerEntry record{};
    if (!readRecord(session, index, record))
        return false;
    // Another program may have changed the list since it was read: rename only the entry meant.
    if (decodePlayerEntry(record, index).displayName() != name)
        return false;
    return session.library().Rename(session.handle(), 0, index, newName, record);
}

QStringList restoreLeftovers(PlayerSession& session, bool ownToo)
{
    QStringList problems;
    if (!session.isConnected() || !session.listRead())
        return problems;
    struct Leftover {
        int32_t index;
        QString name;
        QString original;
    };
    std::vector<Leftover> leftovers;
    const std::vector<PlayerFile>& entries = session.allEntries();
    for (const PlayerFile& entry : entries) {
        const auto aside = parse(entry.displayName());
        // A process that still runs is in the middle of its replace: leave its entry alone.
        if (aside && ((ownToo && aside->owner == QCoreApplication::applicationPid()) ||
                      !AppPaths::isProcessAlive(aside->owner)))
            leftovers.push_back({entry.index, entry.displayName(), aside->original});
    }
    if (leftovers.empty())
        return problems;
    // From the last entry back, so that a deletion moves none of the entries still to do.
    std::sort(leftovers.begin(), leftovers.end(),
              [](const Leftover& a, const Leftover& b) { return a.index > b.index; });
    for (const Leftover& leftover : leftovers) {
        const bool replaced = std::any_of(entries.begin(), entries.end(), [&](const PlayerFile& entry) {
            return sameIgnoringCase(entry.displayName(), leftover.original);
        });
        const bool done = replaced ? session.library().Delete(session.owner(), session.handle(), 0,
                                                              leftover.index, leftover.name)
                                   : renameEntry(session, leftover.index, leftover.name, leftover.original);
        if (!done)
            problems << QString(replaced ? session.texts().asideNotDeleted : session.texts().asideNotRenamed)
                            .arg(leftover.original, leftover.name);
    }
    session.RefreshPlayerList();
    return problems;
}

} // namespace PlayerSetAside
