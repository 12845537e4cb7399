// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "OptionsFixture.h"
#include "app/options/FontPreview.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>

#include <cmath>

namespace
{

// A font whose text is `factor` pixels high per point.
FontFit::HeightMeasure linear(double factor)
{
    return [factor](const QFont& font, const QString&) { return font.pointSizeF() * factor; };
}

QFont liberationSans()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(16);
    return font;
}

} // namespace

TEST(FontFit, TakesTheLargestSizeThatFitsTwentyFourPixels)
{
    const QFont font = liberationSans();
    EXPECT_EQ(FontFit::FittedPointSize(font, QStringLiteral("x"), linear(1.5)), 16) << "16 pt = 24 px fits";
    EXPECT_EQ(FontFit::FittedPointSize(font, QStringLiteral("x"), linear(1.6)), 15);
    EXPECT_EQ(FontFit::FittedPointSize(font, QStringLiteral("x"), linear(4.8)), 5)
        << "5 pt = 24 px still fits";
}

TEST(FontFit, HeightIsRoundedBeforeTheComparison)
{
    // 24.4 px rounds to 24 and fits; 24.5 rounds up and does not.
    EXPECT_EQ(FontFit::FittedPointSize(liberationSans(), {}, linear(24.4 / 10)), 10);
    EXPECT_EQ(FontFit::FittedPointSize(liberationSans(), {}, linear(24.5 / 10)), 9);
}

TEST(FontFit, StopsAtTwentyAndFallsBackToFour)
{
    EXPECT_EQ(FontFit::FittedPointSize(liberationSans(), {}, linear(1.0)), 20)
        << "20 pt = 20 px: nothing exceeds";
    EXPECT_EQ(FontFit::FittedPointSize(liberationSans(), {}, linear(5.0)), 4) << "5 pt is already 25 px";
}

TEST(FontFit, RealMetricsAreMeasuredAtNinetySixDpi)
{
    // 16 points are 21.33 pixels at 96 dpi; Liberation Sans adds about 15 % for its line.
    const double height = FontFit::TextHeightAt96Dpi(liberationSans(), QStringLiteral("ABCDEF"));
    EXPECT_GT(height, 21.3);
    EXPECT_LT(height, 26.0);
    EXPECT_DOUBLE_EQ(FontFit::TextHeightAt96Dpi(liberationSans(), QStringLiteral("a\nb")), 2 * height);
}

TEST_F(OptionsFixture, PreviewTakesTheFittedSizeOfTheChosenFace)
{
    frmOptions& dialog = open(defaults());
    const QList<QListWidgetItem*> found =
        dialog.lstFont()->findItems(QStringLiteral("Liberation Sans"), Qt::MatchExactly);
    ASSERT_FALSE(found.isEmpty()) << "fonts-liberation is installed by the build scripts";
    dialog.lstFont()->setCurrentItem(found.first());
    const QFont fitted = dialog.picDemo()->previewFont();
    EXPECT_EQ(fitted.family(), QStringLiteral("Liberation Sans"));
    QFont larger = fitted;
    larger.setPointSize(fitted.pointSize() + 1);
    EXPECT_LE(std::lround(FontFit::TextHeightAt96Dpi(fitted, QStringLiteral("ABCDEF"))), 24);
    EXPECT_GT(std::lround(FontFit::TextHeightAt96Dpi(larger, QStringLiteral("ABCDEF"))), 24);
    EXPECT_EQ(dialog.picDemo()->printedText(), QStringLiteral("ABCDEF"));
}

TEST_F(OptionsFixture, OkHandsTheFittedPreviewFontToTheMainWindow)
{
    m_measure = linear(5.0); // every size too high: the fallback of 4 points
    OptionsValues values = defaults();
    values.titleFont.setBold(true);
    frmOptions& dialog = open(values);
    EXPECT_TRUE(dialog.chkBold()->isChecked());
    dialog.txtFont()->setText(QStringLiteral("Tall"));
    EXPECT_EQ(dialog.picDemo()->previewFont().pointSize(), 4);
    EXPECT_EQ(dialog.picDemo()->printedText(), QStringLiteral("Tall"));
    dialog.chkBold()->setChecked(false);
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.values().titleFont.pointSize(), 4);
    EXPECT_FALSE(dialog.values().titleFont.bold());
    EXPECT_EQ(dialog.values().titleFont.family(), QStringLiteral("Liberation Sans"));
}

TEST_F(OptionsFixture, UninstalledFaceIsKeptUnchangedUntilTheUserPicksOne)
{
    OptionsValues values = defaults();
    values.titleFont = QFont(QStringLiteral("No Such Face 42"));
    values.titleFont.setPointSize(17);
    frmOptions& dialog = open(values);
    EXPECT_TRUE(dialog.lstFont()->selectedItems().isEmpty());
    // The list gets the keyboard focus when the dialog shows; Qt then makes its first row current,
    // which is not the user choosing a face.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(dialog.lstFont(), &focusIn);
    dialog.chkBold()->setChecked(!dialog.chkBold()->isChecked());
    dialog.chkBold()->setChecked(!dialog.chkBold()->isChecked());
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.values().titleFont.family(), QStringLiteral("No Such Face 42"));
    EXPECT_EQ(dialog.values().titleFont.pointSize(), 17);
}

TEST_F(OptionsFixture, BoldTickedWithAFaceThatIsNotInstalledIsKeptOnOk)
{
    OptionsValues values = defaults();
    values.titleFont = QFont(QStringLiteral("No Such Face 42"));
    values.titleFont.setPointSize(17);
    frmOptions& dialog = open(values);
    dialog.chkBold()->setChecked(true);
    dialog.cmdOK_Click();
    EXPECT_TRUE(dialog.values().titleFont.bold());
    EXPECT_EQ(dialog.values().titleFont.pointSize(), 17);
    EXPECT_EQ(dialog.values().titleFont.family(), QStringLiteral("No Such Face 42"));
}

TEST_F(OptionsFixture, FontListNamesEveryFaceOnceAsItIsStored)
{
    frmOptions& dialog = open(defaults());
    QSet<QString> seen;
    for (int i = 0; i < dialog.lstFont()->count(); ++i) {
        const QString name = dialog.lstFont()->item(i)->text();
        EXPECT_FALSE(name.contains(QStringLiteral(" ["))) << name.toStdString();
        EXPECT_FALSE(seen.contains(name)) << name.toStdString() << " twice";
        seen.insert(name);
    }
    EXPECT_TRUE(seen.contains(QStringLiteral("Liberation Sans")));
}
