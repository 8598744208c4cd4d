// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dew-point window frmTrosa: the air temperature and relative humidity give the
// maximum partial pressure of water vapour of that air and its dew point, both by
// the table of appendix Е ТКП 45-2.04-43.
#include "session/app_context.h"
#include "common/form_model.h"

namespace ogrado {

class DewPointForm : public FormModel {
    Q_OBJECT
public:
    // The window's name: its control name, the key of its form and of its view.
    static QString windowName() { return QStringLiteral("frmTrosa"); }

    // Entries of the control array txt1.
    static constexpr int kHumidity = 0;
    static constexpr int kTemperature = 1;
    static constexpr int kDewPoint = 2;
    static constexpr int kPressure = 3;
    static QString entry(int k) { return QStringLiteral("txt1_%1").arg(k); }
    // Why nothing was computed, under the entries (no message box).
    static QString noteName() { return QStringLiteral("lblNote"); }

    // The temperatures the window computes for, °С, both included.
    static constexpr double kLowestTemperature = -25;
    static constexpr double kHighestTemperature = 30;

    explicit DewPointForm(AppContext& ctx, QObject* parent = nullptr);

    // The window opens over the main window's top-left corner.
    std::optional<QPoint> placement(const QRect& mainTwips) const override;

    // "Расчет".
    void calculate();

private:
    AppContext& ctx_;
};

}  // namespace ogrado
