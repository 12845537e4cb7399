// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The options dialog's controls, their places and their signals.
#include "app/options/frmOptions.h"

#include "app/options/FontPreview.h"
#include "convert/ConversionQuality.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{

constexpr int DialogFontPoints = 9;

// Every installed face once, by the name a font is asked for: a face that several foundries
// provide is listed as "C059 [urw]", "C059 [UKWN]", yet the settings store just "C059".
QStringList ScreenFontNames()
{
    QStringList names;
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family))
            continue;
        const qsizetype foundry = family.indexOf(QStringLiteral(" ["));
        const QString name = foundry > 0 && family.endsWith(QLatin1Char(']')) ? family.left(foundry) : family;
        if (names.isEmpty() || names.constLast() != name)
            names.append(name);
    }
    names.removeDuplicates();
    return names;
}

} // namespace

void frmOptions::buildControls()
{
    m_Frame1 = new QGroupBox(QStringLiteral("Font"), this);
    m_lstFont = new QListWidget(m_Frame1);
    m_lstFont->addItems(ScreenFontNames());
    m_txtFont = new QLineEdit(QStringLiteral("ABCDEF"), m_Frame1);
    m_chkBold = new QCheckBox(QStringLiteral("Bold"), m_Frame1);
    m_picDemo = new FontPreview(m_Frame1);

    m_Frame2 = new QGroupBox(QStringLiteral("Title"), this);
    m_optLCD = {new QRadioButton(QStringLiteral("File Name"), m_Frame2),
                new QRadioButton(QStringLiteral("ID3 Tag"), m_Frame2)};
    m_fraLCD = new QGroupBox(m_Frame2);
    m_chkID3 = {new QCheckBox(QStringLiteral("Song Title"), m_fraLCD),
                new QCheckBox(QStringLiteral("Song Artist"), m_fraLCD),
                new QCheckBox(QStringLiteral("Genre"), m_fraLCD)};
    m_txtLCD = new QLineEdit(QStringLiteral("File Name"), m_Frame2);
    m_txtLCD->setReadOnly(true);

    m_Frame3 = new QGroupBox(QStringLiteral("Select Language"), this);
    m_cboLang = new QComboBox(m_Frame3);
    m_Text1 = new QLineEdit(m_Frame3);
    m_Text1->setReadOnly(true);
    m_Command1 = new QPushButton(QStringLiteral("Browse"), m_Frame3);
    m_Command1->setAutoDefault(false);

    // FLAC, AAC, Ogg, Opus and WAV files become MP3 files of this quality when sent.
    m_fraConvert = new QGroupBox(QStringLiteral("MP3 quality of converted files"), this);
    m_cboQuality = new QComboBox(m_fraConvert);
    m_cboQuality->setObjectName(QStringLiteral("cboQuality"));
    for (const QString& choice : ConversionQuality::choices()) {
        const ConversionQuality quality = *ConversionQuality::parse(choice);
        m_cboQuality->addItem(
            quality.constant
                ? QStringLiteral("CBR %1 kbit/s").arg(quality.kbps)
                : QStringLiteral("VBR V%1 (about %2 kbit/s)").arg(quality.level).arg(quality.expectedKbps()),
            choice);
    }

    m_cmdOK = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOK->setDefault(true);
    m_cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cmdCancel->setAutoDefault(false);

    // The size unit is chosen nowhere else yet; its buttons stay hidden and carry the value
    // through the dialog unchanged.
    m_Frame4 = new QGroupBox(QStringLiteral("Select Language"), this);
    m_optMem = {new QRadioButton(QStringLiteral("Byte"), m_Frame4),
                new QRadioButton(QStringLiteral("KByte"), m_Frame4),
                new QRadioButton(QStringLiteral("MByte"), m_Frame4)};
    m_Frame4->hide();
}

void frmOptions::layoutControls()
{
    auto* font = new QGridLayout(m_Frame1);
    font->addWidget(m_lstFont, 0, 0, 3, 1);
    font->addWidget(m_txtFont, 0, 1);
    font->addWidget(m_chkBold, 1, 1);
    font->addWidget(m_picDemo, 3, 0, 1, 2);
    font->setRowStretch(2, 1);
    font->setColumnStretch(0, 3);
    font->setColumnStretch(1, 2);
    m_lstFont->setMinimumSize(230, 120);
    m_lstFont->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_txtFont->setMinimumWidth(130);

    auto* fields = new QVBoxLayout(m_fraLCD);
    for (QCheckBox* box : m_chkID3)
        fields->addWidget(box);
    auto* title = new QVBoxLayout(m_Frame2);
    title->addWidget(m_optLCD[0]);
    title->addWidget(m_optLCD[1]);
    title->addWidget(m_fraLCD);
    title->addWidget(m_txtLCD);
    title->addStretch(1);
    m_Frame2->setMinimumWidth(220);

    auto* language = new QHBoxLayout(m_Frame3);
    language->addWidget(m_cboLang, 2);
    language->addWidget(m_Text1, 2);
    language->addWidget(m_Command1);

    auto* memory = new QHBoxLayout(m_Frame4);
    for (QRadioButton* button : m_optMem)
        memory->addWidget(button);

    auto* convert = new QHBoxLayout(m_fraConvert);
    convert->addWidget(m_cboQuality, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);

    auto* dialog = new QGridLayout(this);
    dialog->addWidget(m_Frame1, 0, 0);
    dialog->addWidget(m_Frame2, 0, 1);
    dialog->addWidget(m_Frame3, 1, 0, 1, 2);
    dialog->addWidget(m_fraConvert, 2, 0, 1, 2);
    dialog->addLayout(buttons, 3, 0, 1, 2);
    dialog->addWidget(m_Frame4, 4, 0, 1, 2);
    dialog->setColumnStretch(0, 3);
    dialog->setColumnStretch(1, 2);
}

void frmOptions::connectControls()
{
    connect(m_lstFont, &QListWidget::itemSelectionChanged, this, [this] { lstFont_Click(); });
    connect(m_chkBold, &QCheckBox::toggled, this, [this] { chkBold_Click(); });
    connect(m_txtFont, &QLineEdit::textChanged, this, [this] { txtFont_Change(); });
    for (int i = 0; i < m_optLCD.size(); ++i)
        connect(m_optLCD[i], &QRadioButton::clicked, this, [this, i] { optLCD_Click(i); });
    for (QCheckBox* box : m_chkID3)
        connect(box, &QCheckBox::toggled, this, [this] { chkID3_Click(); });
    connect(m_cboLang, &QComboBox::activated, this, [this] { cboLang_Click(); });
    connect(m_Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(m_cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(m_cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmOptions::ResetOptionFonts()
{
    // One neutral 9-point font for every text of the dialog; the preview keeps its own.
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(DialogFontPoints);
    font.setBold(false);
    const QList<QWidget*> widgets = {m_Frame1,    m_txtFont,   m_lstFont,   m_chkBold,   m_Frame2,
                                     m_optLCD[0], m_optLCD[1], m_chkID3[0], m_chkID3[1], m_chkID3[2],
                                     m_txtLCD,    m_Frame3,    m_cboLang,   m_Text1,     m_Command1,
                                     m_cmdOK,     m_cmdCancel};
    for (QWidget* widget : widgets)
        widget->setFont(font);
}
