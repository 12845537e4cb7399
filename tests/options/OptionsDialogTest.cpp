// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "OptionsFixture.h"
#include "app/options/dlgFirm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace
{

std::vector<bool> ticks(const frmOptions& dialog)
{
    return {dialog.chkID3(0)->isChecked(), dialog.chkID3(1)->isChecked(), dialog.chkID3(2)->isChecked()};
}

} // namespace

TEST_F(OptionsFixture, SelectorOneChoosesTheFileNameAndLocksTheFields)
{
    OptionsValues values = defaults();
    values.displayName = 1;
    frmOptions& dialog = open(values);
    EXPECT_TRUE(dialog.optLCD(0)->isChecked());
    EXPECT_FALSE(dialog.fraLCD()->isEnabled());
    EXPECT_EQ(dialog.txtLCD()->text(), QStringLiteral("File Name"));
    // Ticks made while ID3 was on do not count once File Name is chosen again.
    dialog.optLCD(1)->click();
    dialog.chkID3(0)->setChecked(true);
    dialog.optLCD(0)->click();
    EXPECT_EQ(dialog.txtLCD()->text(), QStringLiteral("File Name"));
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.values().displayName, 1);
}

TEST_F(OptionsFixture, SelectorZeroIsId3WithNoFieldAndComesBackAsZero)
{
    OptionsValues values = defaults();
    values.displayName = 0;
    frmOptions& dialog = open(values);
    EXPECT_TRUE(dialog.optLCD(1)->isChecked());
    EXPECT_TRUE(dialog.fraLCD()->isEnabled());
    EXPECT_EQ(ticks(dialog), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(dialog.txtLCD()->text(), QString());
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.values().displayName, 0);
}

TEST_F(OptionsFixture, SelectorFourteenTicksAllFieldsInTitleArtistGenreOrder)
{
    OptionsValues values = defaults();
    values.displayName = 14;
    frmOptions& dialog = open(values);
    EXPECT_EQ(ticks(dialog), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(dialog.txtLCD()->text(), QStringLiteral("Song Title - Song Artist - Genre"));
    dialog.chkID3(1)->click();
    EXPECT_EQ(dialog.txtLCD()->text(), QStringLiteral("Song Title - Genre"));
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.values().displayName, 10);
}

TEST_F(OptionsFixture, SizeUnitPassesThroughAndLargeValuesComeBackAsTwo)
{
    for (const auto& [given, expected] :
         std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 2}, {7, 2}, {-1, 2}}) {
        OptionsValues values = defaults();
        values.sizeUnit = given;
        frmOptions& dialog = open(values);
        EXPECT_FALSE(dialog.frame(4)->isVisibleTo(&dialog));
        dialog.cmdOK_Click();
        EXPECT_EQ(dialog.values().sizeUnit, expected) << "given " << given;
    }
}

TEST_F(OptionsFixture, CancelChangesNothing)
{
    const QString english =
        writeLanguage(QStringLiteral("english.lng"), QStringLiteral("English"), QStringLiteral("English"));
    writeLanguage(QStringLiteral("german.lng"), QStringLiteral("German"), QStringLiteral("Deutsch"));
    OptionsValues values = defaults(english);
    values.displayName = 6;
    frmOptions& dialog = open(values);
    dialog.chkBold()->setChecked(true);
    dialog.txtFont()->setText(QStringLiteral("Other sample"));
    dialog.optLCD(0)->click();
    dialog.cboLang()->setCurrentIndex(dialog.cboLang()->findData(QStringLiteral("German")));
    dialog.cboLang_Click();
    QTest::mouseClick(dialog.cmdCancel(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(m_applied.isEmpty());
    EXPECT_FALSE(dialog.languageChanged());
    EXPECT_EQ(dialog.values().titleFont, values.titleFont);
    EXPECT_EQ(dialog.values().displayName, 6);
    EXPECT_EQ(dialog.values().sizeUnit, 1);
    EXPECT_EQ(dialog.values().language, english);
}

TEST_F(OptionsFixture, ShowOptionsDialogWritesBackOnlyOnOk)
{
    OptionsValues values = defaults();
    values.displayName = 14;
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<frmOptions*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->optLCD(0)->click();
        dialog->cmdCancel()->click();
    });
    EXPECT_FALSE(ShowOptionsDialog(values, {}, nullptr));
    EXPECT_EQ(values.displayName, 14);

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<frmOptions*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->optLCD(0)->click();
        dialog->cmdOK()->click();
    });
    EXPECT_TRUE(ShowOptionsDialog(values, {}, nullptr));
    EXPECT_EQ(values.displayName, 1);
}

TEST(dlgFirm, OffersFirmwareFilesAndGivesTheFullPathOrNothing)
{
    QString filter;
    QString answer = QStringLiteral("update.ZVF");
    const dlgFirm dialog([&](QWidget*, const QString& offered) {
        filter = offered;
        return answer;
    });
    EXPECT_EQ(dialog.show(nullptr), QDir::current().absoluteFilePath(QStringLiteral("update.ZVF")));
    EXPECT_EQ(filter, QStringLiteral("Zelvox Firmware(*.ZVF)"));
    answer.clear();
    EXPECT_EQ(dialog.show(nullptr), QString()) << "cancelled";
}

// The quality of converted files: the stored choice is shown, an unknown one shows the default,
// and a choice made with the keyboard comes back on OK.
TEST_F(OptionsFixture, ConversionQualityShowsTheStoredChoiceAndReturnsTheNewOne)
{
    for (const auto& [stored, shown] :
         std::vector<std::pair<QString, QString>>{{QStringLiteral("CBR256"), QStringLiteral("CBR256")},
                                                  {QStringLiteral("v0"), QStringLiteral("V0")},
                                                  {QStringLiteral("V12"), QStringLiteral("V2")},
                                                  {QString(), QStringLiteral("V2")}}) {
        OptionsValues values = defaults();
        values.conversionQuality = stored;
        frmOptions& dialog = open(values);
        EXPECT_EQ(dialog.cboQuality()->currentData().toString(), shown) << qPrintable(stored);
        dialog.cmdOK_Click();
        EXPECT_EQ(dialog.values().conversionQuality, shown);
    }
    OptionsValues values = defaults();
    frmOptions& dialog = open(values);
    dialog.cboQuality()->setFocus();
    QTest::keyClick(dialog.cboQuality(), Qt::Key_End); // the last choice: CBR 320
    EXPECT_EQ(dialog.cboQuality()->currentData().toString(), QStringLiteral("CBR320"));
    QTest::mouseClick(dialog.cmdOK(), Qt::LeftButton);
    EXPECT_EQ(dialog.values().conversionQuality, QStringLiteral("CBR320"));
}
