// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window of ChartForm: the section chart of the last calculation, a hint before the
// first one, and the size and button of "Сохранить рисунок…".
#include "chart/chart_form.h"
#include "common/form_view.h"

class QChartView;
class QLabel;
class QStackedWidget;

namespace ogrado {

class SectionChartPlot;

class ChartWindow : public FormWindow {
    Q_OBJECT
public:
    ChartWindow(ChartForm& form, QWidget* parent = nullptr);

    // The chart shown, or nullptr while the hint is shown.
    SectionChartPlot* plot() const;
    QChartView* chartView() const { return view_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuild();

    ChartForm& form_;
    QStackedWidget* stack_ = nullptr;
    QChartView* view_ = nullptr;
    QLabel* hint_ = nullptr;
    int shownRevision_ = -1;
};

}  // namespace ogrado
