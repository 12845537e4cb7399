// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/SyncDialog.h"

#include "localfiles/SizeFormat.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>

SyncDialog::SyncDialog(const QString& folder, Planner planner, const SyncTexts& texts, QWidget* parent)
    : QDialog(parent), m_planner(std::move(planner)), m_texts(texts), m_folder(folder),
      m_chooser([](QWidget* p, const QString& current) {
          return QFileDialog::getExistingDirectory(p, {}, current);
      })
{
    setWindowTitle(texts.caption);
    auto* grid = new QGridLayout;
    auto* folderLabel = new QLabel(texts.folder);
    m_folderText = new QLineEdit(folder);
    m_folderText->setReadOnly(true);
    folderLabel->setBuddy(m_folderText);
    auto* choose = new QPushButton(texts.choose);
    choose->setAutoDefault(false);
    grid->addWidget(folderLabel, 0, 0);
    grid->addWidget(m_folderText, 0, 1);
    grid->addWidget(choose, 0, 2);
    m_mirror = new QCheckBox(texts.mirror);
    grid->addWidget(m_mirror, 1, 1, 1, 2);
    auto* orderLabel = new QLabel(texts.order);
    m_order = new QComboBox;
    m_order->addItems({texts.orderAlbum, texts.orderName, texts.orderNone});
    orderLabel->setBuddy(m_order);
    grid->addWidget(orderLabel, 2, 0);
    grid->addWidget(m_order, 2, 1, 1, 2);

    m_list = new QTreeWidget;
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels({texts.columnAction, texts.columnFile, texts.columnReason, texts.columnSize});
    m_summary = new QLabel;
    m_summary->setWordWrap(true);
    m_busy = new QProgressBar;
    m_busy->setRange(0, 0); // no end known: it only shows that work goes on
    m_busy->setTextVisible(false);
    m_busy->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    m_start = buttons->addButton(texts.start, QDialogButtonBox::AcceptRole);
    m_start->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_busy);
    layout->addWidget(m_summary);
    layout->addWidget(buttons);
    resize(720, 480);

    connect(choose, &QPushButton::clicked, this, &SyncDialog::chooseFolder);
    connect(m_mirror, &QCheckBox::toggled, this, &SyncDialog::replan);
    connect(m_order, &QComboBox::currentIndexChanged, this, &SyncDialog::replan);
    connect(buttons, &QDialogButtonBox::accepted, this, &SyncDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SyncDialog::reject);
    replan();
}

SyncDialog::~SyncDialog()
{
    stopPlanning();
}

SyncOptions SyncDialog::options() const
{
    SyncOptions options;
    options.mirror = m_mirror->isChecked();
    const SyncOrder orders[] = {SyncOrder::Album, SyncOrder::Name, SyncOrder::None};
    options.order = orders[std::clamp(m_order->currentIndex(), 0, 2)];
    return options;
}

QString SyncDialog::actionText(SyncItem::Action action) const
{
    switch (action) {
    case SyncItem::Action::Send:
        return m_texts.send;
    case SyncItem::Action::Delete:
        return m_texts.remove;
    case SyncItem::Action::Keep:
        return m_texts.keep;
    case SyncItem::Action::Skip:
        break;
    }
    return m_texts.skip;
}

void SyncDialog::replan()
{
    if (m_thread) {
        // The plan being made is for the old choices: stop it and start again when it ends.
        m_stop->store(true);
        m_replanWanted = true;
        return;
    }
    m_replanWanted = false;
    m_prep = SyncPreparation();
    m_list->clear();
    m_start->setEnabled(false);
    m_summary->setText(m_texts.reading);
    m_busy->show();
    auto stop = std::make_shared<std::atomic<bool>>(false);
    auto result = std::make_shared<SyncPreparation>();
    m_stop = stop;
    m_thread = QThread::create([planner = m_planner, folder = m_folder, options = options(), stop, result] {
        *result = planner(folder, options, [stop] { return stop->load(); });
    });
    connect(m_thread, &QThread::finished, this, [this, result] { planned(std::move(*result)); });
    m_thread->start();
}

void SyncDialog::stopPlanning()
{
    if (!m_thread)
        return;
    m_stop->store(true);
    m_thread->disconnect(this);
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
}

void SyncDialog::planned(SyncPreparation prep)
{
    // It said it finished; it is gone a moment later, and only then may it be deleted.
    m_thread->wait();
    m_thread->deleteLater();
    m_thread = nullptr;
    if (m_replanWanted) {
        replan();
        return;
    }
    m_busy->hide();
    m_prep = std::move(prep);
    if (m_prep.stopped) {
        m_summary->setText(m_texts.stopped);
        return;
    }
    if (!m_prep.ok) {
        m_summary->setText(m_texts.noPlan + QLatin1Char(' ') + problemText());
        m_start->setEnabled(false);
        return;
    }
    using A = SyncItem::Action;
    const SyncPlan& plan = m_prep.plan;
    QList<QTreeWidgetItem*> rows;
    for (const SyncItem& item : plan.items) {
        const QString shown = item.relativePath.isEmpty() ? item.name : item.relativePath;
        rows << new QTreeWidgetItem(QStringList{actionText(item.action), shown, m_texts.reason(item),
                                                mFileAPI::FormatSize(item.shownBytes())});
    }
    m_list->addTopLevelItems(rows);
    m_list->header()->resizeSections(QHeaderView::ResizeToContents);
    QString text = QString(m_texts.summary)
                       .arg(plan.count(A::Send))
                       .arg(mFileAPI::FormatSize(plan.bytes(A::Send)))
                       .arg(plan.count(A::Delete))
                       .arg(mFileAPI::FormatSize(plan.bytes(A::Delete)))
                       .arg(plan.count(A::Keep))
                       .arg(plan.count(A::Skip));
    if (!plan.fits())
        text += QLatin1Char('\n') + QString(m_texts.notFit).arg(plan.sendsThatFit).arg(plan.sendCount);
    if (!m_prep.recordNote.isEmpty())
        text += QLatin1Char('\n') + m_prep.recordNote;
    m_summary->setText(text);
    m_start->setText(plan.fits() ? m_texts.start : m_texts.startFitting);
    // Nothing at all fits: there is nothing to offer.
    m_start->setEnabled(plan.fits() || plan.sendsThatFit > 0 || plan.count(A::Delete) > 0);
}

QString SyncDialog::problemText() const
{
    using P = SyncPreparation::Problem;
    switch (m_prep.problem) {
    case P::NotAFolder:
        return QString(m_texts.notAFolder).arg(m_folder);
    case P::NoPlayer:
        return m_texts.noPlayer;
    case P::MediumUnread:
        return m_texts.mediumUnread;
    case P::EntriesUnread:
        return m_texts.entriesUnread;
    case P::None:
    case P::Stopped:
        break;
    }
    return m_prep.error;
}

void SyncDialog::chooseFolder()
{
    const QString chosen = m_chooser(this, m_folder);
    if (chosen.isEmpty())
        return;
    m_folder = chosen;
    m_folderText->setText(chosen);
    replan();
}

void SyncDialog::reject()
{
    // Cancel while the plan is being made stops the folder's reading first.
    stopPlanning();
    QDialog::reject();
}

void SyncDialog::accept()
{
    if (m_thread || !m_prep.ok)
        return;
    if (!m_prep.plan.fits())
        m_prep.plan.keepWhatFits();
    QDialog::accept();
}
