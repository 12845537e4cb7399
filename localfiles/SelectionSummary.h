// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The selection summary of the local list (count and total size of the selected files), kept
// up to date change by change, so that selecting all of n rows costs n small steps, not n walks.
#pragma once

#include "localfiles/SizeFormat.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class LocalFileModel;
class QItemSelection;
class QItemSelectionModel;

// The words of the summary, from the language file (Main/Single File, Multi File, byte).
struct SummaryWords {
    QString singleFile;
    QString multiFile;
    QString byte;
};

struct SummaryTexts {
    QString panel1;
    QString panel2;
    bool operator==(const SummaryTexts&) const = default;
};

struct SummaryFigures {
    int count = 0;
    qint64 total = 0;     // bytes of the selected rows whose size is known
    int singleRowId = -1; // the one selected row's id when count is 1
};

// Exactly one row: "1 <single>" and the row's display name; else "<count> <multi>" and
// "<FormatSize(total)> <byte>". displayName is asked only when one row is selected.
SummaryTexts summaryTexts(const SummaryWords& words, const SummaryFigures& figures,
                          const std::function<QString(int rowId)>& displayName,
                          const mFileAPI::SizeFormatter& formatter = mFileAPI::SizeFormatter());

// The summary by walking every row once: the reference the incremental summary must match.
SummaryFigures GetFileSize(const LocalFileModel& model, const std::function<bool(int position)>& isSelected);

class SelectionSummary : public QObject
{
    Q_OBJECT
public:
    explicit SelectionSummary(const LocalFileModel& model, QObject* parent = nullptr);

    // Follows a view's selection model: every selection change updates the figures and emits
    // changed(); a model reset clears them.
    void track(QItemSelectionModel* selection);

    // Nothing selected; sized for the model's current rows.
    void reset();
    // Marks the rows at view positions first..last. Marking a row twice counts it once.
    void setSelected(int first, int last, bool selected);

    const SummaryFigures& figures() const { return m_figures; }

signals:
    void changed();

private:
    void apply(const QItemSelection& selected, const QItemSelection& deselected);
    void mark(int rowId, bool selected);

    const LocalFileModel& m_model;
    std::vector<char> m_selected; // by row id
    SummaryFigures m_figures;
    qint64 m_idSum = 0; // sum of selected ids: the single selected id when count is 1
};
