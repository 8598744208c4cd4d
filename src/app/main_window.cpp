#include "app/main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
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

namespace {

QString item(const char* name, int k)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(k);
}

}  // namespace

MainWindow::MainWindow(MainForm& form, WindowHost& host) : FormWindow(form), host_(host)
{
    setWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(6, 6, 6, 6);
    root->setSpacing(4);
    root->addWidget(buildInputs());
    auto* middle = new QHBoxLayout;
    middle->addWidget(buildGrid(), 0, Qt::AlignTop);
    middle->addWidget(buildMaterials(), 1);
    root->addLayout(middle);
    root->addWidget(buildResults(), 1);
    root->addWidget(buildButtons());
    bindControls();
}

QWidget* MainWindow::buildInputs()
{
    auto* box = new QGroupBox(QStringLiteral("Исходные данные"), this);
    auto* g = new QGridLayout(box);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(3);

    // building and climate
    auto* building = new QHBoxLayout;
    building->addWidget(caption(QStringLiteral("Тип здания:")));
    building->addWidget(comboBox(QStringLiteral("cboTipZd"), true, 300));
    building->addWidget(caption(QStringLiteral("t(в), °С")));
    building->addWidget(lineEdit(QStringLiteral("txtTv"), 45));
    building->addWidget(caption(QStringLiteral("фи(в), %")));
    building->addWidget(lineEdit(QStringLiteral("txtFiv"), 45));
    building->addStretch();
    g->addLayout(building, 0, 0);
    auto* typeLabel = label(QStringLiteral("lblTipZd"), true);
    typeLabel->setMinimumWidth(480);
    g->addWidget(typeLabel, 1, 0);

    auto* region = new QHBoxLayout;
    region->addWidget(caption(QStringLiteral("Область:")));
    region->addWidget(comboBox(QStringLiteral("cboObl"), false, 130));
    region->addWidget(caption(QStringLiteral("Город:")));
    region->addWidget(comboBox(QStringLiteral("cboGorod"), false, 120));
    region->addWidget(caption(QStringLiteral("Нужно для расчета влагонакопления")));
    region->addStretch();
    g->addLayout(region, 2, 0);

    auto* tn = new QHBoxLayout;
    tn->addWidget(caption(QStringLiteral("Температуры наружного воздуха, °С: T1(0,98)")));
    tn->addWidget(lineEdit(item("txtTn", 1), 40));
    tn->addWidget(caption(QStringLiteral("T1(0,92)")));
    tn->addWidget(lineEdit(item("txtTn", 2), 40));
    tn->addWidget(caption(QStringLiteral("T3(0,92)")));
    tn->addWidget(lineEdit(item("txtTn", 3), 40));
    tn->addWidget(caption(QStringLiteral("T5(0,92)")));
    tn->addWidget(lineEdit(item("txtTn", 4), 40));
    tn->addStretch();
    g->addLayout(tn, 3, 0);

    auto* tot = new QHBoxLayout;
    tot->addWidget(caption(QStringLiteral("Отопительный период: t(от.), °С")));
    tot->addWidget(lineEdit(item("txtTot", 1), 40));
    tot->addWidget(caption(QStringLiteral("фи(от.), %")));
    tot->addWidget(lineEdit(item("txtTot", 2), 40));
    tot->addWidget(caption(QStringLiteral("e(от.), Па")));
    tot->addWidget(lineEdit(item("txtTot", 3), 45));
    tot->addWidget(caption(QStringLiteral("z(от.), сут.")));
    tot->addWidget(lineEdit(item("txtTot", 4), 40));
    tot->addStretch();
    g->addLayout(tot, 4, 0);

    // coefficients and envelope type
    auto* coef = new QGridLayout;
    coef->setHorizontalSpacing(4);
    coef->setVerticalSpacing(3);
    struct Row {
        const char* caption;
        const char* combo;
        const char* field;
        const char* label;
    };
    const Row rows[] = {{"n:", "cboN", "txtN", "lblN"},
                        {"альфа(в):", "cboAlv", "txtAlv", "lblAlv"},
                        {"альфа(н):", "cboAln", "txtAln", "lblAln"}};
    int r = 0;
    for (const Row& row : rows) {
        coef->addWidget(caption(QString::fromUtf8(row.caption)), r, 0);
        coef->addWidget(comboBox(QLatin1String(row.combo), false, 160), r, 1);
        coef->addWidget(lineEdit(QLatin1String(row.field), 40), r, 2);
        auto* l = label(QLatin1String(row.label));
        l->setMinimumWidth(200);
        l->setMaximumWidth(330);
        coef->addWidget(l, r, 3);
        ++r;
    }
    coef->addWidget(caption(QStringLiteral("Тип констр.:")), r, 0);
    coef->addWidget(comboBox(item("cboTp", 0), false, 160), r, 1, 1, 1);
    auto* dt = new QHBoxLayout;
    dt->addWidget(comboBox(item("cboTp", 1), false, 150));
    dt->addWidget(caption(QStringLiteral("Температурный перепад")));
    dt->addWidget(lineEdit(QStringLiteral("txtTp"), 40));
    dt->addStretch();
    coef->addLayout(dt, r, 2, 1, 2);
    ++r;
    auto* tpLabel = label(QStringLiteral("lblTp"), true);
    tpLabel->setMaximumWidth(540);
    coef->addWidget(tpLabel, r, 0, 1, 4);
    g->addLayout(coef, 0, 1, 5, 1, Qt::AlignTop);
    return box;
}

