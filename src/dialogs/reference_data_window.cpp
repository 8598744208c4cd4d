// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/reference_data_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

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
    // long names and sources wrap in their tooltips; the values are as wide as their texts
    QHeaderView* header = grid->horizontalHeader();
    header->setMinimumSectionSize(40);
    header->setDefaultSectionSize(90);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(true);
    // the columns change with the table shown: the name column takes a readable width
    connect(&form, &FormModel::changed, this, [grid] {
        if (grid->columnCount() > 0 && grid->columnWidth(0) < 200)
            grid->setColumnWidth(0, 260);
    });
}

}  // namespace ogrado
