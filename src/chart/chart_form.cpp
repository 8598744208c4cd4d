// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/chart_form.h"

#include "common/app_error.h"
#include "common/number_text.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace ogrado {

const char* const kChartHintBeforeCalculation =
    "График строится по результатам расчета: нажмите «Расчет» в главном окне.";

ChartForm::ChartForm(AppContext& ctx, QObject* parent) : FormModel(windowName(), ctx.prompter, parent), ctx_(ctx)
{
    setCaption(QStringLiteral("График распределения температуры и упругости пара"));
    setSizeTwips(16500, 11250);
    add(QStringLiteral("lblHint"), ControlKind::Label, QString::fromUtf8(kChartHintBeforeCalculation));
    add(QStringLiteral("txtWidth"), ControlKind::TextBox, QString::number(kDefaultWidth));
    add(QStringLiteral("txtHeight"), ControlKind::TextBox, QString::number(kDefaultHeight));
    add(QStringLiteral("cmdSaveImage"), ControlKind::Button, QStringLiteral("Сохранить рисунок…")).enabled = false;
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Закрыть"));
    setKeyFilter(QStringLiteral("txtWidth"), numericKeyFilter(false));
    setKeyFilter(QStringLiteral("txtHeight"), numericKeyFilter(false));
    setToolTip(QStringLiteral("cmdSaveImage"),
               QStringLiteral("Записать график в файл PNG или SVG размером, указанным в пикселях"));

    on(QStringLiteral("cmdSaveImage"), FormEvent::Click, [this] { saveImage(); });
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] { unloadForm(); });
}

void ChartForm::onLoad()
{
    showState();
}

void ChartForm::followCalculation()
{
    chart_.reset();
    const std::optional<EnvelopeOutcome>& calc = ctx_.lastCalc;
    if (!calc) {
        hint_ = QString::fromUtf8(kChartHintBeforeCalculation);
    } else if (!calc->finished() || !calc->lists || calc->error) {
        hint_ = QStringLiteral("Расчет не завершен — график не построен.");
        const std::optional<EnvelopeMessage>& why = calc->error ? calc->error : calc->warning;
        if (why)
            hint_ += u'\n' + QString(why->text).replace(u'\r', u'\n').trimmed();
    } else {
        try {
            chart_ = buildSectionChart(calc->state, ctx_.layerTable, calc->lists->caption);
            hint_.clear();
        } catch (const AppError& e) {
            hint_ = e.message();
        }
    }
    ++revision_;
    showState();
    emit chartChanged();
    notifyChanged();
}

void ChartForm::showState()
{
    setText(QStringLiteral("lblHint"), hint_.isEmpty() && !chart_ ? QString::fromUtf8(kChartHintBeforeCalculation)
                                                                  : hint_);
    setVisible(QStringLiteral("lblHint"), !chart_);
    setEnabled(QStringLiteral("cmdSaveImage"), chart_.has_value());
}

QSize ChartForm::imageSize() const
{
    auto side = [this](const char* field, const QString& what) {
        const QString t = text(QLatin1String(field));
        const std::optional<double> v = parseNumber(t);
        if (!v || *v != std::floor(*v) || *v < kMinSide || *v > kMaxSide)
            throw AppError(QStringLiteral("%1 рисунка «%2» недопустима. Укажите целое число пикселей от %3 до %4.")
                               .arg(what, t.trimmed())
                               .arg(kMinSide)
                               .arg(kMaxSide),
                           fieldOf(formName(), QLatin1String(field)));
        return int(*v);
    };
    const int w = side("txtWidth", QStringLiteral("Ширина"));
    const int h = side("txtHeight", QStringLiteral("Высота"));
    return {w, h};
}

void ChartForm::saveImage()
{
    if (!chart_)
        throw AppError(QStringLiteral("Нет графика: сначала выполните «Расчет»."));
    const QSize size = imageSize();
    const QString proposed =
        lastPath_.isEmpty() ? QDir(ctx_.settings.resultsDir).filePath(QStringLiteral("График.png")) : lastPath_;
    QString path = prompter().chooseFile(Prompter::FileChoice::Save, QStringLiteral("Сохранить рисунок"), proposed,
                                         QStringLiteral("Рисунок PNG (*.png);;Рисунок SVG (*.svg)"));
    if (path.isEmpty())
        return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix.isEmpty())
        path += QStringLiteral(".png");
    else if (suffix != u"png" && suffix != u"svg")
        throw AppError(QStringLiteral("Рисунок записывается в формате PNG или SVG: имя файла «%1» должно "
                                      "оканчиваться на .png или .svg.")
                           .arg(QFileInfo(path).fileName()));
    if (!writer_)
        throw AppError(QStringLiteral("Рисунок не записан: эта программа не рисует графиков."));
    writer_(*chart_, path, size);
    lastPath_ = path;
}

}  // namespace ogrado
