// SPDX-License-Identifier: GPL-3.0-or-later
// Key sequences of the main window's buttons and the tooltips of its fields, taken from
// the tables of the user guide.
#include "mainwindow/main_form.h"

#include "common/guide_text.h"

#include <QRegularExpression>

namespace ogrado {

void MainForm::addKeysAndTips()
{
    mutableControl(QStringLiteral("cmdOk")).shortcut = QStringLiteral("F9");
    mutableControl(QStringLiteral("cmdPR")).shortcut = QStringLiteral("Shift+F9");

    const QHash<QString, FieldHelp> help = fieldHelpOf(guideMarkdown());
    static const QRegularExpression gridCell(QStringLiteral("^txt1_(\\d+)$"));
    for (const Control& c : controls()) {
        if (c.kind == ControlKind::MenuItem || c.kind == ControlKind::Submenu)
            continue;
        const FieldHelp* h = nullptr;
        const QRegularExpressionMatch cell = gridCell.match(c.name);
        if (cell.hasMatch())
            h = findFieldHelp(help, gridColumnKey(cell.captured(1).toInt() % 9));
        else
            h = findFieldHelp(help, c.name);
        QString tip;
        if (h)
            tip = h->caption.isEmpty() ? h->text : h->caption + QStringLiteral(" — ") + h->text;
        if (!c.shortcut.isEmpty())
            tip += (tip.isEmpty() ? QString() : QStringLiteral(" ")) + QStringLiteral("Клавиша: %1.").arg(c.shortcut);
        if (!tip.isEmpty())
            setToolTip(c.name, tip);
    }
}

}  // namespace ogrado