QWidget* MainWindow::buildGrid()
{
    auto* box = new QGroupBox(QStringLiteral("Слои конструкции, 1 слой внутри здания"), this);
    auto* g = new QGridLayout(box);
    g->setHorizontalSpacing(2);
    g->setVerticalSpacing(2);
    const int widths[9] = {175, 34, 52, 48, 46, 46, 46, 46, 52};
    auto head = [&](const QString& text, int row, int col, int rowSpan = 1, int colSpan = 1) {
        auto* l = caption(text, true);
        l->setAlignment(Qt::AlignCenter);
        g->addWidget(l, row, col, rowSpan, colSpan);
    };
    head(QStringLiteral("Наименование"), 0, 0, 2);
    head(QStringLiteral("№ слоя"), 0, 1, 2);
    head(QStringLiteral("Толщ. слоя, мм"), 0, 2, 2);
    head(QStringLiteral("Кол. пром. точек"), 0, 3, 2);
    head(QStringLiteral("Расч. К теп- лопроводности"), 0, 4, 1, 2);
    head(QStringLiteral("Расч. К теп- лоусвоения"), 0, 6, 1, 2);
    head(QStringLiteral("А"), 1, 4);
    head(QStringLiteral("Б"), 1, 5);
    head(QStringLiteral("А"), 1, 6);
    head(QStringLiteral("Б"), 1, 7);
    head(QStringLiteral("Расч. К паропро- ницания"), 0, 8, 2);
    head(QStringLiteral("Иск- лю- чить"), 0, 9, 2);
    head(QStringLiteral("Увлаж- няе- мый"), 0, 10, 2);
    head(QStringLiteral("фи(ср.), %"), 0, 11, 2);
    for (int row = 1; row <= LayerGridRows; ++row) {
        for (int c = 0; c <= 8; ++c) {
            QLineEdit* e = lineEdit(MainForm::cellName(row, c), widths[c]);
            if (c == 1)
                e->setAlignment(Qt::AlignCenter);
            g->addWidget(e, row + 1, c);
        }
        auto* excl = checkBox(item("chkIskl", row), QString());
        excl->setToolTip(QStringLiteral("Исключить слой из расчета"));
        g->addWidget(excl, row + 1, 9, Qt::AlignCenter);
        if (row >= 2 && row <= 7) {
            auto* mark = optionButton(item("optVlaga", row));
            mark->setToolTip(QStringLiteral("Пометьте увлажняемый слой -теплоизоляционный слой ближайший к наружной поверхности."));
            g->addWidget(mark, row + 1, 10, Qt::AlignCenter);
        }
        g->addWidget(lineEdit(item("txtFiSl", row), 46), row + 1, 11);
    }
    auto* note = caption(QStringLiteral("Исключить слой из расчета — флажок в строке. Пометьте увлажняемый слой "
                                        "-теплоизоляционный слой ближайший к наружной поверхности."),
                         true);
    g->addWidget(note, LayerGridRows + 2, 0, 1, 12);
    return box;
}

QWidget* MainWindow::buildMaterials()
{
    auto* box = new QGroupBox(QStringLiteral("Материалы"), this);
    auto* v = new QVBoxLayout(box);
    v->setSpacing(3);
    v->addWidget(comboBox(QStringLiteral("cboM"), false));
    auto* description = label(QStringLiteral("lblM"), true);
    description->setMinimumHeight(60);
    description->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    v->addWidget(description);
    auto* density = new QHBoxLayout;
    density->addWidget(caption(QStringLiteral("Объемная масса, кг/м3")));
    density->addWidget(lineEdit(QStringLiteral("txtM"), 60));
    density->addStretch();
    v->addLayout(density);
    auto* rows = new QHBoxLayout;
    QListWidget* target = listBox(QStringLiteral("lstM"), 40);
    target->setFixedHeight(150);
    rows->addWidget(target);
    rows->addWidget(caption(QStringLiteral("Выделить, затем Dbl-click - вставка данных в выделенную строку"), true), 1,
                    Qt::AlignTop);
    v->addLayout(rows);
    v->addStretch();
    return box;
}

