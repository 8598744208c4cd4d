#pragma once
// The collected input of a calculation: the header values and the layers taken from
// the grid rows that are not excluded and have a thickness. Values are the texts of
// the fields at the moment of collection.
#include <QString>
#include <QVector>

#include <array>

namespace ogrado {

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
};

struct LayerTableHeader {
    QString alphaIn;   // α(в), txtAlv
    QString alphaOut;  // α(н), txtAln
    QString tIn;       // t(в), txtTv
    QString phiIn;     // фи(в), txtFiv
    QString tHeat;     // t(от.), txtTot_1
    QString phiHeat;   // фи(от.), txtTot_2
    QString eHeat;     // e(от.), txtTot_3
    QString zHeat;     // z(от.), txtTot_4
};

struct LayerTable {
    LayerTableHeader header;
    QVector<LayerRow> layers;

    int count() const { return int(layers.size()); }

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

}  // namespace ogrado
