// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/reference_data_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace ogrado {

ReferenceDataWindow::ReferenceDataWindow(ReferenceDataForm& form, QWidget* parent) : FormWindow(form, parent)
{
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(8, 8, 8, 8);
    v->setSpacing(6);
    auto* top = new QHBoxLayout;
    top->addWidget(caption(QStringLiteral("Таблица:")));
    top->addWidget(comboBox(QStringLiteral("cboTable")), 1);
    v->addLayout(top);
    v->addWidget(label(QStringLiteral("lblTable"), true));
    QTableWidget* grid = table(QStringLiteral("grdData"));
    grid->setMinimumSize(900, 360);
    v->addWidget(grid, 1);
    QLabel* row = label(QStringLiteral("lblRow"), true);
    row->setMinimumHeight(48);
    row->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    row->setTextInteractionFlags(Qt::TextSelectableByMouse);
    v->addWidget(row);
    QLabel* hint = label(QStringLiteral("lblHint"), true);
    hint->setStyleSheet(QStringLiteral("font-size: 8pt;"));
    v->addWidget(hint);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button(QStringLiteral("cmdConfirm"), form.text(QStringLiteral("cmdConfirm"))));
    buttons->addStretch();
    QPushButton* close = button(QStringLiteral("cmdCancel"), form.text(QStringLiteral("cmdCancel")));
    close->setMinimumWidth(90);
    buttons->addWidget(close);
    v->addLayout(buttons);

    bindControls();
    QHeaderView* header = grid->horizontalHeader();
    header->setMinimumSectionSize(40);
    header->setDefaultSectionSize(90);
    header->setStretchLastSection(true);
    // another table shown: the names and the status take a readable width, the values
    // are as wide as their texts; the source takes the rest (the whole text is the
    // cell's tooltip)
    auto shown = std::make_shared<QStringList>();
    auto fitColumns = [grid, shown] {
        QStringList headings;
        for (int k = 0; k < grid->columnCount(); ++k)
            headings.append(grid->horizontalHeaderItem(k) ? grid->horizontalHeaderItem(k)->text() : QString());
        if (headings == *shown || grid->columnCount() < 3)
            return;
        *shown = headings;
        grid->resizeColumnsToContents();
        grid->setColumnWidth(0, std::min(std::max(grid->columnWidth(0), 120), 280));
        grid->setColumnWidth(grid->columnCount() - 2, 180);
        grid->setColumnWidth(grid->columnCount() - 1, std::min(grid->columnWidth(grid->columnCount() - 1), 480));
    };
    connect(&form, &FormModel::changed, this, fitColumns);
    fitColumns();
}

}  // namespace ogrado
