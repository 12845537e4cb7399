// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/options/frmOptions.h"

#include "app/options/FontPreview.h"
#include "i18n/LangReader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>

#include "convert/ConversionQuality.h"
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

bool ShowOptionsDialog(OptionsValues& values, const LanguageApplier& applyLanguage, QWidget* parent)
{
    frmOptions dialog(values, parent);
    dialog.setLanguageApplier(applyLanguage);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    values = dialog.values();
    return true;
}

frmOptions::frmOptions(const OptionsValues& current, QWidget* parent, Services services)
    : QDialog(parent), m_values(current), m_services(std::move(services))
{
    if (!m_services.chooseFile)
        m_services.chooseFile = StandardFileChooser();
    if (m_services.folders.program.isEmpty() && m_services.folders.user.isEmpty())
        m_services.folders = LanguageFolders::standard();
    if (!m_services.measureHeight)
        m_services.measureHeight = &FontFit::TextHeightAt96Dpi;
    // The caption is fixed: it is the one text of the dialog no language file replaces.
    setWindowTitle(QStringLiteral("Options"));
    buildControls();
    layoutControls();
    connectControls();
    Form_Load();
}

frmOptions::~frmOptions() = default;

QGroupBox* frmOptions::frame(int number) const
{
    switch (number) {
    case 1:
        return m_Frame1;
    case 2:
        return m_Frame2;
    case 3:
        return m_Frame3;
    case 4:
        return m_Frame4;
    default:
        return nullptr;
    }
}

QString frmOptions::defaultLanguageFile() const
{
    return QDir(m_services.folders.program).filePath(QStringLiteral("english.lng"));
}

void frmOptions::Form_Load()
{
    const QFont& titleFont = m_values.titleFont;
    {
        const QSignalBlocker blockBold(m_chkBold);
        m_chkBold->setChecked(titleFont.bold());
    }
    selectTitleFont(titleFont);

    const DisplayNameChoice choice = DisplayNameChoice::fromSelector(m_values.displayName);
    m_optLCD[choice.fileName ? 0 : 1]->setChecked(true);
    const bool ticks[] = {choice.title, choice.artist, choice.genre};
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker block(m_chkID3[i]);
        m_chkID3[i]->setChecked(ticks[i]);
    }
    m_fraLCD->setEnabled(!choice.fileName);

    const int quality = m_cboQuality->findData(
        ConversionQuality::parse(m_values.conversionQuality).value_or(ConversionQuality()).text());
    m_cboQuality->setCurrentIndex(qMax(0, quality));

    const int unit = m_values.sizeUnit == 0 ? 0 : m_values.sizeUnit == 1 ? 1 : 2;
    m_optMem[unit]->setChecked(true);

    fillLanguageList();
    if (m_cboLang->count() > 0) {
        m_cboLang->setCurrentIndex(0);
        cboLang_Click();
    }
    if (const auto name =
            mControlUI::ReadLangKey(m_values.language, QStringLiteral("UI"), QStringLiteral("ENG")))
        chooseLanguage(*name);
    showLocalName(chosenLanguage());

    ResetOptionFonts();
    SetOptionTexts(m_values.language.isEmpty() ? defaultLanguageFile() : m_values.language);
    ShowTitlePreview();
}

void frmOptions::cmdOK_Click()
{
    m_values.titleFont = m_picDemo->previewFont();
    for (int i = 0; i < m_optMem.size(); ++i) {
        if (m_optMem[i]->isChecked())
            m_values.sizeUnit = i;
    }
    m_values.displayName = displayNameChoice().selector();
    m_values.conversionQuality = m_cboQuality->currentData().toString();
    const std::optional<QString> file = m_languages.file(chosenLanguage());
    // Only a real change reaches the main window: reapplying the same file would redo every
    // caption for nothing.
    if (file && *file != m_values.language) {
        m_values.language = *file;
        m_languageChanged = true;
        if (m_applyLanguage)
            m_applyLanguage(*file);
    }
    accept();
}

void frmOptions::cmdCancel_Click()
{
    reject();
}
