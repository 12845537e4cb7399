// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The options dialog: the LCD title font (fitted to the LCD's 24 pixels), what the LCD title is
// made of, and the interface language, with a Browse button that fetches a language file.
//
// The main window calls it from the Tool menu's "Option" item, then saves its settings whether
// the user pressed OK or Cancel:
//
//     OptionsValues values{titleFont, displayName, sizeUnit, languageSetting};
//     ShowOptionsDialog(values, [&](const QString& file) { languageSetting = file; applyLanguage(file); },
//     this); titleFont = values.titleFont; displayName = values.displayName; sizeUnit = values.sizeUnit;
//
// On Cancel `values` is left as it was and the applier is never called.
#pragma once

#include "app/options/DisplayNameChoice.h"
#include "app/options/FileChooser.h"
#include "app/options/FontFit.h"
#include "app/options/LanguageFolders.h"
#include "app/options/LanguageMap.h"
#include "app/options/OptionsValues.h"

#include <QDialog>
#include <QList>

class FontPreview;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// Opens the dialog modally over parent. On OK the new values are written into `values` (after
// applyLanguage ran, when the language changed) and the result is true; on Cancel nothing changes.
bool ShowOptionsDialog(OptionsValues& values, const LanguageApplier& applyLanguage, QWidget* parent);

class frmOptions : public QDialog
{
    Q_OBJECT
public:
    // What the dialog uses of the outside world; every empty member takes the standard one.
    struct Services {
        FileChooser chooseFile;               // dlgFont: the file-open dialog of Browse
        LanguageFolders folders;              // where language files are listed and copied to
        FontFit::HeightMeasure measureHeight; // text height in pixels at 96 dpi
    };

    explicit frmOptions(const OptionsValues& current, QWidget* parent = nullptr, Services services = {});
    ~frmOptions() override;

    void setLanguageApplier(LanguageApplier apply) { m_applyLanguage = std::move(apply); }

    // The values as OK left them; the values given to the constructor until then.
    const OptionsValues& values() const { return m_values; }
    bool languageChanged() const { return m_languageChanged; }

    // Handlers, public so that tests reach the same code as the controls.
    void lstFont_Click();
    void chkBold_Click();
    void txtFont_Change();
    void optLCD_Click(int index);
    void chkID3_Click();
    void cboLang_Click();
    void Command1_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    // Controls, for the main window's tests and this dialog's own.
    QListWidget* lstFont() const { return m_lstFont; }
    QLineEdit* txtFont() const { return m_txtFont; }
    QCheckBox* chkBold() const { return m_chkBold; }
    FontPreview* picDemo() const { return m_picDemo; }
    QRadioButton* optLCD(int index) const { return m_optLCD.value(index); }
    QGroupBox* fraLCD() const { return m_fraLCD; }
    QCheckBox* chkID3(int index) const { return m_chkID3.value(index); }
    QLineEdit* txtLCD() const { return m_txtLCD; }
    QComboBox* cboLang() const { return m_cboLang; }
    QComboBox* cboQuality() const { return m_cboQuality; }
    QLineEdit* Text1() const { return m_Text1; }
    QPushButton* Command1() const { return m_Command1; }
    QPushButton* cmdOK() const { return m_cmdOK; }
    QPushButton* cmdCancel() const { return m_cmdCancel; }
    QGroupBox* frame(int number) const; // Frame1 .. Frame4
    QRadioButton* optMem(int index) const { return m_optMem.value(index); }
    const LanguageMap& languageMap() const { return m_languages; }

private:
    void buildControls();
    void layoutControls();
    void connectControls();
    void Form_Load();
    void selectTitleFont(const QFont& font);
    void fillLanguageList();
    // The English name (UI/ENG) of the language chosen in the list, its key in the language map.
    QString chosenLanguage() const;
    void chooseLanguage(const QString& englishName);
    void showLocalName(const QString& englishName);
    QString englishName(const QString& file) const;
    void SetOptionTexts(const QString& filePath);
    void ResetOptionFonts();
    void ShowTitlePreview();
    DisplayNameChoice displayNameChoice() const;
    QString defaultLanguageFile() const;

    OptionsValues m_values;
    Services m_services;
    LanguageApplier m_applyLanguage;
    LanguageMap m_languages;
    bool m_languageChanged = false;

    QGroupBox* m_Frame1 = nullptr;
    QListWidget* m_lstFont = nullptr;
    QLineEdit* m_txtFont = nullptr;
    QCheckBox* m_chkBold = nullptr;
    FontPreview* m_picDemo = nullptr;
    QGroupBox* m_Frame2 = nullptr;
    QList<QRadioButton*> m_optLCD;
    QGroupBox* m_fraLCD = nullptr;
    QList<QCheckBox*> m_chkID3;
    QLineEdit* m_txtLCD = nullptr;
    QGroupBox* m_Frame3 = nullptr;
    QComboBox* m_cboLang = nullptr;
    QLineEdit* m_Text1 = nullptr;
    QPushButton* m_Command1 = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QGroupBox* m_Frame4 = nullptr;
    QGroupBox* m_fraConvert = nullptr;
    QComboBox* m_cboQuality = nullptr;
    QList<QRadioButton*> m_optMem;
};