QWidget* MainWindow::buildResults()
{
    auto* box = new QGroupBox(QStringLiteral("Результаты расчета"), this);
    auto* h = new QHBoxLayout(box);

    auto* left = new QVBoxLayout;
    auto* sums = new QGridLayout;
    sums->setHorizontalSpacing(4);
    const std::pair<const char*, const char*> fields[] = {{"Rт, м2*°С/Вт", "txtRt"},
                                                           {"Rп, м2*ч*Па/мг", "txtRp"},
                                                           {"D", "txtD"},
                                                           {"tн, °С", "txtTnras"},
                                                           {"Rт.тр., м2*°С/Вт", "txtRtr"}};
    int col = 0;
    for (const auto& [text, name] : fields) {
        sums->addWidget(caption(QString::fromUtf8(text)), 0, col);
        sums->addWidget(lineEdit(QLatin1String(name), 60), 1, col);
        ++col;
    }
    left->addLayout(sums);

    auto* bounds = new QGridLayout;
    bounds->setHorizontalSpacing(2);
    bounds->setVerticalSpacing(2);
    bounds->addWidget(caption(QStringLiteral("Граница слоев")), 0, 0);
    for (int k = 1; k <= 7; ++k) {
        auto* l = caption(QStringLiteral("%1-%2").arg(k).arg(k + 1));
        l->setAlignment(Qt::AlignCenter);
        bounds->addWidget(l, 0, k);
    }
    const std::pair<const char*, const char*> rows[] = {{"t, °С", "txtT"},
                                                         {"E, Па", "txtPm"},
                                                         {"e, Па", "txtPr"},
                                                         {"Rп.тр.", "txtRptr"},
                                                         {"Rп.в.", "txtRpv"}};
    int r = 1;
    for (const auto& [text, name] : rows) {
        bounds->addWidget(caption(QString::fromUtf8(text)), r, 0);
        for (int k = 1; k <= 7; ++k)
            bounds->addWidget(lineEdit(item(name, k), 58), r, k);
        ++r;
    }
    left->addLayout(bounds);
    left->addStretch();
    h->addLayout(left);

    auto* right = new QVBoxLayout;
    right->addWidget(label(QStringLiteral("lblRezList")));
    auto* lists = new QGridLayout;
    lists->setHorizontalSpacing(1);
    const char* heads[5] = {"Точка", "t, °С", "E, Па", "e, Па", "фи, %"};
    const int widths[5] = {230, 62, 62, 62, 66};
    for (int k = 1; k <= 5; ++k) {
        lists->addWidget(caption(QString::fromUtf8(heads[k - 1])), 0, k - 1);
        QListWidget* l = listBox(item("lstRez", k), widths[k - 1]);
        l->setFixedHeight(px(2220));
        l->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        l->setSelectionMode(QAbstractItemView::NoSelection);
        lists->addWidget(l, 1, k - 1, Qt::AlignTop);
    }
    right->addLayout(lists);
    right->addStretch();
    h->addLayout(right, 1);
    return box;
}

QWidget* MainWindow::buildButtons()
{
    auto* w = new QWidget(this);
    auto* g = new QGridLayout(w);
    g->setContentsMargins(0, 0, 0, 0);
    g->addWidget(checkBox(QStringLiteral("chkPr"), QStringLiteral("Уточнять Rt по п. 5,14 ТКП")), 0, 0);
    g->addWidget(checkBox(QStringLiteral("chkVlaga"), QStringLiteral("Пометьте, чтобы рассчитать влагонакопление")), 1, 0);
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdOk", "Расчет"},
        {"cmdPR", "Пересчитать"},
        {"cmdSave", "Сохранить"},
        {"cmdVpr", "Расчет вентилиру-\nемой прослойки"},
        {"cmdTr", "Точка росы"},
        {"cmdVariant", "Варианты"},
        {"cmdSp", "Сохранить пирожок"},
        {"cmdOp", "Загрузить пирожок"},
        {"cmdMaterial", "Материалы"},
        {"Комманда1", "Очистить поля"},
        {"cmdAbout", "О программе"},
        {"cmdCancel", "Выход"},
    };
    int col = 1;
    for (const auto& [name, text] : buttons) {
        QPushButton* b = button(QString::fromUtf8(name), QString::fromUtf8(text));
        b->setMinimumHeight(38);
        g->addWidget(b, 0, col++, 2, 1);
    }
    return w;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    host_.quit();
}

void MainWindow::reject()
{
    // Esc does not close the main window.
}

}  // namespace ogrado
