// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Results of the last main calculation, read by the moisture, air-layer and
// limits-of-use calculations.
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace ogrado {

// The numeric values of one collected layer.
struct LayerValues {
    double thickness = 0;  // δ, mm
    int points = 0;        // intermediate points
    double lambdaA = 0, lambdaB = 0;
    double sA = 0, sB = 0;
    double mu = 0;  // 0 already replaced by 0.00001
};

struct LayerResult {
    int sourceRow = 0;
    QString name;
    LayerValues inputs;
    std::optional<double> phiMean;  // фи(ср.), %, when the field was refined
    // the boundary after this layer (layers 1..N−1)
    double tBoundary = 0;
    double rpFromInside = 0;  // Rп.в.
    double eSatBoundary = 0;  // E
    double eBoundary = 0;     // e
    double rpToOutside = 0;   // Rп.н.
    double rpRequired = 0;    // Rп.тр., formula (9.1)
    bool passes = true;
};

// One point of the field: point 1 is the inner surface, point j >= 2 the plane at the
// end of the (j − 1)-th sub-layer, the last point the outer surface.
struct CalcPoint {
    int layer = 0;  // owning layer 1..N; 0 for the inner surface
    float thickness = 0;  // sub-layer thickness, mm
    float lambdaA = 1, lambdaB = 1, sA = 0, sB = 0, mu = 1;
    float rSum = 0;  // Σ δ·0.001/λ over points 1..j
    float t = 0;
    float rpSum = 0;  // Σ δ·0.001/μ over points 1..j
    float E = 0;
    float e = 0;
    float phi = 0;
    float phiMean = 0;  // mean humidity of the owning layer
};

struct CalcState {
    int layerCount = 0;
    QString conditionLetter;  // "А" or "Б"
    bool conditionA = false;  // the А columns of λ and s are the preliminary choice
    double ev = 0, en = 0, Ev = 0, En = 0;
    double rtPreliminary = 0;
    double rt = 0;  // refined when the refine flag is ticked, else preliminary
    double rp = 0;
    float rLayersButLast = 0;  // Σ δ·0.001/λ over layers 1..N−1
    float rLayersAll = 0;      // the same over all layers
    double D = 0;
    int tnIndex = 0;  // 1..4, the txtTn field chosen by D
    QString tnText;
    double tn = 0;
    std::optional<double> rtRequired;
    std::optional<double> rtNormative;  // Rт.норм of table 5.1, when given and compared
    // q = 0,024·(tв − t(от.))·z(от.)/Rт, кВт·ч/м2 over the heating period; for
    // information, not a criterion. Nothing when z(от.) is empty.
    std::optional<double> heatLoss;
    bool refined = false;
    // How far the run got: the values of the later stages are not set before.
    enum Stage { kNothing, kCondition, kResistances, kInertia, kRequired, kFinished };
    Stage reached = kNothing;
    bool finished = false;  // the run reached the verdict
    bool complies = false;
    QVector<LayerResult> layers;  // [0] is layer 1
    QVector<CalcPoint> points;    // [0] is point 1
    QStringList pointLabels;      // [0] is point 1

    int pointCount() const { return int(points.size()); }
};

}  // namespace ogrado
