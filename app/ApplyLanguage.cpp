// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/ApplyLanguage.h"

#include "core/Prompt.h"
#include "i18n/LangReader.h"

#include <QAction>
#include <QLabel>
#include <QTabBar>
#include <QWidget>

#include <array>

namespace
{

constexpr std::array<const char*, 15> kMenuKeys = {"File",   "Exit",   "View",      "LICON",    "SIcon",
                                                   "List",   "Detail", "Filename",  "Filesize", "Title",
                                                   "Artist", "Tool",   "LowFormat", "Upgrade",  "Option"};
constexpr std::array<const char*, 3> kTabKeys = {"Audio", "Record", "HDD"};
constexpr std::array<const char*, 4> kToolKeys = {"Download", "Upload", "Delete", "Format"};
constexpr std::array<const char*, 5> kFileHeaderKeys = {"Filename", "Filesize", "Title", "Artist", "Genre"};
constexpr std::array<const char*, 2> kPlayerHeaderKeys = {"Filename", "Filesize"};

class Lookup
{
public:
    explicit Lookup(const QString& file) : m_file(file) {}
    // Runs assign with the text when the lookup worked; a file that vanished mid-way keeps the
    // target's old text.
    template <class Assign> void operator()(const char* section, const char* key, Assign assign) const
    {
        if (const auto text = mControlUI::ReadLangText(m_file, QLatin1String(section), QLatin1String(key)))
            assign(*text);
    }

private:
    QString m_file;
};

template <std::size_t N>
void headers(const Lookup& lookup, const std::array<const char*, N>& keys,
             const std::function<void(const QStringList&)>& apply, QStringList current)
{
    current.resize(qsizetype(N));
    for (std::size_t i = 0; i < N; ++i)
        lookup("Main", keys[i], [&](const QString& text) { current[qsizetype(i)] = text; });
    if (apply)
        apply(current);
}

} // namespace

bool ApplyLanguage(const QString& filePath, LanguageTargets& t, Prompt& prompt)
{
    if (!mControlUI::CanOpenLanguageFile(filePath)) {
        prompt.showMessage(mControlUI::MissingLanguageFileText(filePath), mControlUI::FixedWindowTitle(),
                           Prompt::Icon::Information);
        return false;
    }
    const Lookup lookup(filePath);
    for (qsizetype i = 0; i < t.menuActions.size() && i < qsizetype(kMenuKeys.size()); ++i)
        lookup("Menu", kMenuKeys[std::size_t(i)],
               [&](const QString& text) { t.menuActions[i]->setText(text); });
    lookup("UI", "Title", [&](const QString& text) {
        if (t.window)
            t.window->setWindowTitle(text);
    });
    lookup("Main", "folder", [&](const QString& text) { t.lblfld->setText(text); });
    lookup("Main", "files", [&](const QString& text) { t.lblFile->setText(text); });
    for (int i = 0; i < int(kTabKeys.size()) && t.tabMode && i < t.tabMode->count(); ++i)
        lookup("Main", kTabKeys[std::size_t(i)],
               [&](const QString& text) { t.tabMode->setTabText(i, text); });
    for (qsizetype i = 0; i < t.toolButtons.size() && i < qsizetype(kToolKeys.size()); ++i)
        lookup("Main", kToolKeys[std::size_t(i)],
               [&](const QString& text) { t.toolButtons[i]->setToolTip(text); });
    headers(lookup, kFileHeaderKeys, t.setFileHeaders,
            {QStringLiteral("Filename"), QStringLiteral("FileSize"), QStringLiteral("Title"),
             QStringLiteral("Artist"), QStringLiteral("Genre")});
    headers(lookup, kPlayerHeaderKeys, t.setPlayerHeaders,
            {QStringLiteral("Filename"), QStringLiteral("FileSize")});
    if (t.texts) {
        if (auto texts = MessageTexts::load(filePath))
            *t.texts = *texts;
    }
    return true;
}
