#include "dialogs/materials_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace ogrado {

MaterialsWindow::MaterialsWindow(MaterialsForm& form, QWidget* parent) : FormWindow(form, parent)
{
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(8, 8, 8, 8);
    v->setSpacing(4);
    v->addWidget(comboBox(QStringLiteral("cboM"), false, 280));
    QLabel* description = label(QStringLiteral("lblM"), true);
    description->setFixedWidth(280);
    description->setMinimumHeight(84);
    description->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    v->addWidget(description);
    auto* density = new QHBoxLayout;
    density->addWidget(caption(QStringLiteral("Объемная масса, кг/м3")));
    density->addWidget(lineEdit(QStringLiteral("txtM"), 60));
    density->addStretch();
    v->addLayout(density);
    auto* rows = new QHBoxLayout;
    QListWidget* target = listBox(QStringLiteral("lstM"), 40);
    target->setFixedHeight(8 * 17 + 6);
    target->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rows->addWidget(target);
    QLabel* hint = caption(QStringLiteral("Выделить, затем Dbl-click - вставка данных в выделенную строку"), true);
    rows->addWidget(hint, 1, Qt::AlignTop);
    v->addLayout(rows);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    QPushButton* close = button(QStringLiteral("cmdCancel"), QStringLiteral("Выход"));
    close->setMinimumWidth(90);
    bottom->addWidget(close);
    v->addLayout(bottom);
    v->addStretch();

    bindControls();
}

}  // namespace ogrado
