// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/SyncTexts.h"

#include "i18n/LangReader.h"

namespace
{

struct Key {
    const char* name;
    QString SyncTexts::*text;
};

const Key kKeys[] = {
    {"Menu", &SyncTexts::menu},
    {"Caption", &SyncTexts::caption},
    {"Folder", &SyncTexts::folder},
    {"Choose", &SyncTexts::choose},
    {"Mirror", &SyncTexts::mirror},
    {"Order", &SyncTexts::order},
    {"OrderAlbum", &SyncTexts::orderAlbum},
    {"OrderName", &SyncTexts::orderName},
    {"OrderNone", &SyncTexts::orderNone},
    {"ColumnAction", &SyncTexts::columnAction},
    {"ColumnFile", &SyncTexts::columnFile},
    {"ColumnReason", &SyncTexts::columnReason},
    {"ColumnSize", &SyncTexts::columnSize},
    {"Send", &SyncTexts::send},
    {"Delete", &SyncTexts::remove},
    {"Keep", &SyncTexts::keep},
    {"Skip", &SyncTexts::skip},
    {"Summary", &SyncTexts::summary},
    {"NotFit", &SyncTexts::notFit},
    {"NoPlan", &SyncTexts::noPlan},
    {"Start", &SyncTexts::start},
    {"StartFitting", &SyncTexts::startFitting},
    {"Done", &SyncTexts::done},
    {"Problems", &SyncTexts::problems},
    {"Reading", &SyncTexts::reading},
    {"Stopped", &SyncTexts::stopped},
    {"NotAFolder", &SyncTexts::notAFolder},
    {"NoPlayer", &SyncTexts::noPlayer},
    {"MediumUnread", &SyncTexts::mediumUnread},
    {"EntriesUnread", &SyncTexts::entriesUnread},
};

} // namespace

using Why = SyncItem::Why;

// The language file's key of each reason, in the order of SyncItem::Why.
const char* const kWhyKeys[] = {
    "WhyNew",
    "WhyNewConverted",
    "WhyChanged",
    "WhyChangedConverted",
    "WhyQualityChanged",
    "WhyUnchanged",
    "WhyNeedsConverting",
    "WhyNotMusic",
    "WhyNameNotStorable",
    "WhyNameTooLong",
    "WhyTooLarge",
    "WhyNameTaken",
    "WhyMp3HasName",
    "WhyNameInOtherView",
    "WhyAlreadyOnPlayer",
    "WhyOtherFileOnPlayer",
    "WhyGoneFromFolder",
    "WhyGoneKept",
    "WhyFromOtherFolder",
    "WhyNotSentBySync",
    "WhyDoesNotFit",
};
static_assert(std::size(kWhyKeys) == std::size_t(Why::Last) + 1, "one key for each reason");

SyncTexts::SyncTexts()
{
    for (std::size_t i = 0; i < whys.size(); ++i)
        whys[i] = QString::fromLatin1(SyncPlanner::reasonTemplate(Why(i)));
}

QString SyncTexts::reason(const SyncItem& item) const
{
    const std::size_t i = std::size_t(item.why);
    return i < whys.size() ? SyncPlanner::withArgs(whys[i], item.whyArgs) : item.reason;
}

SyncTexts SyncTexts::load(const QString& languageFile)
{
    SyncTexts texts;
    const QString section = QStringLiteral("Sync");
    const auto read = [&](const char* name, QString& into) {
        const std::optional<QString> text =
            mControlUI::ReadLangKey(languageFile, section, QLatin1String(name));
        if (text && !text->isEmpty())
            into = *text;
    };
    for (const Key& key : kKeys)
        read(key.name, texts.*key.text);
    for (std::size_t i = 0; i < texts.whys.size(); ++i)
        read(kWhyKeys[i], texts.whys[i]);
    return texts;
}
