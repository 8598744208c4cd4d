// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/layer_table.h"

namespace ogrado {

std::optional<AppError> incompleteLayersError(const LayerTable& table)
{
    QStringList sentences;
    FieldRef field;
    for (int n = 0; n < table.count(); ++n) {
        const LayerRow& row = table.layers[n];
        QStringList empty;
        for (int c = kColThickness; c <= kColMu; ++c) {
            if (!row.cell(c).trimmed().isEmpty())
                continue;
            empty.append(columnShortName(c));
            const FieldRef cell = row.field(c);
            field.form = cell.form;
            field.controls += cell.controls;
        }
        if (!empty.isEmpty())
            sentences.append(QStringLiteral("В слое №%1 не заполнены: %2.").arg(n + 1).arg(empty.join(QStringLiteral(", "))));
    }
    if (sentences.isEmpty())
        return std::nullopt;
    sentences.append(sentences.size() == 1
                         ? QStringLiteral("Заполните пустые графы или исключите слой из расчета.")
                         : QStringLiteral("Заполните пустые графы или исключите эти слои из расчета."));
    return AppError(sentences.join(u' '), field);
}

}  // namespace ogrado
