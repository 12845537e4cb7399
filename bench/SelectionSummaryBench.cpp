// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The local list's selection summary while Ctrl+A selects 10,000 rows one after the other:
// the incremental summary (with the status texts rebuilt after every row) against walking the
// whole list on every change.
#include "localfiles/LocalFileModel.h"
#include "localfiles/SelectionSummary.h"
#include "localfiles/SizeFormat.h"
#include "transfer/DisplayName.h"

#include <QCoreApplication>
#include <QItemSelectionModel>

#include <benchmark/benchmark.h>

namespace
{

constexpr int RowCount = 10000;
const SummaryWords Words{QStringLiteral("File"), QStringLiteral("Files"), QStringLiteral("Bytes")};

std::vector<LocalFileRow> rows()
{
    std::vector<LocalFileRow> list;
    for (int i = 0; i < RowCount; ++i) {
        LocalFileRow row;
        row.name = QStringLiteral("Track %1.mp3").arg(i, 5, 10, QLatin1Char('0'));
        row.path = QStringLiteral("/music/") + row.name;
        row.size = 3000000 + i * 977;
        row.title = QStringLiteral("Title %1").arg(i);
        list.push_back(row);
    }
    return list;
}

// Summary work per row: update the figures and rebuild both status texts.
void BM_SelectAllIncremental(benchmark::State& state)
{
    LocalFileModel model;
    model.setRows(rows());
    SelectionSummary summary(model);
    const auto displayName = [&](int id) { return Disp_Name(1, model.rowById(id)); };
    // The window keeps one formatter for its summary (its locale does not change meanwhile).
    const mFileAPI::SizeFormatter formatter;
    for (auto _ : state) {
        summary.reset();
        for (int row = 0; row < RowCount; ++row) {
            summary.setSelected(row, row, true);
            SummaryTexts texts = summaryTexts(Words, summary.figures(), displayName, formatter);
            benchmark::DoNotOptimize(texts);
        }
    }
    state.SetItemsProcessed(state.iterations() * RowCount);
}
BENCHMARK(BM_SelectAllIncremental)->Unit(benchmark::kMillisecond);

// Ctrl+A as a view should do it: one range for the selection model, one summary update for
// all rows (selecting 10,000 rows one by one costs Qt's selection model seconds by itself).
void BM_SelectAllAsOneRange(benchmark::State& state)
{
    LocalFileModel model;
    model.setRows(rows());
    const auto displayName = [&](int id) { return Disp_Name(1, model.rowById(id)); };
    for (auto _ : state) {
        QItemSelectionModel selection(&model);
        SelectionSummary summary(model);
        summary.track(&selection);
        SummaryTexts texts;
        QObject::connect(&summary, &SelectionSummary::changed,
                         [&] { texts = summaryTexts(Words, summary.figures(), displayName); });
        selection.select(
            QItemSelection(model.index(0, 0), model.index(RowCount - 1, LocalFileModel::ColumnCount - 1)),
            QItemSelectionModel::Select);
        benchmark::DoNotOptimize(texts);
    }
}
BENCHMARK(BM_SelectAllAsOneRange)->Unit(benchmark::kMillisecond);

// The walk the list used to make on every change: n walks for n rows.
void BM_SelectAllRewalking(benchmark::State& state)
{
    LocalFileModel model;
    model.setRows(rows());
    std::vector<char> selected(RowCount, 0);
    const auto displayName = [&](int id) { return Disp_Name(1, model.rowById(id)); };
    for (auto _ : state) {
        std::fill(selected.begin(), selected.end(), 0);
        for (int row = 0; row < RowCount; ++row) {
            selected[std::size_t(row)] = 1;
            const SummaryFigures figures =
                GetFileSize(model, [&](int p) { return selected[std::size_t(p)] != 0; });
            SummaryTexts texts = summaryTexts(Words, figures, displayName);
            benchmark::DoNotOptimize(texts);
        }
    }
}
BENCHMARK(BM_SelectAllRewalking)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
