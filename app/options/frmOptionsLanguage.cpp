// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The options dialog's language group and its relabelling from language files.
#include "app/options/frmOptions.h"

#include "convert/ConversionQuality.h"
#include "i18n/LangReader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>

namespace
{

struct OptionText {
    const char* section;
    const char* key;
};

// The dialog's texts, in the order they are relabelled: Frame1, chkBold, Frame2, optLCD 0 and 1,
// chkID3 0 to 2, Frame3, Command1, cmdOK, cmdCancel. The first check box takes the song title's
// name from the main window's section, as the shipped language files expect.
constexpr std::array<OptionText, 12> kOptionTexts = {{{"OPTION", "Font"},
                                                      {"OPTION", "Bold"},
                                                      {"OPTION", "Title"},
                                                      {"OPTION", "Filename"},
                                                      {"OPTION", "ID3Tag"},
                                                      {"MAIN", "Title"},
                                                      {"OPTION", "Artist"},
                                                      {"OPTION", "Genre"},
                                                      {"OPTION", "Language"},
                                                      {"OPTION", "Browse"},
                                                      {"OPTION", "Ok"},
                                                      {"OPTION", "Cancel"}}};

std::optional<QString> lookUp(const QString& file, const char* section, const char* key)
{
    return mControlUI::ReadLangKey(file, QLatin1String(section), QLatin1String(key));
}

bool sameFile(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

QString frmOptions::englishName(const QString& file) const
{
    // A file that cannot be read, or has no UI/ENG entry, is listed under an empty name.
    return lookUp(file, "UI", "ENG").value_or(QString());
}

void frmOptions::fillLanguageList()
{
    m_cboLang->clear();
    const QStringList files = m_services.folders.files();
    // The language in use claims its name before any other file of the same name, so that OK
    // without a change of language never swaps the current file for a namesake.
    for (const QString& file : files) {
        if (sameFile(file, m_values.language))
            m_languages.claim(englishName(file), m_values.language);
    }
    for (const QString& file : files) {
        const QString name = englishName(file);
        // Each language is listed by its own name, which its speakers find whatever language the
        // dialog shows now; the English name stays the item's key and shows as its tooltip.
        const QString own = lookUp(file, "UI", "LOCAL").value_or(QString()).trimmed();
        m_cboLang->addItem(own.isEmpty() ? name : own, name);
        m_cboLang->setItemData(m_cboLang->count() - 1, name, Qt::ToolTipRole);
        m_languages.claim(name, file);
    }
}

QString frmOptions::chosenLanguage() const
{
    return m_cboLang->currentData().toString();
}

void frmOptions::chooseLanguage(const QString& englishName)
{
    const int index = m_cboLang->findData(englishName);
    if (index >= 0)
        m_cboLang->setCurrentIndex(index);
}

void frmOptions::showLocalName(const QString& englishName)
{
    const std::optional<QString> file = m_languages.file(englishName);
    if (!file)
        return;
    if (const auto local = lookUp(*file, "UI", "LOCAL"))
        m_Text1->setText(*local);
}

void frmOptions::cboLang_Click()
{
    const std::optional<QString> file = m_languages.file(chosenLanguage());
    if (!file)
        return;
    showLocalName(chosenLanguage());
    SetOptionTexts(*file);
    ShowTitlePreview();
}

void frmOptions::Command1_Click()
{
    const QString chosen = m_services.chooseFile(this, QStringLiteral("language (*.lng)"));
    if (chosen.isEmpty())
        return;
    const QString installed = m_services.folders.install(chosen);
    fillLanguageList();
    const QString name = englishName(chosen);
    // The file just fetched is the one the user means by its name, even when an older file of
    // that name was listed first.
    if (!installed.isEmpty())
        m_languages.assign(name, installed);
    chooseLanguage(name);
    showLocalName(name);
    ResetOptionFonts();
    SetOptionTexts(chosen);
    ShowTitlePreview();
}

void frmOptions::SetOptionTexts(const QString& filePath)
{
    if (filePath.isEmpty())
        return;
    const std::array<std::function<void(const QString&)>, 12> targets = {
        [this](const QString& t) { m_Frame1->setTitle(t); },
        [this](const QString& t) { m_chkBold->setText(t); },
        [this](const QString& t) { m_Frame2->setTitle(t); },
        [this](const QString& t) { m_optLCD[0]->setText(t); },
        [this](const QString& t) { m_optLCD[1]->setText(t); },
        [this](const QString& t) { m_chkID3[0]->setText(t); },
        [this](const QString& t) { m_chkID3[1]->setText(t); },
        [this](const QString& t) { m_chkID3[2]->setText(t); },
        [this](const QString& t) { m_Frame3->setTitle(t); },
        [this](const QString& t) { m_Command1->setText(t); },
        [this](const QString& t) { m_cmdOK->setText(t); },
        [this](const QString& t) { m_cmdCancel->setText(t); },
    };
    for (std::size_t i = 0; i < kOptionTexts.size(); ++i) {
        // A file that cannot be read leaves every text as it was.
        const auto text = lookUp(filePath, kOptionTexts[i].section, kOptionTexts[i].key);
        if (!text)
            return;
        targets[i](*text);
    }
    // The caption and the quality group came later than the first language files: a file
    // without them keeps English.
    const auto caption = lookUp(filePath, "Window", "OptionsCaption");
    setWindowTitle(caption && !caption->isEmpty() ? *caption : QStringLiteral("Options"));
    const auto quality = lookUp(filePath, "OPTION", "Quality");
    m_fraConvert->setTitle(quality && !quality->isEmpty() ? *quality
                                                          : QStringLiteral("MP3 quality of converted files"));
    // "VBR V%1 (about %2 kbit/s)": the level and the mean rate; constant rates need no words.
    const auto vbr = lookUp(filePath, "OPTION", "QualityVbr");
    const QString vbrText =
        vbr && vbr->contains(QLatin1String("%2")) ? *vbr : QStringLiteral("VBR V%1 (about %2 kbit/s)");
    for (int i = 0; i < m_cboQuality->count(); ++i) {
        const auto choice = ConversionQuality::parse(m_cboQuality->itemData(i).toString());
        if (choice && !choice->constant)
            m_cboQuality->setItemText(i, vbrText.arg(choice->level).arg(choice->expectedKbps()));
    }
}
