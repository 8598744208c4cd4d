// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The chart window frmChart: the section chart of the last calculation, which it follows
// ("Расчет" and "Пересчитать"), and "Сохранить рисунок…", which writes it as PNG or SVG
// at the size typed in pixels.
#include "chart/section_chart.h"
#include "session/app_context.h"
#include "common/form_model.h"

#include <QSize>

#include <functional>
#include <optional>

namespace ogrado {

class ChartForm : public FormModel {
    Q_OBJECT
public:
    // The window's name: its control name, the key of its form and of its view.
    static QString windowName() { return QStringLiteral("frmChart"); }

    static constexpr int kDefaultWidth = 1600;
    static constexpr int kDefaultHeight = 1000;
    static constexpr int kMinSide = 200;
    static constexpr int kMaxSide = 8000;

    explicit ChartForm(AppContext& ctx, QObject* parent = nullptr);

    // The chart of the last calculation; none before the first one or after a run that
    // did not finish (the hint label says why).
    const std::optional<SectionChart>& chart() const { return chart_; }
    // Grows with every calculation the form has followed.
    int revision() const { return revision_; }

    // Takes the last calculation of the context: called after every "Расчет" and
    // "Пересчитать" of the main window, also while the window is closed.
    void followCalculation();

    // Writes `chart` to `path` (PNG or SVG by the suffix) at `size` pixels; throws AppError.
    using ImageWriter = std::function<void(const SectionChart& chart, const QString& path, QSize size)>;
    void setImageWriter(ImageWriter writer) { writer_ = std::move(writer); }

    // "Сохранить рисунок…": checks the size, asks for the file, writes it.
    void saveImage();
    // The size typed into txtWidth and txtHeight; throws AppError naming the field.
    QSize imageSize() const;

signals:
    // The chart changed: a new calculation was followed.
    void chartChanged();

protected:
    void onLoad() override;

private:
    void showState();

    AppContext& ctx_;
    std::optional<SectionChart> chart_;
    QString hint_;
    int revision_ = 0;
    ImageWriter writer_;
    QString lastPath_;
};

// The hint the chart window shows before the first calculation.
extern const char* const kChartHintBeforeCalculation;

}  // namespace ogrado
