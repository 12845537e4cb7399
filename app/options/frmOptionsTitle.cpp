// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The options dialog's font preview and display-name choice.
#include "app/options/frmOptions.h"

#include "app/options/FontPreview.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

void frmOptions::selectTitleFont(const QFont& font)
{
    // Until a listed face is chosen the preview holds the current LCD title font, so OK keeps it
    // when its face is not installed.
    m_picDemo->setPreviewFont(font);
    m_picDemo->print(m_txtFont->text());
    const QList<QListWidgetItem*> found = m_lstFont->findItems(font.family(), Qt::MatchFixedString);
    if (!found.isEmpty())
        m_lstFont->setCurrentItem(found.first()); // draws the fitted preview
}

void frmOptions::lstFont_Click()
{
    // Only a face the user has selected counts: Qt makes the first row current when the list
    // merely gets the focus, and the stored face may not be installed at all. Until a face is
    // selected the preview keeps the LCD title font as it came.
    // Bold and the sample text count whatever face is shown: without a chosen face they apply
    // to the current LCD font as it came (its size unchanged), so OK keeps the user's bold.
    const QList<QListWidgetItem*> selected = m_lstFont->selectedItems();
    QFont font = m_picDemo->previewFont();
    font.setBold(m_chkBold->isChecked());
    if (selected.isEmpty()) {
        m_picDemo->clear();
        m_picDemo->setPreviewFont(font);
        m_picDemo->print(m_txtFont->text());
        return;
    }
    font.setFamily(selected.first()->text());
    m_picDemo->clear();
    m_picDemo->setPreviewFont(FontFit::Fitted(font, m_txtFont->text(), m_services.measureHeight));
    m_picDemo->print(m_txtFont->text());
}

void frmOptions::chkBold_Click()
{
    lstFont_Click();
}

void frmOptions::txtFont_Change()
{
    lstFont_Click();
}

void frmOptions::optLCD_Click(int index)
{
    m_fraLCD->setEnabled(index == 1);
    ShowTitlePreview();
}

void frmOptions::chkID3_Click()
{
    ShowTitlePreview();
}

DisplayNameChoice frmOptions::displayNameChoice() const
{
    DisplayNameChoice choice;
    choice.fileName = m_optLCD[0]->isChecked();
    choice.title = m_chkID3[0]->isChecked();
    choice.artist = m_chkID3[1]->isChecked();
    choice.genre = m_chkID3[2]->isChecked();
    return choice;
}

void frmOptions::ShowTitlePreview()
{
    const QStringList fields = {m_chkID3[0]->text(), m_chkID3[1]->text(), m_chkID3[2]->text()};
    m_txtLCD->setText(displayNameChoice().preview(m_optLCD[0]->text(), fields));
}
