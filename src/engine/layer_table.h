// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The collected input of a calculation: the header values and the layers taken from
// the grid rows that are not excluded and have a thickness. Values are the texts of
// the fields at the moment of collection.
#include "common/app_error.h"

#include <QString>
#include <QVector>

#include <array>
#include <optional>

namespace ogrado {

// The main window, whose fields the collected input comes from, and its fields by
// control name: messages about an input name the field so that the window can mark it.
inline QString mainWindowName()
{
    return QStringLiteral("frm1");
}
inline FieldRef mainWindowField(const QString& control)
{
    return fieldOf(mainWindowName(), control);
}
// The grid cell (row 1..8, column 0..8) of the main window: txt1_k, k = (row − 1)·9 + column.
inline QString gridCellName(int row, int column)
{
    return QStringLiteral("txt1_%1").arg((row - 1) * 9 + column);
}

// Grid columns 1..8 of a layer row, as kept in a LayerRow.
enum LayerColumn {
    kColNumber = 1,
    kColThickness = 2,
    kColPoints = 3,
    kColLambdaA = 4,
    kColLambdaB = 5,
    kColSA = 6,
    kColSB = 7,
    kColMu = 8,
};

struct LayerRow {
    std::array<QString, 9> cells;  // cells[1..8]: grid columns 1..8
    int sourceRow = 0;             // grid row 1..8 the layer came from
    QString name;                  // grid column 0

    const QString& cell(int column) const { return cells[size_t(column)]; }
    // The grid cell of a column of this layer, or nothing when it came from no grid row.
    FieldRef field(int column) const
    {
        return sourceRow >= 1 && sourceRow <= 8 ? mainWindowField(gridCellName(sourceRow, column)) : FieldRef{};
    }
    bool operator==(const LayerRow&) const = default;
};

// Short names of the grid columns in messages: "толщина", "λ(А)", "μ" …
inline QString columnShortName(int column)
{
    static const char* const names[9] = {"наименование", "№", "толщина", "кол. пром. точек", "λ(А)", "λ(Б)",
                                         "s(А)", "s(Б)", "μ"};
    return column >= 0 && column <= 8 ? QString::fromUtf8(names[column]) : QString();
}

struct LayerTableHeader {
    QString alphaIn;   // α(в), txtAlv
    QString alphaOut;  // α(н), txtAln
    QString tIn;       // t(в), txtTv
    QString phiIn;     // фи(в), txtFiv
    QString tHeat;     // t(от.), txtTot_1
    QString phiHeat;   // фи(от.), txtTot_2
    QString eHeat;     // e(от.), txtTot_3
    QString zHeat;     // z(от.), txtTot_4

    bool operator==(const LayerTableHeader&) const = default;
};

struct LayerTable {
    LayerTableHeader header;
    QVector<LayerRow> layers;

    int count() const { return int(layers.size()); }
    bool operator==(const LayerTable&) const = default;

    // The number (among the collected layers) of the last layer with an empty value in
    // columns 2..8, or 0 when every layer is complete.
    int lastIncompleteLayer() const
    {
        int last = 0;
        for (int n = 0; n < count(); ++n) {
            for (int c = kColThickness; c <= kColMu; ++c) {
                if (layers[n].cell(c).trimmed().isEmpty())
                    last = n + 1;
            }
        }
        return last;
    }
};

// The message that refuses a table with empty values: each incomplete layer with the
// columns left empty ("В слое №2 не заполнены: λ(Б), μ."), and what to do; its field
// is every empty grid cell, the first empty cell taking the focus. Nothing when every
// layer is complete.
std::optional<AppError> incompleteLayersError(const LayerTable& table);

}  // namespace ogrado
