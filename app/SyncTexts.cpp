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
};

} // namespace

SyncTexts SyncTexts::load(const QString& languageFile)
{
    SyncTexts texts;
    const QString section = QStringLiteral("Sync");
    for (const Key& key : kKeys) {
        const std::optional<QString> text =
            mControlUI::ReadLangKey(languageFile, section, QLatin1String(key.name));
        if (text && !text->isEmpty())
            texts.*key.text = *text;
    }
    return texts;
}
