// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/row_operations_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ogrado {

RowOperationsWindow::RowOperationsWindow(RowOperationsForm& form, QWidget* parent) : FormWindow(form, parent)
{
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->setSpacing(10);

    auto rowList = [this](const QString& name, const QString& title) {
        auto* v = new QVBoxLayout;
        v->setSpacing(2);
        v->addWidget(caption(title));
        QListWidget* list = listBox(name, 46);
        list->setFixedHeight(8 * 17 + 6);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        v->addWidget(list);
        v->addStretch();
        return v;
    };
    root->addLayout(rowList(QStringLiteral("lst1_0"), QStringLiteral("Откуда")));

    auto* options = new QVBoxLayout;
    options->setSpacing(6);
    options->addSpacing(18);
    const char* captions[4] = {"Скопировать в строку:", "Переместить в строку:", "Поменять местами со строкой:",
                               "Удалить строку:"};
    for (int k = 0; k < 4; ++k)
        options->addWidget(optionButton(QStringLiteral("opt1_%1").arg(k), QString::fromUtf8(captions[k])));
    options->addStretch();
    root->addLayout(options);

    root->addLayout(rowList(QStringLiteral("lst1_1"), QStringLiteral("Куда")));

    auto* buttons = new QVBoxLayout;
    buttons->addSpacing(18);
    QPushButton* run = button(QStringLiteral("cmdOk"), QStringLiteral("Выполнить"));
    QPushButton* close = button(QStringLiteral("cmdCancel"), QStringLiteral("Выход"));
    run->setMinimumWidth(90);
    close->setMinimumWidth(90);
    buttons->addWidget(run);
    buttons->addWidget(close);
    buttons->addStretch();
    root->addLayout(buttons);

    bindControls();
}

}  // namespace ogrado
