// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/SelectionSummary.h"
#include "localfiles/LocalFileModel.h"

#include <QItemSelectionModel>
#include <QLocale>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace
{

const SummaryWords words{QStringLiteral("File"), QStringLiteral("Files"), QStringLiteral("Bytes")};

std::vector<LocalFileRow> rows(int n)
{
    std::vector<LocalFileRow> list;
    for (int i = 0; i < n; ++i) {
        LocalFileRow row;
        row.name = QStringLiteral("f%1.mp3").arg(i, 4, 10, QLatin1Char('0'));
        row.size = i % 7 == 3 ? -1 : qint64(i) * 1000003;
        list.push_back(row);
    }
    return list;
}

QString nameOf(const LocalFileModel& model, int id)
{
    return model.rowById(id).name;
}

class SelectionSummaryTest : public ::testing::Test
{
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(SelectionSummaryTest, NothingSelectedShowsZeroCountAndZeroBytes)
{
    LocalFileModel model;
    model.setRows(rows(3));
    SelectionSummary summary(model);
    const SummaryTexts texts = summaryTexts(words, summary.figures(), {});
    EXPECT_EQ(texts.panel1, QStringLiteral("0 Files"));
    EXPECT_EQ(texts.panel2, QStringLiteral("0 Bytes"));
}

TEST_F(SelectionSummaryTest, OneRowShowsItsDisplayName)
{
    LocalFileModel model;
    model.setRows(rows(5));
    SelectionSummary summary(model);
    summary.setSelected(2, 2, true);
    const SummaryTexts texts = summaryTexts(
        words, summary.figures(), [&](int id) { return QStringLiteral("LCD:") + nameOf(model, id); });
    EXPECT_EQ(texts.panel1, QStringLiteral("1 File"));
    EXPECT_EQ(texts.panel2, QStringLiteral("LCD:f0002.mp3"));
    summary.setSelected(4, 4, true);
    summary.setSelected(2, 2, false);
    EXPECT_EQ(summary.figures().singleRowId, 4);
}

TEST_F(SelectionSummaryTest, UnknownSizesCountButAddNothing)
{
    LocalFileModel model;
    model.setRows(rows(5)); // row 3 has no size
    SelectionSummary summary(model);
    summary.setSelected(2, 4, true);
    EXPECT_EQ(summary.figures().count, 3);
    EXPECT_EQ(summary.figures().total, (2 + 4) * 1000003LL);
    EXPECT_EQ(summaryTexts(words, summary.figures(), {}).panel2, QStringLiteral("6,000,018 Bytes"));
}

TEST_F(SelectionSummaryTest, IncrementalFiguresMatchAFullWalkThroughSortsAndToggles)
{
    LocalFileModel model;
    model.setRows(rows(200));
    QItemSelectionModel selection(&model);
    SelectionSummary summary(model);
    summary.track(&selection);
    QRandomGenerator random(42);
    for (int step = 0; step < 400; ++step) {
        const int row = int(random.bounded(200));
        const auto command = random.bounded(2) ? QItemSelectionModel::Toggle : QItemSelectionModel::Select;
        selection.select(model.index(row, 0), command | QItemSelectionModel::Rows);
        if (step % 50 == 0)
            model.sort(int(random.bounded(2)), random.bounded(2) ? Qt::AscendingOrder : Qt::DescendingOrder);
        const SummaryFigures walked = GetFileSize(
            model, [&](int position) { return selection.isRowSelected(position, QModelIndex()); });
        ASSERT_EQ(summary.figures().count, walked.count) << step;
        ASSERT_EQ(summary.figures().total, walked.total) << step;
        ASSERT_EQ(summary.figures().singleRowId, walked.singleRowId) << step;
    }
    selection.select(QItemSelection(model.index(0, 0), model.index(199, 4)), QItemSelectionModel::Select);
    EXPECT_EQ(summary.figures().count, 200);
    model.clear();
    EXPECT_EQ(summary.figures().count, 0);
    EXPECT_EQ(summary.figures().total, 0);
}

} // namespace
