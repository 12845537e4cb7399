// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/WindowTexts.h"

#include "i18n/LangReader.h"

namespace
{

struct Key {
    const char* name;
    QString WindowTexts::*text;
};

const Key kKeys[] = {
    {"Player", &WindowTexts::playerMenu},
    {"Send", &WindowTexts::send},
    {"Fetch", &WindowTexts::fetch},
    {"Rename", &WindowTexts::rename},
    {"DeleteFiles", &WindowTexts::deleteFiles},
    {"FormatPlayer", &WindowTexts::format},
    {"Refresh", &WindowTexts::refresh},
    {"Help", &WindowTexts::helpMenu},
    {"About", &WindowTexts::about},
    {"AboutVersion", &WindowTexts::aboutVersion},
    {"AboutLicence", &WindowTexts::aboutLicence},
    {"AboutLibrary", &WindowTexts::aboutLibrary},
    {"NoLibrary", &WindowTexts::noLibrary},
    {"ViewMusicConverted", &WindowTexts::viewMusicConverted},
    {"ViewMusicUnconverted", &WindowTexts::viewMusicUnconverted},
    {"ViewRecord", &WindowTexts::viewRecord},
    {"ViewOther", &WindowTexts::viewOther},
    {"ProgressFiles", &WindowTexts::progressFiles},
    {"ProgressBytes", &WindowTexts::progressBytes},
    {"ProgressNote", &WindowTexts::progressNote},
    {"Cancelling", &WindowTexts::cancelling},
    {"Cancel", &WindowTexts::cancel},
    {"SentSummary", &WindowTexts::sentSummary},
    {"ReceivedSummary", &WindowTexts::receivedSummary},
    {"Cancelled", &WindowTexts::cancelled},
    {"Failed", &WindowTexts::failed},
    {"YesToAll", &WindowTexts::yesToAll},
    {"NoToAll", &WindowTexts::noToAll},
    {"RenameBad", &WindowTexts::renameBad},
    {"NotInView", &WindowTexts::notInView},
    {"OptionsCaption", &WindowTexts::optionsCaption},
    {"CapacityTip", &WindowTexts::capacityTip},
    {"LcdPreviewTip", &WindowTexts::lcdPreviewTip},
    {"MusicTabTip", &WindowTexts::musicTabTip},
    {"RecordTabTip", &WindowTexts::recordTabTip},
    {"OtherTabTip", &WindowTexts::otherTabTip},
    {"UnreadList", &WindowTexts::unreadList},
    {"CloseFailed", &WindowTexts::closeFailed},
    {"StartFailed", &WindowTexts::startFailed},
    {"EndFailed", &WindowTexts::endFailed},
};

} // namespace

WindowTexts WindowTexts::load(const QString& languageFile)
{
    WindowTexts texts;
    const QString section = QStringLiteral("Window");
    for (const Key& key : kKeys) {
        const std::optional<QString> text =
            mControlUI::ReadLangKey(languageFile, section, QLatin1String(key.name));
        if (text && !text->isEmpty())
            texts.*key.text = *text;
    }
    if (const auto locale =
            mControlUI::ReadLangKey(languageFile, QStringLiteral("UI"), QStringLiteral("Locale")))
        texts.locale = locale->trimmed();
    return texts;
}
