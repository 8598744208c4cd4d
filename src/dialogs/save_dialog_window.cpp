// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/save_dialog_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ogrado {

SaveDialogWindow::SaveDialogWindow(SaveDialogForm& form, QWidget* parent) : FormWindow(form, parent)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->setSpacing(6);

    auto* g = new QGridLayout;
    g->setHorizontalSpacing(10);
    g->setVerticalSpacing(3);
    g->addWidget(caption(QStringLiteral("Имя файла:")), 0, 0);
    g->addWidget(lineEdit(QStringLiteral("NameFile")), 1, 0);
    QListWidget* files = listBox(QStringLiteral("Files"));
    files->setMinimumHeight(150);
    g->addWidget(files, 2, 0);
    g->addWidget(caption(QStringLiteral("Тип файлов:")), 3, 0);
    g->addWidget(comboBox(QStringLiteral("gmbSpec")), 4, 0);

    g->addWidget(caption(QStringLiteral("Каталоги:")), 0, 1);
    QLabel* dir = label(QStringLiteral("txtActDir"));
    dir->setMinimumWidth(190);
    g->addWidget(dir, 1, 1);
    QListWidget* tree = listBox(QStringLiteral("Tree"));
    tree->setMinimumHeight(150);
    tree->setToolTip(QStringLiteral("Двойной щелчок - перейти в каталог"));
    g->addWidget(tree, 2, 1);
    g->addWidget(caption(QStringLiteral("Диски:")), 3, 1);
    g->addWidget(comboBox(QStringLiteral("Drives")), 4, 1);

    auto* buttons = new QVBoxLayout;
    QPushButton* ok = button(QStringLiteral("cmdOk"), QStringLiteral("ОК"));
    QPushButton* cancel = button(QStringLiteral("cmdCancel"), QStringLiteral("Отмена"));
    ok->setMinimumWidth(90);
    ok->setDefault(true);  // Enter in the name field confirms
    cancel->setMinimumWidth(90);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    g->addLayout(buttons, 1, 2, 4, 1);
    g->setColumnStretch(0, 1);
    g->setColumnStretch(1, 1);
    root->addLayout(g, 1);

    auto* names = new QGroupBox(this);
    auto* n = new QGridLayout(names);
    n->setVerticalSpacing(3);
    n->addWidget(caption(QStringLiteral("Результаты расчета :")), 0, 0);
    QLabel* out = label(QStringLiteral("lblNameFileOut"), true);
    out->setTextInteractionFlags(Qt::TextSelectableByMouse);
    n->addWidget(out, 1, 0, 1, 2);
    n->addWidget(caption(QStringLiteral("Исходные данные :")), 2, 0);
    n->addWidget(checkBox(QStringLiteral("chkIsxDan"), QStringLiteral("Сохранить рез.")), 2, 1, Qt::AlignRight);
    QLabel* isx = label(QStringLiteral("lblNameFileIsx"), true);
    isx->setTextInteractionFlags(Qt::TextSelectableByMouse);
    n->addWidget(isx, 3, 0, 1, 2);
    n->setColumnStretch(0, 1);
    root->addWidget(names);

    root->addWidget(caption(QStringLiteral("Сводка")));
    auto* summary = new QPlainTextEdit(this);
    summary->setObjectName(QStringLiteral("Sv"));
    summary->setFixedHeight(54);
    root->addWidget(summary);

    bindControls();
}

}  // namespace ogrado
