// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/TagEditTexts.h"

#include "i18n/LangReader.h"

namespace
{

struct Key {
    const char* name;
    QString TagEditTexts::*text;
};

const Key kKeys[] = {
    {"EditMenu", &TagEditTexts::editMenu},   {"EditTags", &TagEditTexts::editTags},
    {"UndoEdit", &TagEditTexts::undoEdit},   {"Caption", &TagEditTexts::caption},
    {"Title", &TagEditTexts::title},         {"Artist", &TagEditTexts::artist},
    {"Album", &TagEditTexts::album},         {"Genre", &TagEditTexts::genre},
    {"Year", &TagEditTexts::year},           {"Track", &TagEditTexts::track},
    {"Keep", &TagEditTexts::keep},           {"SeveralFiles", &TagEditTexts::severalFiles},
    {"Mp3Only", &TagEditTexts::mp3Only},     {"NotChanged", &TagEditTexts::notChanged},
    {"NotUndone", &TagEditTexts::notUndone},
};

} // namespace

TagEditTexts TagEditTexts::load(const QString& languageFile)
{
    TagEditTexts texts;
    for (const Key& key : kKeys) {
        const std::optional<QString> text =
            mControlUI::ReadLangKey(languageFile, QStringLiteral("TagEdit"), QLatin1String(key.name));
        if (text && !text->isEmpty())
            texts.*key.text = *text;
    }
    return texts;
}
