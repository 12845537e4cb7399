// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "sync/SyncPlan.h"

#include "sync/SyncFormats.h"

#include "core/CodePage.h"
#include "core/LocalPath.h"
#include "device/PlayerView.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <limits>

namespace SyncPlanner
{
namespace
{

using Action = SyncItem::Action;

constexpr qsizetype MaxNameBytes = 255;

QString nameKey(const QString& name)
{
    return name.toCaseFolded();
}

qint64 unitsFor(qint64 bytes, qint64 unitBytes)
{
    if (unitBytes <= 0)
        return bytes;
    return (bytes + unitBytes - 1) / unitBytes * unitBytes;
}

class Planner
{
public:
    explicit Planner(SyncInput& input) : m_in(input)
    {
        for (const PlayerFile& entry : input.entries) {
            if (belongsToView(PlayerView::Audio, entry.extension))
                m_music.insert(nameKey(entry.displayName()), &entry);
            else
                m_otherViews.insert(nameKey(entry.displayName()));
        }
        for (const SyncRecordEntry& e : input.record.arrived)
            m_recorded.insert(nameKey(e.name), &e);
        m_plan.folder = input.folder;
        m_plan.options = input.options;
        m_plan.freeBytes = input.freeBytes;
    }

    SyncPlan run()
    {
        for (const SourceFile& file : m_in.files)
            planFile(file);
        planEntriesWithoutFile();
        planSpace();
        return std::move(m_plan);
    }

private:
    SyncItem itemFor(const SourceFile& file, Action action, const QString& reason)
    {
        SyncItem item;
        item.action = action;
        item.name = file.name;
        item.relativePath = file.relativePath;
        item.path = file.path;
        item.size = file.size;
        item.modified = file.modified;
        item.reason = reason;
        return item;
    }

    void add(SyncItem item)
    {
        if (item.action == Action::Send || item.action == Action::Keep)
            m_claimed.insert(nameKey(item.name));
        m_plan.items.push_back(std::move(item));
    }

    // Why this file is not sent at all, or an empty text.
    QString refusal(const SourceFile& file)
    {
        if (!SyncFormats::playsAsIs(file.name)) {
            if (SyncFormats::needsConversion(file.name) && !SyncFormats::canConvert(file.name))
                return QStringLiteral("needs converting");
            return QStringLiteral("not a music file");
        }
        if (const QString why = LocalPath::playerNameProblem(file.name); !why.isEmpty())
            return why;
        // The entry record holds a long name of 260 bytes; FAT keeps 255 of them.
        if (CodePage::fromUnicode(file.name).size() > MaxNameBytes)
            return QStringLiteral("its name is longer than the player's %1 bytes").arg(MaxNameBytes);
        if (storedSizeOf(file.size) > std::numeric_limits<int32_t>::max())
            return QStringLiteral("too large for the player");
        if (const auto first = m_firstOfName.constFind(nameKey(file.name)); first != m_firstOfName.cend())
            return QStringLiteral("the player keeps one file of a name; %1 has it").arg(*first);
        return QString();
    }

    void planFile(const SourceFile& file)
    {
        if (const QString why = refusal(file); !why.isEmpty()) {
            add(itemFor(file, Action::Skip, why));
            return;
        }
        const QString key = nameKey(file.name);
        m_firstOfName.insert(key, file.relativePath);
        const PlayerFile* entry = m_music.value(key);
        const SyncRecordEntry* recorded = m_recorded.value(key);
        const bool ours =
            recorded && recorded->folder == m_in.folder && recorded->relativePath == file.relativePath;
        if (!entry) {
            if (m_otherViews.contains(key)) {
                add(itemFor(file, Action::Skip,
                            QStringLiteral("the player holds a file of this name in another view")));
                return;
            }
            SyncItem item = itemFor(file, Action::Send, QStringLiteral("new"));
            item.stored = storedSizeOf(file.size);
            add(std::move(item));
            return;
        }
        if (!ours) {
            // Another sync or the user put a file of this name there; it is theirs to replace.
            if (entry->listedSize() == file.size) {
                SyncItem item = itemFor(file, Action::Keep,
                                        QStringLiteral("already on the player, not sent from this folder"));
                item.stored = entry->storedSize;
                add(std::move(item));
            } else {
                add(itemFor(file, Action::Skip,
                            QStringLiteral("another file of this name is on the player")));
            }
            return;
        }
        if (recorded->size == file.size && recorded->modified == file.modified) {
            SyncItem item = itemFor(file, Action::Keep, QStringLiteral("unchanged"));
            item.stored = entry->storedSize;
            item.key = recorded->key;
            item.fromFolder = true;
            add(std::move(item));
            return;
        }
        SyncItem item = itemFor(file, Action::Send, QStringLiteral("changed"));
        item.stored = storedSizeOf(file.size);
        item.replaces = true;
        m_replacedStored.push_back(entry->storedSize);
        add(std::move(item));
    }

    void planEntriesWithoutFile()
    {
        for (const PlayerFile& entry : m_in.entries) {
            const QString key = nameKey(entry.displayName());
            if (!belongsToView(PlayerView::Audio, entry.extension) || m_claimed.contains(key))
                continue;
            SyncItem item;
            item.name = entry.displayName();
            item.size = entry.listedSize();
            item.stored = entry.storedSize;
            const SyncRecordEntry* recorded = m_recorded.value(key);
            if (recorded && recorded->folder == m_in.folder) {
                item.fromFolder = true;
                item.key = recorded->key;
                item.relativePath = recorded->relativePath;
                if (m_plan.options.mirror) {
                    item.action = Action::Delete;
                    item.reason = QStringLiteral("gone from the folder");
                    m_plan.freedBytes += unitsFor(entry.storedSize, m_in.unitBytes);
                } else {
                    item.action = Action::Keep;
                    item.reason = QStringLiteral("gone from the folder (a mirror sync deletes it)");
                }
            } else {
                item.action = Action::Keep;
                item.reason = recorded ? QStringLiteral("sent from another folder")
                                       : QStringLiteral("not sent by a sync");
            }
            m_plan.items.push_back(std::move(item));
        }
    }

