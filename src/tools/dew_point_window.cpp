// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dew_point_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ogrado {

DewPointWindow::DewPointWindow(DewPointForm& form, QWidget* parent) : FormWindow(form, parent)
{
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->setSpacing(6);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(5);
    const std::pair<int, const char*> rows[] = {
        {DewPointForm::kHumidity, "Влажность воздуха, %"},
        {DewPointForm::kTemperature, "Температура воздуха, °С"},
        {DewPointForm::kDewPoint, "Температура точки росы, °С"},
        {DewPointForm::kPressure, "Max парциальное давление, Па"},
    };
    int r = 0;
    for (const auto& [k, text] : rows) {
        QLabel* l = caption(QString::fromUtf8(text), true);
        l->setMinimumWidth(130);
        grid->addWidget(l, r, 0);
        QLineEdit* e = lineEdit(DewPointForm::entry(k), 64);
        e->setAlignment(Qt::AlignRight);
        grid->addWidget(e, r, 1);
        ++r;
    }
    root->addLayout(grid);
    // why nothing was computed; room for two lines, so that the window does not move
    QLabel* note = label(DewPointForm::noteName(), true);
    note->setMinimumHeight(2 * note->fontMetrics().lineSpacing() + 2);
    note->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    root->addWidget(note);
    root->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button(QStringLiteral("cmdOk"), QStringLiteral("Расчет")));
    buttons->addWidget(button(QStringLiteral("cmdCancel"), QStringLiteral("Выход")));
    root->addLayout(buttons);
    bindControls();
}

}  // namespace ogrado
