// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "sync/SyncPlan.h"

#include "sync/SyncFormats.h"

#include "convert/ConvertibleFormats.h"
#include "core/CodePage.h"
#include "core/LocalPath.h"
#include "device/PlayerView.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace SyncPlanner
{
namespace
{

using Action = SyncItem::Action;
using Why = SyncItem::Why;

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

void setWhy(SyncItem& item, Why why, QStringList args = {})
{
    item.why = why;
    item.reason = englishReason(why, args);
    item.whyArgs = std::move(args);
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
            if (SyncFormats::playsAsIs(file.name))
                m_asIs.insert(nameKey(file.name), file.relativePath);
        for (const SourceFile& file : m_in.files) {
            if (m_in.stopped && m_in.stopped())
                break;
            planFile(file);
        }
        planEntriesWithoutFile();
        planSpace();
        return std::move(m_plan);
    }

private:
    SyncItem itemFor(const SourceFile& file, Action action, Why why, QStringList args = {})
    {
        SyncItem item;
        item.action = action;
        item.name = SyncFormats::playsAsIs(file.name) ? file.name : playerNameFor(file.name);
        item.relativePath = file.relativePath;
        item.path = file.path;
        item.size = file.size;
        item.modified = file.modified;
        setWhy(item, why, std::move(args));
        return item;
    }

    void add(SyncItem item)
    {
        if (item.action == Action::Send || item.action == Action::Keep)
            m_claimed.insert(nameKey(item.name));
        m_plan.items.push_back(std::move(item));
    }

    // A send of the file: its MP3's expected size for a converted one (the file's own size when
    // its playing time cannot be read, which errs on the large side for the space check).
    SyncItem sendOf(const SourceFile& file, bool converted, Why why, QStringList args = {})
    {
        SyncItem item = itemFor(file, Action::Send, why, std::move(args));
        item.converted = converted;
        item.sendSize = file.size;
        if (converted) {
            const qint64 estimate = m_in.estimate ? m_in.estimate(file, m_in.options.quality) : 0;
            if (estimate > 0)
                item.sendSize = estimate;
        }
        item.stored = storedSizeOf(item.sendSize);
        return item;
    }

    // Why this file is not sent at all, or nothing.
    std::optional<std::pair<Why, QStringList>> refusal(const SourceFile& file)
    {
        using Refusal = std::pair<Why, QStringList>;
        const bool converted = SyncFormats::canConvert(file.name);
        if (!SyncFormats::playsAsIs(file.name) && !converted) {
            if (SyncFormats::needsConversion(file.name))
                return Refusal{Why::NeedsConverting, {}};
            return Refusal{Why::NotMusic, {}};
        }
        const QString name = converted ? playerNameFor(file.name) : file.name;
        if (!LocalPath::playerNameProblem(name).isEmpty())
            return Refusal{Why::NameNotStorable, {QString::fromLatin1(CodePage::name())}};
        // The entry record holds a long name of 260 bytes; FAT keeps 255 of them.
        if (CodePage::fromUnicode(name).size() > MaxNameBytes)
            return Refusal{Why::NameTooLong, {QString::number(MaxNameBytes)}};
        if (storedSizeOf(file.size) > std::numeric_limits<int32_t>::max() && !converted)
            return Refusal{Why::TooLarge, {}};
        // "a.flac" would land on the player as "a.mp3": an MP3 of that name in the folder is
        // the user's own MP3 of the song, so it is sent and the other format is left alone.
        if (converted) {
            if (const auto mp3 = m_asIs.constFind(nameKey(name)); mp3 != m_asIs.cend())
                return Refusal{Why::Mp3HasName, {*mp3}};
        }
        if (const auto first = m_firstOfName.constFind(nameKey(name)); first != m_firstOfName.cend())
            return Refusal{Why::NameTaken, {*first}};
        return std::nullopt;
    }

    void planFile(const SourceFile& file)
    {
        if (const auto why = refusal(file)) {
            add(itemFor(file, Action::Skip, why->first, why->second));
            return;
        }
        const bool converted = !SyncFormats::playsAsIs(file.name);
        const QString quality = converted ? m_in.options.quality.text() : QString();
        const QString name = converted ? playerNameFor(file.name) : file.name;
        const QString key = nameKey(name);
        m_firstOfName.insert(key, file.relativePath);
        const PlayerFile* entry = m_music.value(key);
        const SyncRecordEntry* recorded = m_recorded.value(key);
        const bool ours =
            recorded && recorded->folder == m_in.folder && recorded->relativePath == file.relativePath;
        if (!entry) {
            if (m_otherViews.contains(key)) {
                add(itemFor(file, Action::Skip, Why::NameInOtherView));
                return;
            }
            add(converted ? sendOf(file, true, Why::NewConverted, {quality}) : sendOf(file, false, Why::New));
            return;
        }
        if (!ours) {
            // Another sync or the user put a file of this name there; it is theirs to replace.
            // A converted file's MP3 never has the file's own size, so such an entry is left.
            if (!converted && entry->listedSize() == file.size) {
                SyncItem item = itemFor(file, Action::Keep, Why::AlreadyOnPlayer);
                item.stored = entry->storedSize;
                add(std::move(item));
            } else {
                add(itemFor(file, Action::Skip, Why::OtherFileOnPlayer));
            }
            return;
        }
        // A converted file is judged by the file and the quality it was converted at: its MP3's
        // size says nothing about whether the file changed.
        const bool sameFile = recorded->size == file.size && recorded->modified == file.modified;
        if (sameFile && recorded->quality == quality) {
            SyncItem item = itemFor(file, Action::Keep, Why::Unchanged);
            item.stored = entry->storedSize;
            item.key = recorded->key;
            item.fromFolder = true;
            add(std::move(item));
            return;
        }
        SyncItem item = !converted ? sendOf(file, false, Why::Changed)
                        : sameFile ? sendOf(file, true, Why::QualityChanged, {recorded->quality, quality})
                                   : sendOf(file, true, Why::ChangedConverted, {quality});
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
                    setWhy(item, Why::GoneFromFolder);
                    m_plan.freedBytes += unitsFor(entry.storedSize, m_in.unitBytes);
                } else {
                    item.action = Action::Keep;
                    setWhy(item, Why::GoneKept);
                }
            } else {
                item.action = Action::Keep;
                setWhy(item, recorded ? Why::FromOtherFolder : Why::NotSentBySync);
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
    QHash<QString, QString> m_asIs;        // names of the files sent as they are -> their paths
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
    for (const SyncRecordEntry& e : record.pending) {
        if (e.stored > 0) {
            if (onPlayer(e))
                record.put(e);
            continue;
        }
        // A converted file, whose MP3's size was unknown when the record was written. The player
        // stores a file whole or not at all, so an entry of the name is that MP3, unless it is
        // still the older copy it was to replace (which then keeps its own record).
        const auto it = stored.constFind(nameKey(e.name));
        if (it == stored.cend())
            continue;
        if (const SyncRecordEntry* older = record.find(e.name); older && older->stored == *it)
            continue;
        SyncRecordEntry arrived = e;
        arrived.stored = *it;
        record.put(arrived);
    }
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
        if (input.stopped && input.stopped())
            break;
        if (item.action != Action::Send)
            continue;
        SourceFile file{item.relativePath, item.path, item.relativePath.section(QLatin1Char('/'), -1),
                        item.size, item.modified};
        item.key = input.readKey(file);
    }
    return plan;
}