    // Replaced copies stay on the player until their replacement is in, so at the peak one of them
    // is still there while all the others are gone: the sum of what each send adds beyond the
    // copy it replaces, plus the largest replaced copy. The free-space check of sending itself
    // counts every file whole; both must pass.
    void planSpace()
    {
        const qint64 available = m_plan.freeBytes + m_plan.freedBytes;
        qint64 units = 0;
        qint64 whole = 0;
        qint64 largestReplaced = 0;
        std::size_t replacedSeen = 0;
        for (SyncItem& item : m_plan.items) {
            if (item.action != Action::Send)
                continue;
            ++m_plan.sendCount;
            qint64 adds = unitsFor(item.stored, m_in.unitBytes);
            if (item.replaces && replacedSeen < m_replacedStored.size()) {
                const qint64 old = unitsFor(m_replacedStored[replacedSeen++], m_in.unitBytes);
                largestReplaced = std::max(largestReplaced, old);
                adds = std::max<qint64>(0, adds - old);
            }
            units += adds;
            whole += item.stored;
            const qint64 needed = std::max(units + largestReplaced, whole);
            if (needed <= available && m_plan.sendsThatFit == m_plan.sendCount - 1) {
                ++m_plan.sendsThatFit;
                m_plan.neededBytes = needed;
            }
        }
        if (!m_plan.fits())
            m_plan.neededBytes = std::max(units + largestReplaced, whole);
    }

    SyncInput& m_in;
    SyncPlan m_plan;
    QHash<QString, const PlayerFile*> m_music;
    QSet<QString> m_otherViews;
    QHash<QString, const SyncRecordEntry*> m_recorded;
    QHash<QString, QString> m_firstOfName; // name -> the relative path that claimed it
    QSet<QString> m_claimed;
    std::vector<qint64> m_replacedStored;
};

} // namespace

qint64 storedSizeOf(qint64 fileSize)
{
    return fileSize + TitleBlockSize;
}

void settle(SyncRecord& record, const std::vector<PlayerFile>& entries)
{
    QHash<QString, qint64> stored;
    for (const PlayerFile& entry : entries)
        if (belongsToView(PlayerView::Audio, entry.extension))
            stored.insert(nameKey(entry.displayName()), entry.storedSize);
    const auto onPlayer = [&](const SyncRecordEntry& e) {
        const auto it = stored.constFind(nameKey(e.name));
        return it != stored.cend() && *it == e.stored;
    };
    if (!record.pending.empty())
        record.changed = true;
    for (const SyncRecordEntry& e : record.pending)
        if (onPlayer(e))
            record.put(e);
    record.pending.clear();
    if (std::erase_if(record.arrived, [&](const SyncRecordEntry& e) { return !onPlayer(e); }) > 0)
        record.changed = true;
}

SyncPlan makePlan(SyncInput& input)
{
    settle(input.record, input.entries);
    SyncPlan plan = Planner(input).run();
    // Read whatever the order of this sync: the record keeps the key for a later sync in album
    // order.
    for (SyncItem& item : plan.items) {
        if (item.action != Action::Send)
            continue;
        SourceFile file{item.relativePath, item.path, item.name, item.size, item.modified};
        item.key = input.readKey(file);
    }
    return plan;
}

const char* actionWord(SyncItem::Action action)
{
    switch (action) {
    case Action::Send:
        return "send";
    case Action::Delete:
        return "delete";
    case Action::Keep:
        return "keep";
    case Action::Skip:
        break;
    }
    return "skip";
}

} // namespace SyncPlanner

void SyncPlan::keepWhatFits()
{
    int seen = 0;
    for (SyncItem& item : items) {
        if (item.action != SyncItem::Action::Send)
            continue;
        if (++seen > sendsThatFit) {
            item.action = SyncItem::Action::Skip;
            item.reason = QStringLiteral("does not fit on the player");
        }
    }
    sendCount = sendsThatFit;
}

int SyncPlan::count(SyncItem::Action action) const
{
    return int(
        std::count_if(items.begin(), items.end(), [&](const SyncItem& i) { return i.action == action; }));
}

qint64 SyncPlan::bytes(SyncItem::Action action) const
{
    qint64 total = 0;
    for (const SyncItem& item : items)
        if (item.action == action)
            total += item.size;
    return total;
}

std::vector<const SyncItem*> SyncPlan::sendOrder() const
{
    std::vector<const SyncItem*> sends;
    for (const SyncItem& item : items)
        if (item.action == SyncItem::Action::Send)
            sends.push_back(&item);
    if (options.order == SyncOrder::Album) {
        std::stable_sort(sends.begin(), sends.end(), [](const SyncItem* a, const SyncItem* b) {
            return OrderKeys::before(a->key, a->name, b->key, b->name);
        });
    } else if (options.order == SyncOrder::Name) {
        std::stable_sort(sends.begin(), sends.end(), [](const SyncItem* a, const SyncItem* b) {
            return OrderKeys::before(OrderKey(), a->name, OrderKey(), b->name);
        });
    }
    return sends;
}
