// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/material_edit_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ogrado {

MaterialEditWindow::MaterialEditWindow(MaterialEditForm& form, QWidget* parent) : FormWindow(form, parent)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(10, 10, 10, 10);
    auto* g = new QGridLayout;
    g->setHorizontalSpacing(8);
    const QStringList captions{QStringLiteral("Наименование"),
                               QStringLiteral("Объемная масса, кг/м3"),
                               QStringLiteral("Коэффициент теплопроводности λА, Вт/(м·°С)"),
                               QStringLiteral("Коэффициент теплопроводности λБ, Вт/(м·°С)"),
                               QStringLiteral("Коэффициент теплоусвоения sА, Вт/(м²·°С)"),
                               QStringLiteral("Коэффициент теплоусвоения sБ, Вт/(м²·°С)"),
                               QStringLiteral("Коэффициент паропроницания μ, мг/(м·ч·Па)")};
    const QStringList& names = MaterialEditForm::fieldNames();
    for (int k = 0; k < names.size(); ++k) {
        g->addWidget(caption(captions.value(k)), k, 0);
        g->addWidget(lineEdit(names[k], k == 0 ? 380 : 90), k, 1, Qt::AlignLeft);
    }
    v->addLayout(g);
    auto* note = caption(QStringLiteral("Значения — из сертификата или технического свидетельства изделия; "
                                        "десятичный знак — запятая."),
                         true);
    note->setStyleSheet(QStringLiteral("font-size: 8pt;"));
    v->addWidget(note);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* ok = button(QStringLiteral("cmdOk"), QStringLiteral("ОК"));
    ok->setMinimumWidth(90);
    ok->setDefault(true);  // Enter in a field is "ОК"
    buttons->addWidget(ok);
    QPushButton* cancel = button(QStringLiteral("cmdCancel"), QStringLiteral("Отмена"));
    cancel->setMinimumWidth(90);
    buttons->addWidget(cancel);
    v->addLayout(buttons);

    bindControls();
}

}  // namespace ogrado
