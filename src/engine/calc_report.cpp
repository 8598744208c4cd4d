// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/calc_report.h"

#include "common/text_file.h"

namespace ogrado {

void WriteCalcReport(const QString& path, const CalcReport& report, const QStringList& airLayerLines,
                     Prompter& prompter)
{
    QStringList lines = report.lines();
    if (!airLayerLines.isEmpty()) {
        const MessageAnswer answer =
            prompter.message(QStringLiteral("Имеются результаты расчета воздушной прослойки. Сохранить их?"),
                             QStringLiteral("Подтверждение записи"), MessageIcon::Question, MessageButtons::OkCancel);
        if (answer == MessageAnswer::Ok)
            lines += airLayerLines;
    }
    writeTextLines(path, lines);
}

}  // namespace ogrado
