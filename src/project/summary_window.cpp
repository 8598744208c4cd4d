// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/summary_window.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace ogrado {

SummaryWindow::SummaryWindow(SummaryForm& form, QWidget* parent) : FormWindow(form, parent)
{
    setWindowFlags(Qt::Window | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->setSpacing(6);
    auto* project = new QGridLayout;
    project->setHorizontalSpacing(6);
    project->addWidget(caption(QStringLiteral("Проект:")), 0, 0);
    project->addWidget(lineEdit(QStringLiteral("txtPrjName")), 0, 1);
    project->addWidget(caption(QStringLiteral("Описание:")), 1, 0, Qt::AlignTop);
    auto* description = new QPlainTextEdit(this);
    description->setObjectName(QStringLiteral("txtPrjDescr"));
    description->setFixedHeight(3 * description->fontMetrics().height() + 12);
    project->addWidget(description, 1, 1);
    project->setColumnStretch(1, 1);
    root->addLayout(project);

    QTableWidget* grid = table(QStringLiteral("grdSummary"));
    grid->setMinimumSize(900, 200);
    grid->horizontalHeader()->setSectionsClickable(false);
    grid->setWordWrap(true);
    root->addWidget(grid, 1);
    QLabel* note = label(QStringLiteral("lblNote"), true);
    note->setStyleSheet(QStringLiteral("font-size: 8pt;"));
    root->addWidget(note);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button(QStringLiteral("cmdCopy"), form.text(QStringLiteral("cmdCopy"))));
    buttons->addStretch();
    buttons->addWidget(button(QStringLiteral("cmdCancel"), form.text(QStringLiteral("cmdCancel"))));
    root->addLayout(buttons);
    bindControls();

    // headings wrap; the columns are as wide as their texts, the name takes the rest
    QHeaderView* header = grid->horizontalHeader();
    header->setDefaultAlignment(Qt::Alignment::fromInt(Qt::AlignCenter | Qt::TextWordWrap));
    header->setMinimumHeight(4 * fontMetrics().height() + 8);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(true);
    // a column is as wide as its cells and the longest word of its heading
    auto fit = [grid] {
        const QFontMetrics metrics = grid->horizontalHeader()->fontMetrics();
        for (int k = 0; k < grid->columnCount(); ++k) {
            const QTableWidgetItem* heading = grid->horizontalHeaderItem(k);
            int word = 0;
            for (const QString& w : (heading ? heading->text() : QString()).split(u' '))
                word = std::max(word, metrics.horizontalAdvance(w));
            grid->setColumnWidth(k, std::clamp(std::max(static_cast<const QAbstractItemView*>(grid)->sizeHintForColumn(k), word + 16), 50, 260));
        }
    };
    fit();
    connect(&form, &FormModel::changed, this, fit);
    // the model says what to copy; the clipboard is the window's
    connect(&form, &SummaryForm::copyRequested, this,
            [](const QString& text) { QGuiApplication::clipboard()->setText(text); });
}

}  // namespace ogrado
