// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/limits_window.h"

#include <QAbstractItemView>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace ogrado {

LimitsWindow::LimitsWindow(LimitsForm& form, QWidget* parent) : FormWindow(form, parent)
{
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->setSpacing(6);

    QLabel* heading = caption(
        QStringLiteral("Просчитать варианты для параметров внутреннего воздуха по соблюдению требований п. 9.1 ТКП"),
        true);
    heading->setFixedWidth(330);
    heading->setStyleSheet(QStringLiteral("font-weight: bold;"));
    root->addWidget(heading);

    // first, last and step: temperatures on the left, humidities on the right
    auto* ranges = new QGridLayout;
    ranges->setHorizontalSpacing(6);
    ranges->setVerticalSpacing(4);
    ranges->addWidget(caption(QStringLiteral("t(в), °С")), 0, 1, Qt::AlignCenter);
    ranges->addWidget(caption(QStringLiteral("фи(в), %")), 0, 2, Qt::AlignCenter);
    const char* const rowCaptions[3] = {"от", "до", "шаг"};
    for (int k = 0; k < 3; ++k) {
        ranges->addWidget(caption(QString::fromUtf8(rowCaptions[k])), k + 1, 0);
        QLineEdit* t = lineEdit(LimitsForm::temperatureEntry(k), 70);
        QLineEdit* phi = lineEdit(LimitsForm::humidityEntry(k), 70);
        t->setAlignment(Qt::AlignRight);
        phi->setAlignment(Qt::AlignRight);
        ranges->addWidget(t, k + 1, 1);
        ranges->addWidget(phi, k + 1, 2);
    }
    ranges->setColumnStretch(3, 1);
    root->addLayout(ranges);

    auto* box = new QGroupBox(QStringLiteral("Допускаемые по паропроницанию"), this);
    auto* lists = new QGridLayout(box);
    lists->setHorizontalSpacing(2);
    lists->setVerticalSpacing(2);
    const char* const heads[3] = {"t(в)", "фи(в) от", "фи(в) до"};
    for (int k = 0; k < 3; ++k) {
        QLabel* head = caption(QString::fromUtf8(heads[k]));
        head->setAlignment(Qt::AlignCenter);
        lists->addWidget(head, 0, k);
        QListWidget* l = listBox(LimitsForm::list(k), 96);
        l->setMinimumHeight(150);  // taller when the window is
        l->setSelectionMode(QAbstractItemView::NoSelection);
        l->setFocusPolicy(Qt::NoFocus);
        lists->addWidget(l, 1, k);
    }
    // the three columns are one table: they scroll together
    QList<QListWidget*> columns;
    for (int k = 0; k < 3; ++k)
        columns.append(findChild<QListWidget*>(LimitsForm::list(k)));
    for (QListWidget* from : columns) {
        for (QListWidget* to : columns) {
            if (from != to)
                connect(from->verticalScrollBar(), &QScrollBar::valueChanged, to->verticalScrollBar(),
                        &QScrollBar::setValue);
        }
    }
    root->addWidget(box, 1);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(4);
    auto* top = new QHBoxLayout;
    top->addWidget(button(QStringLiteral("cvdOk"), QStringLiteral("Расчет")));
    top->addWidget(button(QStringLiteral("cmdCancel"), QStringLiteral("Выход")));
    buttons->addLayout(top);
    buttons->addWidget(button(QStringLiteral("cmdSave"), QStringLiteral("Добавить к результатам расчетов")));
    root->addLayout(buttons);
    bindControls();
}

}  // namespace ogrado
