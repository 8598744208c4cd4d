// SPDX-License-Identifier: GPL-3.0-or-later
#include "airlayer/airlayer_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ogrado {

AirLayerWindow::AirLayerWindow(AirLayerForm& form, QWidget* parent) : FormWindow(form, parent)
{
    auto* root = new QVBoxLayout(this);
    // which layer is the cladding, and a warning when it does not look like one
    QLabel* cladding = label(QStringLiteral("lblCladding"), true);
    cladding->setStyleSheet(QStringLiteral("font-weight: bold;"));
    root->addWidget(cladding);
    root->addWidget(label(QStringLiteral("lblCladdingWarning"), true));
    auto* columns = new QHBoxLayout;
    root->addLayout(columns);
    columns->addLayout(buildInputs());
    columns->addSpacing(16);
    columns->addLayout(buildResults());

    auto* buttons = new QHBoxLayout;
    for (const auto& [name, text] : {std::pair{"cmdOk", "Расчет"},
                                     std::pair{"cmdSave", "Рассчитать и сохранить результаты"},
                                     std::pair{"cmdSaveD", "Рассчитать и дополнить результаты"},
                                     std::pair{"cmdStop", "Прервать"}, std::pair{"cmdAbout", "О расчете"},
                                     std::pair{"cmdCancel", "Выход"}})
        buttons->addWidget(button(QLatin1String(name), QString::fromUtf8(text)));
    root->addLayout(buttons);
    bindControls();
}

QLabel* AirLayerWindow::heading(const QString& text)
{
    QLabel* l = caption(text);
    l->setStyleSheet(QStringLiteral("font-weight: bold;"));
    return l;
}

QLayout* AirLayerWindow::buildInputs()
{
    auto* inputs = new QGridLayout;
    inputs->setVerticalSpacing(4);
    inputs->addWidget(heading(QStringLiteral("Исходные данные")), 0, 0, 1, 3);
    const std::pair<const char*, const char*> fields[] = {
        {"txtTn_0", "Расчетная температура наиболее холодной пятидневки обеспеченностью 0,92"},
        {"txtTn_1", "Влажность наружного воздуха"},
        {"txtTn_2", "Расчетная температура внутреннего воздуха"},
        {"txtTn_3", "Влажность внутреннего воздуха"},
        {"txtHst", "Разность высот входного и выходного отверстия в облицовке, м"},
        {"txtTocn", "Точность определения средней температуры воздуха в прослойке, градус"},
        {"txtDnac", "Начальная толщина прослойки, мм"},
        {"txtDpr", "Приращение толщины прослойки, мм"},
    };
    int row = 1;
    for (const auto& [name, text] : fields) {
        QLabel* l = caption(QString::fromUtf8(text), true);
        l->setFixedWidth(300);
        inputs->addWidget(l, row, 0, 1, 2);
        inputs->addWidget(lineEdit(QLatin1String(name), 60), row, 2);
        ++row;
    }
    inputs->addWidget(checkBox(QStringLiteral("chkEps_0"), QStringLiteral("Имеется решетка на входе.           k=")), row,
                      0, 1, 2);
    QLineEdit* k = lineEdit(QStringLiteral("txtK"), 60);
    k->setToolTip(QStringLiteral("Коэффициент k по формуле (4)"));
    inputs->addWidget(k, row++, 2);
    inputs->addWidget(checkBox(QStringLiteral("chkEps_1"), QStringLiteral("Имеется решетка на выходе")), row++, 0, 1, 3);
    inputs->addWidget(checkBox(QStringLiteral("chkEps_2"), QStringLiteral("Имеются повороты потока воздуха")), row, 0,
                      1, 2);
    QLineEdit* turns = lineEdit(QStringLiteral("txtEps"), 60);
    turns->setToolTip(QStringLiteral("Количество поворотов"));
    inputs->addWidget(turns, row++, 2);
    inputs->setRowStretch(row, 1);
    return inputs;
}

QLayout* AirLayerWindow::buildResults()
{
    auto* results = new QGridLayout;
    results->setVerticalSpacing(3);
    results->addWidget(heading(QStringLiteral("Результаты расчета")), 0, 0, 1, 2);
    const char* outputs[14] = {
        "Расчетная минимальная толщина прослойки, мм",
        "Средняя температура воздуха в прослойке",
        "Расчетная скорость воздуха в прослойке, м/с",
        "Расчетный расход воздуха, кг/час",
        "Расчетная температура воздуха на выходе из прослойки",
        "Упругость насыщенного водяного пара внутреннего воздуха, Па",
        "Упругость насыщенного водяного пара наружного воздуха, Па",
        "Упругость водяного пара внутреннего воздуха, Па",
        "Упругость водяного пара наружного воздуха, Па",
        "Максимальная абсолютная влажность воздуха на выходе из прослойки, мг/кг",
        "Упругость водяного пара на выходе из прослойки, Па",
        "Упругость насыщенного водяного пара на выходе из прослойки, Па",
        "Подбор Tc.         Принятая Тс",
        "Расчетная Тс",
    };
    // the captions are shown whole, the dots fill the rest up to the fields
    int widest = 0;
    for (const char* text : outputs)
        widest = std::max(widest, fontMetrics().horizontalAdvance(QString::fromUtf8(text)));
    for (int i = 0; i < 14; ++i) {
        // the caption padded with dots up to its field, as a printed form
        QLabel* l = caption(QString::fromUtf8(outputs[i]) + QStringLiteral(" ") + QString(120, u'.'));
        l->setFixedWidth(widest + 24);
        results->addWidget(l, i + 1, 0);
        results->addWidget(lineEdit(QStringLiteral("txtOut_%1").arg(i), 80), i + 1, 1);
    }
    return results;
}

}  // namespace ogrado