const char* reasonTemplate(SyncItem::Why why)
{
    switch (why) {
    case Why::New:
        return "new";
    case Why::NewConverted:
        return "new; converted to MP3 at %1";
    case Why::Changed:
        return "changed";
    case Why::ChangedConverted:
        return "changed; converted to MP3 at %1";
    case Why::QualityChanged:
        return "converted at %1 before; sent again at %2";
    case Why::Unchanged:
        return "unchanged";
    case Why::NeedsConverting:
        return "needs converting";
    case Why::NotMusic:
        return "not a music file";
    case Why::NameNotStorable:
        return "its name holds characters that the player's code page %1 cannot hold";
    case Why::NameTooLong:
        return "its name is longer than the player's %1 bytes";
    case Why::TooLarge:
        return "too large for the player";
    case Why::NameTaken:
        return "the player keeps one file of a name; %1 has it";
    case Why::Mp3HasName:
        return "its MP3 would have the name of %1, which is sent instead";
    case Why::NameInOtherView:
        return "the player holds a file of this name in another view";
    case Why::AlreadyOnPlayer:
        return "already on the player, not sent from this folder";
    case Why::OtherFileOnPlayer:
        return "another file of this name is on the player";
    case Why::GoneFromFolder:
        return "gone from the folder";
    case Why::GoneKept:
        return "gone from the folder (a mirror sync deletes it)";
    case Why::FromOtherFolder:
        return "sent from another folder";
    case Why::NotSentBySync:
        return "not sent by a sync";
    case Why::DoesNotFit:
        return "does not fit on the player";
    }
    return "";
}

QString englishReason(SyncItem::Why why, const QStringList& args)
{
    return withArgs(QString::fromLatin1(reasonTemplate(why)), args);
}

QString withArgs(QString text, const QStringList& args)
{
    // In one step: a file name holding "%1" must not take the next argument.
    switch (args.size()) {
    case 0:
        return text;
    case 1:
        return text.arg(args[0]);
    default:
        return text.arg(args[0], args[1]);
    }
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
            item.why = SyncItem::Why::DoesNotFit;
            item.whyArgs.clear();
            item.reason = SyncPlanner::englishReason(item.why);
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
            total += action == SyncItem::Action::Send ? item.sendSize : item.size;
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
