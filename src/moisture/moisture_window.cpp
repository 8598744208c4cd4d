// SPDX-License-Identifier: GPL-3.0-or-later
#include "moisture/moisture_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

namespace ogrado {

namespace {

void place(QWidget* w, int x, int y, int width, int height)
{
    w->setGeometry(x, y, width, height);
}

}  // namespace

MoistureWindow::MoistureWindow(MoistureForm& form, QWidget* parent) : FormWindow(form, parent)
{
    QFont small = font();
    small.setPointSizeF(8);
    placeMonthTable(small);
    placeTotalsAndNotes(small);
    placeMonthField(small);
    bindControls();
}

void MoistureWindow::placeMonthTable(const QFont& small)
{
    // the month table: columns Месяц, tв., t(гр.), tн., фи(в.), фи(н.), g(в.), g(н.), g(в.)-g(н.)
    struct Column {
        int list;
        const char* heading;
        int width;
    };
    const Column columns[] = {{0, "Месяц", 68}, {3, "tв.", 36},   {7, "t(гр.)", 38},
                              {1, "tн.", 36},   {4, "фи(в.)", 38}, {2, "фи(н.)", 38},
                              {5, "g(в.)", 36}, {6, "g(н.)", 36}, {8, "g(в.)-\ng(н.)", 44}};
    int x = 6;
    for (const Column& c : columns) {
        QLabel* head = caption(QString::fromUtf8(c.heading));
        head->setFont(small);
        head->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        place(head, x, 2, c.width, 28);
        QListWidget* list = listBox(QStringLiteral("lstV_%1").arg(c.list));
        list->setFont(small);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        if (c.list == 0)
            list->setToolTip(QStringLiteral("Dbl-click на месяц - вывод результатов"));
        place(list, x, 30, c.width, px(2400));
        x += c.width + 1;
    }
}

void MoistureWindow::placeTotalsAndNotes(const QFont& small)
{
    // below the month table: the three sums of the year, the notes
    QLabel* hint = caption(QStringLiteral("Dbl-click на месяц - вывод результатов"));
    hint->setFont(small);
    place(hint, 6, 30 + px(2400) + 1, 380, 14);

    const char* totals[3] = {"За период влагонакопления поступило воды, г/м2",
                             "За период высыхания может диффундировать воды, г/м2",
                             "За отопительный период может диффундировать воды, г/м2"};
    int y = 30 + px(2400) + 18;
    for (int k = 0; k < 3; ++k) {
        QLabel* l = caption(QString::fromUtf8(totals[k]), true);
        l->setFont(small);
        place(l, 6, y, 232, 26);
        place(lineEdit(QStringLiteral("txtV_%1").arg(k)), 242, y + 2, 62, 22);
        y += 28;
    }
    place(button(QStringLiteral("cmdCancel"), QStringLiteral("Выход")), 312, y - 28 * 3 + 2, 80, 28);
    QLabel* notesHead = caption(QStringLiteral("Примечания:"));
    notesHead->setFont(small);
    place(notesHead, 6, y, 200, 14);
    y += 14;
    const char* notes[4] = {
        "1. Для периода влагонакопления (месяца со средней температурой воздуха менее 8 градусов) в графе g(в.) - "
        "масса воды г/м2 , поступившей из помещения до плоскости возможной конденсации за месяц. В графе g(н.) - "
        "масса воды г/м2, вышедшей наружу за месяц.",
        "2. Количество воды, диффундирующей за отопительный период подсчитано за весенние месяцы со средней "
        "температурой ниже 8 градусов.",
        "3. Для летнего периода в графе g(в.) - масса воды г/м2 , диффундирующей внутрь помещения за месяц. В графе "
        "g(н.) - масса воды г/м2, диффундирующей наружу за месяц.",
        "4. Параметры наружного и внутреннего воздуха для летнего периода, а также длительность этого периода (3 "
        "месяца), приняты по DIN 4108.",
    };
    for (const char* note : notes) {
        QLabel* n = caption(QString::fromUtf8(note), true);
        n->setFont(small);
        n->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        const int height = n->heightForWidth(388);
        place(n, 6, y, 388, height);
        y += height + 1;
    }
}

void MoistureWindow::placeMonthField(const QFont& small)
{
    // one month's field and the single case
    const int rx = px(MoistureForm::kNarrowTwips) + 6;
    QLabel* rez = label(QStringLiteral("lblRezList"), true);
    rez->setStyleSheet(QStringLiteral("font-weight: bold;"));
    place(rez, rx, 2, 290, 28);
    const char* pointHeads[5] = {"Номер точки, имя слоя", "Т гран. пов-ти", "Max парц. давл.", "Расч. парц. давл.",
                                 "Расч. отн. влаж."};
    const int pointWidths[5] = {124, 40, 40, 40, 40};
    int px0 = rx;
    QListWidget* pointLists[5] = {};
    for (int k = 1; k <= 5; ++k) {
        QLabel* head = caption(QString::fromUtf8(pointHeads[k - 1]), true);
        head->setFont(small);
        head->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        place(head, px0, 30, pointWidths[k - 1], 40);
        QListWidget* list = listBox(QStringLiteral("lstRez_%1").arg(k));
        list->setFont(small);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        if (k < 5)
            list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        if (k == 1)
            list->setToolTip(QStringLiteral("Номер точки, имя слоя"));
        place(list, px0, 70, pointWidths[k - 1] + (k == 5 ? 8 : 0), 220);
        px0 += pointWidths[k - 1] + 1;
        pointLists[k - 1] = list;
    }
    // the five point lists scroll together with the last one
    for (int k = 0; k < 4; ++k)
        connect(pointLists[4]->verticalScrollBar(), &QScrollBar::valueChanged, pointLists[k]->verticalScrollBar(),
                &QScrollBar::setValue);
    const char* entries[4] = {"Температура нар. воздуха, °С ", "Влажность нар. воздуха, % ",
                              "Продолжительность периода, сут. ", "Влагонакопление за расчетный период, г/м2"};
    int ey = 300;
    for (int k = 0; k < 4; ++k) {
        QLabel* l = caption(QString::fromUtf8(entries[k]), true);
        l->setFont(small);
        place(l, rx, ey, 220, 26);
        place(lineEdit(QStringLiteral("txtT_%1").arg(k)), rx + 226, ey + 2, 64, 22);
        ey += 30;
    }
    place(button(QStringLiteral("cmdRs"), QStringLiteral("Посчитать для нижеприведенных данных")), rx, ey + 6, 290,
          28);
    place(button(QStringLiteral("cmdPodbor"), QStringLiteral("Подобрать t(min)")), rx, ey + 40, 290, 28);
}

}  // namespace ogrado
