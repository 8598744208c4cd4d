// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/thickness_window.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ogrado {

ThicknessWindow::ThicknessWindow(ThicknessForm& form, QWidget* parent) : FormWindow(form, parent)
{
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->setSpacing(6);

    auto* layer = new QHBoxLayout;
    layer->addWidget(caption(QStringLiteral("Слой:")));
    layer->addWidget(comboBox(QStringLiteral("cboSloj"), false, 320));
    layer->addStretch();
    root->addLayout(layer);
    root->addWidget(buildCandidates());
    root->addWidget(buildCriteria());
    root->addWidget(buildTable(), 1);

    QLabel* answer = label(QStringLiteral("lblOtvet"), true);
    answer->setStyleSheet(QStringLiteral("font-weight: bold;"));
    root->addWidget(answer);
    root->addWidget(label(QStringLiteral("lblPrim"), true));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button(QStringLiteral("cmdPodbor"), QStringLiteral("Подобрать")));
    buttons->addWidget(button(QStringLiteral("cmdStop"), QStringLiteral("Прервать")));
    buttons->addWidget(label(QStringLiteral("lblHod")), 1);
    QPushButton* apply = button(QStringLiteral("cmdApply"), QStringLiteral("Применить"));
    buttons->addWidget(apply);
    buttons->addWidget(button(QStringLiteral("cmdCancel"), QStringLiteral("Выход")));
    root->addLayout(buttons);
    bindControls();
    // the caption names a thickness the user chose in the table
    connect(&form, &FormModel::changed, apply, [apply, &form] { apply->setText(form.text(QStringLiteral("cmdApply"))); });
}

QWidget* ThicknessWindow::buildCandidates()
{
    // the thicknesses to try: a range with its step, or a list of products
    auto* candidates = new QGroupBox(QStringLiteral("Толщины"), this);
    auto* grid = new QGridLayout(candidates);
    grid->setHorizontalSpacing(6);
    grid->addWidget(optionButton(ThicknessForm::mode(0), QStringLiteral("Диапазон, мм")), 0, 0);
    grid->addWidget(caption(QStringLiteral("от")), 0, 1);
    grid->addWidget(lineEdit(QStringLiteral("txtOt"), 60), 0, 2);
    grid->addWidget(caption(QStringLiteral("до")), 0, 3);
    grid->addWidget(lineEdit(QStringLiteral("txtDo"), 60), 0, 4);
    grid->addWidget(caption(QStringLiteral("шаг")), 0, 5);
    grid->addWidget(lineEdit(QStringLiteral("txtShag"), 60), 0, 6);
    grid->addWidget(optionButton(ThicknessForm::mode(1), QStringLiteral("Список толщин изделий, мм через «;»")), 1,
                    0);
    grid->addWidget(lineEdit(QStringLiteral("txtSpisok")), 1, 1, 1, 6);
    grid->setColumnStretch(7, 1);
    for (const char* name : {"txtOt", "txtDo", "txtShag"})
        findChild<QLineEdit*>(QLatin1String(name))->setAlignment(Qt::AlignRight);
    return candidates;
}

QWidget* ThicknessWindow::buildCriteria()
{
    auto* criteria = new QGroupBox(QStringLiteral("Условия"), this);
    auto* c = new QVBoxLayout(criteria);
    c->setSpacing(2);
    c->addWidget(checkBox(ThicknessForm::criterion(0), QStringLiteral("Rт ≥ Rт.тр. (формула 5.2) и Rт ≥ Rт.норм (табл. 5.1), когда оно задано")));
    c->addWidget(
        checkBox(ThicknessForm::criterion(1), QStringLiteral("п. 9.1: сопротивление паропроницанию на всех границах")));
    c->addWidget(checkBox(ThicknessForm::criterion(2),
                          QStringLiteral("Влагонакопление за период не больше высыхания летом (помеченный слой, "
                                         "город главного окна)")));
    return criteria;
}

QWidget* ThicknessWindow::buildTable()
{
    // the candidate table: one list per column, scrolled together
    auto* table = new QGroupBox(QStringLiteral("Результаты для каждой толщины"), this);
    auto* columns = new QGridLayout(table);
    columns->setHorizontalSpacing(1);
    columns->setVerticalSpacing(2);
    const char* const heads[ThicknessForm::kColumns] = {
        "Толщина,\nмм", "Rт", "Тепло-\nпотери,\nкВт·ч/м²", "D", "tн", "Rт.тр.", "Rт ≥\nRт.тр.", "Rт ≥\nRт.норм",
        "п. 9.1", "Первая\nграница", "Накоп-\nление,\nг/м²", "Высы-\nхание\nлетом,\nг/м²", "Подхо-\nдит"};
    const int widths[ThicknessForm::kColumns] = {64, 48, 62, 48, 40, 52, 46, 52, 46, 56, 56, 56, 50};
    QList<QListWidget*> lists;
    for (int k = 0; k < ThicknessForm::kColumns; ++k) {
        QLabel* head = caption(QString::fromUtf8(heads[k]));
        head->setAlignment(Qt::AlignCenter | Qt::AlignBottom);
        columns->addWidget(head, 0, k);
        QListWidget* l = listBox(ThicknessForm::column(k), widths[k]);
        l->setMinimumHeight(260);
        l->setSelectionMode(QAbstractItemView::NoSelection);
        l->setFocusPolicy(Qt::NoFocus);
        // one scroll bar, on the last column, for the whole table
        if (k + 1 < ThicknessForm::kColumns)
            l->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        columns->addWidget(l, 1, k);
        lists.append(l);
    }
    scrollTogether(lists);
    lists.last()->setFixedWidth(widths[ThicknessForm::kColumns - 1] + 18);
    return table;
}

}  // namespace ogrado
