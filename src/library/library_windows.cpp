// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/library_windows.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ogrado {

PirWindow::PirWindow(PirForm& form, QWidget* parent) : FormWindow(form, parent)
{
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->setSpacing(6);

    auto* stored = new QGroupBox(QStringLiteral("Существующие пирожки в базе"), this);
    auto* g = new QGridLayout(stored);
    g->setHorizontalSpacing(6);
    stacks_ = comboBox(QStringLiteral("cbo1"), true);
    stacks_->setMinimumContentsLength(40);
    stacks_->setMinimumWidth(600);
    stacks_->setToolTip(QStringLiteral("Двойной щелчок по имени загружает пирожок в таблицу слоев"));
    stacks_->lineEdit()->installEventFilter(this);
    g->addWidget(caption(QStringLiteral("Имя")), 0, 0);
    g->addWidget(stacks_, 0, 1);
    g->addWidget(caption(QStringLiteral("Подробно")), 1, 0);
    g->addWidget(lineEdit(QStringLiteral("txtOp"), 600), 1, 1);
    auto* storedButtons = new QHBoxLayout;
    storedButtons->addStretch();
    storedButtons->addWidget(button(QStringLiteral("cmdRen"), QStringLiteral("Перенаименовать")));
    storedButtons->addWidget(button(QStringLiteral("cmdDel"), QStringLiteral("Удалить")));
    g->addLayout(storedButtons, 2, 0, 1, 2);
    root->addWidget(stored);

    auto* added = new QGroupBox(QStringLiteral("Новый пирожок из таблицы слоев"), this);
    auto* n = new QGridLayout(added);
    n->setHorizontalSpacing(6);
    n->addWidget(caption(QStringLiteral("Имя ")), 0, 0);
    n->addWidget(lineEdit(QStringLiteral("txt1_0"), 600), 0, 1);
    n->addWidget(caption(QStringLiteral("Подробно")), 1, 0);
    n->addWidget(lineEdit(QStringLiteral("txt1_1"), 600), 1, 1);
    auto* addButtons = new QHBoxLayout;
    addButtons->addStretch();
    addButtons->addWidget(button(QStringLiteral("cmdSave"), QStringLiteral("Добавить")));
    n->addLayout(addButtons, 2, 0, 1, 2);
    root->addWidget(added);

    root->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(button(QStringLiteral("cmdCancel"), QStringLiteral("Выход")));
    root->addLayout(bottom);
    bindControls();
    showBeginnings();
    connect(&form, &FormModel::changed, this, &PirWindow::showBeginnings);
}

// A description longer than its field is shown from its start, not from its end.
void PirWindow::showBeginnings()
{
    for (const char* name : {"txtOp", "txt1_1"}) {
        auto* edit = findChild<QLineEdit*>(QLatin1String(name));
        if (edit && !edit->hasFocus())
            edit->setCursorPosition(0);
    }
}

bool PirWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A double click on the stack's name puts it into the grid.
    if (stacks_ && watched == stacks_->lineEdit() && event->type() == QEvent::MouseButtonDblClick) {
        model().userDblClick(QStringLiteral("cbo1"));
        return false;
    }
    return FormWindow::eventFilter(watched, event);
}

OpenPirWindow::OpenPirWindow(OpenPirForm& form, QWidget* parent) : FormWindow(form, parent)
{
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->setSpacing(6);
    // The window can be made larger: the list and the description grow with it.
    root->addWidget(caption(QStringLiteral("Пирожки в базе")));
    QListWidget* list = listBox(QStringLiteral("lst1"));
    list->setMinimumWidth(420);
    list->setToolTip(QStringLiteral("Двойной щелчок загружает пирожок в таблицу слоев и закрывает окно"));
    root->addWidget(list, 2);
    root->addWidget(caption(QStringLiteral("Подробно")));
    // the whole description, wrapped over as many lines as it needs
    auto* description = new QPlainTextEdit(this);
    description->setObjectName(QStringLiteral("txt1"));
    description->setReadOnly(true);
    description->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    description->setMinimumHeight(5 * description->fontMetrics().lineSpacing() + 12);
    root->addWidget(description, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button(QStringLiteral("cmdOpen"), QStringLiteral("Загрузить")));
    buttons->addWidget(button(QStringLiteral("cmdCancel"), QStringLiteral("Выход")));
    root->addLayout(buttons);
    bindControls();
}

}  // namespace ogrado
