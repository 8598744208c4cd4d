// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The air-layer window frmPr: the inputs of the ventilated-gap calculation, its three
// modes (show; show and replace the air-layer report; show and append to it), the
// results and the report block kept for the results file.
#include "airlayer/airlayer_report.h"
#include "mainwindow/main_form.h"

namespace ogrado {

class AirLayerForm : public FormModel {
    Q_OBJECT
public:
    // The window's name: its control name, the key of its form and of its view.
    static QString windowName() { return QStringLiteral("frmPr"); }

    AirLayerForm(AppContext& ctx, MainForm& main, QObject* parent = nullptr);

    // mode 0: results only; 1: results and a new report; 2: results appended to the report
    void AirLayerCalculation(int mode);

    const AirLayerReport& report() const { return report_; }
    // The inputs and results of the last finished run.
    const std::optional<AirLayerInputs>& lastInputs() const { return lastInputs_; }
    const std::optional<AirLayerResults>& lastResults() const { return lastResults_; }
    // The message of the last run that stopped, empty after a finished one.
    const QString& lastError() const { return lastError_; }
    // Forgets the results and the report of earlier runs (other input was opened).
    void clearResults();
    // The main window shows another construction: an open window starts afresh with
    // that construction's inputs and takes up its report (the air-gap lines it keeps).
    void followConstruction();

    // A cladding thicker than this, or with a smaller λ, does not look like a cladding.
    static constexpr double kCladdingThicknessMm = 50;
    static constexpr double kCladdingLambda = 0.2;
    // Shows which layer the calculation takes as the cladding (the last one of the main
    // calculation) and warns when it does not look like one.
    void showCladding();

protected:
    void onLoad() override;

private:
    AirLayerInputs collectInputs() const;
    double field(const QString& name, const QString& what) const;
    void showResults(const AirLayerResults& r);
    void updateEnabling();

    AppContext& ctx_;
    MainForm& main_;
    AirLayerReport report_;
    std::optional<AirLayerInputs> lastInputs_;
    std::optional<AirLayerResults> lastResults_;
    QString lastError_;
    bool cancel_ = false;
};

}  // namespace ogrado
