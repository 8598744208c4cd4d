// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/row_operations.h"

namespace ogrado {

namespace {

const QString kFrom = QStringLiteral("lst1_0");
const QString kTo = QStringLiteral("lst1_1");

QString option(int k)
{
    return QStringLiteral("opt1_%1").arg(k);
}

// Every grid column but the layer number (column 1).
constexpr int kColumns[] = {0, 2, 3, 4, 5, 6, 7, 8};

}  // namespace

RowOperationsForm::RowOperationsForm(MainForm& main, QObject* parent)
    : FormModel(windowName(), main.prompter(), parent), main_(main)
{
    setSizeTwips(5400, 3300);
    add(kFrom, ControlKind::ListBox);
    add(kTo, ControlKind::ListBox);
    const char* captions[4] = {"Скопировать в строку:", "Переместить в строку:", "Поменять местами со строкой:",
                               "Удалить строку:"};
    for (int k = 0; k < 4; ++k)
        add(option(k), ControlKind::OptionButton, QString::fromUtf8(captions[k])).group = QStringLiteral("opt1");
    add(QStringLiteral("cmdOk"), ControlKind::Button, QStringLiteral("Выполнить"));
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Выход"));

    on(QStringLiteral("cmdOk"), FormEvent::Click, [this] { execute(); });
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] { unloadForm(); });
}

RowOperationsForm::~RowOperationsForm() = default;

std::optional<QPoint> RowOperationsForm::placement(const QRect& mainTwips) const
{
    return QPoint(mainTwips.left(), mainTwips.top() + 8850);
}

void RowOperationsForm::onLoad()
{
    setCaption(QStringLiteral("Работа со строками"));
    QStringList rows;
    for (int r = 1; r <= LayerGridRows; ++r)
        rows.append(QString::number(r));
    for (const QString& list : {kFrom, kTo}) {
        setItems(list, rows);
        setCurrentIndex(list, 0);
    }
}

void RowOperationsForm::execute()
{
    const int f = currentIndex(kFrom) + 1;
    const int t = currentIndex(kTo) + 1;
    if (f < 1 || t < 1)
        return;

    // Rows excluded from the calculation are locked; the lower row decides which
    // message appears.
    for (int r = 1; r <= LayerGridRows; ++r) {
        const bool locked = main_.isChecked(QStringLiteral("chkIskl_%1").arg(r));
        if (!locked)
            continue;
        if (r == t) {
            showError(QStringLiteral("В качестве приемного   выбран\rзаблокированный слой."), QStringLiteral("Ошибка"),
                      fieldOf(formName(), kTo));
            return;
        }
        if (r == f) {
            showError(QStringLiteral("В качестве исходного выбран\rзаблокированный слой."), QStringLiteral("Ошибка"),
                      fieldOf(formName(), kFrom));
            return;
        }
    }

    int op = -1;
    for (int k = 0; k < 4 && op < 0; ++k) {
        if (isChecked(option(k)))
            op = k;
    }
    if (op < 0)
        return;

    for (int c : kColumns) {
        const QString from = MainForm::cellName(f, c);
        const QString to = MainForm::cellName(t, c);
        switch (op) {
        case Copy:
            main_.setText(to, main_.text(from));
            break;
        case Move: {
            const QString moved = main_.text(from);
            main_.setText(from, QString());
            main_.setText(to, moved);
            break;
        }
        case Swap: {
            const QString kept = main_.text(to);
            main_.setText(to, main_.text(from));
            main_.setText(from, kept);
            break;
        }
        case Empty:
            main_.setText(from, QString());
            break;
        }
    }
    if (op == Empty && f > 1)
        setCurrentIndex(kFrom, f - 2);
    main_.notifyChanged();
}

}  // namespace ogrado
