// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The moisture-accumulation window frmVlaga: the twelve-month balance of one run, its
// totals, and on demand the field of one month, a single case for typed outside air
// and the search for the lowest outside temperature without condensation.
#include "mainwindow/main_form.h"
#include "moisture/moisture_calc.h"

namespace ogrado {

class MoistureForm : public FormModel {
    Q_OBJECT
public:
    // The window's name: its control name, the key of its form and of its view.
    static QString windowName() { return QStringLiteral("frmVlaga"); }

    MoistureForm(AppContext& ctx, MainForm& main, QObject* parent = nullptr);

    // The run that "Расчет" starts with "Пометьте, чтобы рассчитать влагонакопление"
    // ticked. The window is already shown.
    void RunMoistureAccumulation();

    const MoistureTotals& totals() const { return totals_; }
    // The last run went through all twelve months and shows its totals.
    bool lastRunCompleted() const { return completed_; }
    std::optional<QPoint> placement(const QRect& mainTwips) const override;

    static constexpr int kNarrowTwips = 6000;
    static constexpr int kWideTwips = 10650;
    static constexpr int kHeightTwips = 7575;

protected:
    void onLoad() override;

private:
    class ButtonsOff;

    MoistureSetup setup() const;
    std::optional<int> markedLayer() const;
    const ClimateRecord& city() const;
    // The moistened-layer mark of the main window a message about it names.
    FieldRef markField() const;
    // One single-case calculation, with its point lists shown; the daily balance.
    MoistureMonthResult singleCase(double tn, double phiN);
    void showPoints(const MoistureMonthResult& r);
    void showMonth();
    void calculateEntries();
    void searchMinimumTemperature();
    void captionFromEntries();
    void showRightHalf();
    double entryNumber(int k) const;
    static double periodWater(double days, const MoistureMonthResult& r);

    AppContext& ctx_;
    MainForm& main_;
    MoistureTotals totals_;
    bool completed_ = false;
};

}  // namespace ogrado
