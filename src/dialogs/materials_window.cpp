// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/materials_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace ogrado {

MaterialsWindow::MaterialsWindow(MaterialsForm& form, QWidget* parent) : FormWindow(form, parent)
{
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(8, 8, 8, 8);
    h->setSpacing(10);

    // the picker
    auto* v = new QVBoxLayout;
    v->setSpacing(4);
    v->addWidget(searchComboBox(QStringLiteral("cboM"), 280, 640));
    QLabel* description = label(QStringLiteral("lblM"), true);
    description->setFixedWidth(280);
    // a fixed height: the row list below stays where it is whatever the description's
    // length (a longer one shows whole as its tooltip)
    description->setFixedHeight(7 * description->fontMetrics().lineSpacing() + 4);
    description->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    v->addWidget(description);
    auto* density = new QHBoxLayout;
    density->addWidget(caption(QStringLiteral("Объемная масса, кг/м3")));
    density->addWidget(lineEdit(QStringLiteral("txtM"), 60));
    density->addStretch();
    v->addLayout(density);
    auto* rows = new QHBoxLayout;
    QListWidget* target = listBox(QStringLiteral("lstM"), 40);
    target->setFixedHeight(8 * 17 + 6);
    target->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rows->addWidget(target);
    QLabel* hint = caption(QStringLiteral("Выделить, затем Dbl-click - вставка данных в выделенную строку"), true);
    hint->setFixedWidth(230);
    rows->addWidget(hint, 0, Qt::AlignTop);
    rows->addStretch();
    v->addLayout(rows);
    v->addStretch();
    h->addLayout(v);

    // the catalogue
    auto* c = new QVBoxLayout;
    c->setSpacing(4);
    auto* find = new QHBoxLayout;
    find->addWidget(caption(QStringLiteral("Найти:")));
    find->addWidget(lineEdit(QStringLiteral("txtFind")), 1);
    find->addSpacing(10);
    find->addWidget(checkBox(QStringLiteral("chkOwn"), QStringLiteral("Только свои")));
    c->addLayout(find);
    QTableWidget* grid = table(QStringLiteral("grdM"));
    grid->setMinimumSize(560, 360);
    c->addWidget(grid, 1);
    QLabel* own = label(QStringLiteral("lblOwn"), true);
    own->setStyleSheet(QStringLiteral("font-size: 8pt;"));
    c->addWidget(own);
    auto* buttons = new QHBoxLayout;
    for (const char* name : {"cmdAdd", "cmdEdit", "cmdCopy", "cmdDel"}) {
        QPushButton* b = button(QLatin1String(name), form.text(QLatin1String(name)));
        b->setMinimumWidth(90);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    QPushButton* close = button(QStringLiteral("cmdCancel"), QStringLiteral("Выход"));
    close->setMinimumWidth(90);
    buttons->addWidget(close);
    c->addLayout(buttons);
    h->addLayout(c, 1);

    bindControls();
    // the name takes the room left; the other columns are as wide as their texts
    QHeaderView* header = grid->horizontalHeader();
    header->setMinimumSectionSize(36);
    for (int k = 0; k < grid->columnCount(); ++k)
        header->setSectionResizeMode(k, k == 1 ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
}

}  // namespace ogrado
