// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/construction_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ogrado {

ConstructionWindow::ConstructionWindow(ConstructionForm& form, QWidget* parent) : FormWindow(form, parent)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(10, 10, 10, 10);
    root->setSpacing(6);
    auto* names = new QGridLayout;
    names->setHorizontalSpacing(6);
    names->addWidget(caption(QStringLiteral("Марка:")), 0, 0);
    names->addWidget(lineEdit(QStringLiteral("txtMark"), 120), 0, 1, Qt::AlignLeft);
    names->addWidget(caption(QStringLiteral("Наименование:")), 1, 0);
    QLineEdit* name = lineEdit(QStringLiteral("txtName"));
    name->setMinimumWidth(380);
    names->addWidget(name, 1, 1);
    root->addLayout(names);
    for (int k = ConstructionForm::kEmpty; k <= ConstructionForm::kLibrary; ++k) {
        const QString option = QStringLiteral("optKind_%1").arg(k);
        root->addWidget(optionButton(option, form.text(option)));
    }
    auto* stack = new QHBoxLayout;
    stack->addSpacing(24);
    stack->addWidget(comboBox(QStringLiteral("cboStack"), false, 300));
    stack->addStretch();
    root->addLayout(stack);
    QLabel* problem = label(QStringLiteral("lblStack"), true);
    problem->setStyleSheet(QStringLiteral("font-size: 8pt;"));
    root->addWidget(problem);
    root->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* ok = button(QStringLiteral("cmdOk"), form.text(QStringLiteral("cmdOk")));
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(button(QStringLiteral("cmdCancel"), form.text(QStringLiteral("cmdCancel"))));
    root->addLayout(buttons);
    bindControls();
}

}  // namespace ogrado
