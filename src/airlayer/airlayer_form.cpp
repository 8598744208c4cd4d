// SPDX-License-Identifier: GPL-3.0-or-later
#include "airlayer/airlayer_form.h"

#include "common/app_error.h"
#include "common/input_check.h"
#include "engine/point_field.h"
#include "common/number_text.h"

#include <QElapsedTimer>

#include <utility>

namespace ogrado {

namespace {

QString item(const char* name, int k)
{
    return QLatin1String(name) + u'_' + QString::number(k);
}

// digits, "-" and backspace only: thicknesses in whole millimetres
std::optional<QChar> wholeNumberKey(QChar key)
{
    if (key == QChar(8) || key == QChar(0) || (key >= u'0' && key <= u'9') || key == u'-')
        return key;
    return std::nullopt;
}

const QStringList kRunButtons = {"cmdOk", "cmdSave", "cmdSaveD", "cmdCancel"};

// A trial of the mean temperature takes microseconds: the fields show one at most this
// often while the search runs.
constexpr qint64 kProgressEveryMs = 100;

}  // namespace

AirLayerForm::AirLayerForm(AppContext& ctx, MainForm& main, QObject* parent)
    : FormModel(windowName(), ctx.prompter, parent), ctx_(ctx), main_(main)
{
    setCaption(QStringLiteral("Расчет вентилируемой воздушной прослойки по ТКП 45-3.02-113-2009**"));
    addArray("txtTn", 0, 3, ControlKind::TextBox);
    add(QStringLiteral("txtHst"), ControlKind::TextBox);
    add(QStringLiteral("txtTocn"), ControlKind::TextBox, QStringLiteral("0,01"));
    add(QStringLiteral("txtDnac"), ControlKind::TextBox, QStringLiteral("30"));
    add(QStringLiteral("txtDpr"), ControlKind::TextBox, QStringLiteral("5"));
    add(item("chkEps", 0), ControlKind::CheckBox, QStringLiteral("Имеется решетка на входе.           k="));
    add(QStringLiteral("txtK"), ControlKind::TextBox, QStringLiteral("1")).enabled = false;
    add(item("chkEps", 1), ControlKind::CheckBox, QStringLiteral("Имеется решетка на выходе"));
    add(item("chkEps", 2), ControlKind::CheckBox, QStringLiteral("Имеются повороты потока воздуха"));
    add(QStringLiteral("txtEps"), ControlKind::TextBox, QStringLiteral("1")).enabled = false;
    for (int k = 0; k <= 13; ++k)
        add(item("txtOut", k), ControlKind::TextBox).readOnly = true;
    add(QStringLiteral("cmdOk"), ControlKind::Button, QStringLiteral("Расчет"));
    add(QStringLiteral("cmdSave"), ControlKind::Button, QStringLiteral("Рассчитать и сохранить результаты"));
    add(QStringLiteral("cmdSaveD"), ControlKind::Button, QStringLiteral("Рассчитать и дополнить результаты"));
    add(QStringLiteral("cmdAbout"), ControlKind::Button, QStringLiteral("О расчете"));
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Выход"));
    add(QStringLiteral("cmdStop"), ControlKind::Button, QStringLiteral("Прервать")).enabled = false;
    add(QStringLiteral("lblCladding"), ControlKind::Label);
    add(QStringLiteral("lblCladdingWarning"), ControlKind::Label).foreground = kRed;

    setKeyFilter(QStringLiteral("txtDnac"), wholeNumberKey);
    setKeyFilter(QStringLiteral("txtDpr"), wholeNumberKey);
    for (const char* name : {"txtTocn", "txtHst", "txtK", "txtEps"})
        setKeyFilter(QLatin1String(name), numericKeyFilter());
    for (int k = 0; k <= 3; ++k)
        setKeyFilter(item("txtTn", k), numericKeyFilter());

    on(QStringLiteral("cmdOk"), FormEvent::Click, [this] { AirLayerCalculation(0); });
    on(QStringLiteral("cmdSave"), FormEvent::Click, [this] { AirLayerCalculation(1); });
    on(QStringLiteral("cmdSaveD"), FormEvent::Click, [this] { AirLayerCalculation(2); });
    on(QStringLiteral("cmdStop"), FormEvent::Click, [this] { cancel_ = true; });
    for (int k = 0; k <= 2; ++k)
        on(item("chkEps", k), FormEvent::Click, [this] { updateEnabling(); });
    on(QStringLiteral("cmdAbout"), FormEvent::Click, [this] {
        const QString cr = QStringLiteral("\r");
        prompter().message(QStringLiteral("  Маленькая ремарка по поводу заголовка.") + cr +
                               QStringLiteral("  Точнее бы было добавить в конце ... с изменениями и ") + cr +
                               QStringLiteral("дополнениями автора.") + cr +
                               QStringLiteral("  Для тех, кто попытается просчитать в точном соответствии") + cr +
                               QStringLiteral("с разделом 6.3 вышеупомянуто ТКП сообщаю, что в формулах 2, 3, 5") + cr +
                               QStringLiteral("ошибки. В примере Б 10 аналогично."),
                           QStringLiteral("О программе."), MessageIcon::None, MessageButtons::Ok);
    });
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] { unloadForm(); });

    // the cladding follows the main window's calculation and input while the window is open
    auto follow = [this] {
        if (isLoaded()) {
            showCladding();
            notifyChanged();
        }
    };
    connect(&main_, &MainForm::calculationDone, this, follow);
    connect(&main_, &FormModel::changed, this, follow);
}

void AirLayerForm::showCladding()
{
    QString place;
    QStringList warnings;
    const CalcState* st = ctx_.lastCalc && ctx_.lastCalc->finished() ? &ctx_.lastCalc->state : nullptr;
    if (!st) {
        place = QStringLiteral("Облицовка: нет результатов теплотехнического расчета — выполните «Расчет» в главном окне.");
    } else if (st->layerCount < 2 || st->layers.size() < st->layerCount) {
        place = QStringLiteral("Облицовка: в конструкции меньше двух слоев — прослойке негде быть.");
    } else {
        const int n = st->layerCount;
        const LayerResult& last = st->layers[n - 1];
        const QString name = last.name.trimmed().isEmpty() ? QStringLiteral("без названия") : last.name.trimmed();
        place = QStringLiteral("Облицовка: слой №%1 «%2»; прослойка между слоями %3 и %1").arg(n).arg(name).arg(n - 1);
        // the λ the calculation took for the cladding's resistance R2
        const bool columnA = st->refined ? (last.phiMean && *last.phiMean <= 75) : st->conditionA;
        const double lambda = columnA ? last.inputs.lambdaA : last.inputs.lambdaB;
        QStringList why;
        if (last.inputs.thickness > kCladdingThicknessMm)
            why.append(QStringLiteral("толщина %1 мм больше %2 мм")
                           .arg(generalText(last.inputs.thickness), generalText(kCladdingThicknessMm)));
        if (lambda < kCladdingLambda)
            why.append(QStringLiteral("λ = %1 Вт/(м·°С) меньше %2")
                           .arg(generalText(lambda), generalText(kCladdingLambda)));
        if (!why.isEmpty())
            warnings.append(QStringLiteral("Последний слой не похож на облицовку (%1): расчет принимает облицовкой "
                                           "последний слой конструкции. Проверьте порядок слоев.")
                                .arg(why.join(QStringLiteral(", "))));
    }
    if (st && main_.resultsStale())
        warnings.append(QStringLiteral("Исходные данные главного окна изменены после расчета: прослойка считается по "
                                       "результатам последнего «Расчета»."));
    setText(QStringLiteral("lblCladding"), place);
    setText(QStringLiteral("lblCladdingWarning"), warnings.join(u' '));
}

void AirLayerForm::updateEnabling()
{
    setEnabled(QStringLiteral("txtK"), isChecked(QStringLiteral("chkEps_0")));
    setEnabled(QStringLiteral("txtEps"), isChecked(QStringLiteral("chkEps_2")));
}

void AirLayerForm::onLoad()
{
    const RefTables& t = ctx_.tables;
    const int region = main_.currentIndex(QStringLiteral("cboObl"));
    setText(QStringLiteral("txtTn_0"), t.designTemperatures.value(3).value(region));
    const int city = main_.currentIndex(QStringLiteral("cboGorod"));
    setText(QStringLiteral("txtTn_1"), city >= 0 && city < t.climate.size() ? t.climate[city].monthHumidity(1) : QString());
    // the inside air of the main window, as numbers written back as text
    for (const auto& [to, from] : {std::pair{"txtTn_2", "txtTv"}, std::pair{"txtTn_3", "txtFiv"}}) {
        const QString text = main_.text(QLatin1String(from));
        const auto v = parseNumber(text);
        setText(QLatin1String(to), v ? generalText(*v) : text);
    }
    updateEnabling();
    showCladding();
    // inputs a source-data file gave go over these
    main_.airLayerLoaded(*this);
}

void AirLayerForm::clearResults()
{
    for (int k = 0; k <= 13; ++k)
        setText(item("txtOut", k), QString());
    report_ = AirLayerReport();
    ctx_.airLayerReportLines.clear();
    lastInputs_.reset();
    lastResults_.reset();
    lastError_.clear();
    notifyChanged();
}

void AirLayerForm::followConstruction()
{
    if (!isLoaded())
        return;
    resetControls();
    report_ = AirLayerReport::fromResultLines(ctx_.airLayerReportLines);
    lastInputs_.reset();
    lastResults_.reset();
    lastError_.clear();
    onLoad();
    notifyChanged();
}

double AirLayerForm::field(const QString& name, const QString& what) const
{
    const QString t = text(name);
    if (t.trimmed().isEmpty())
        throw AppError(QStringLiteral("%1: значение не задано. Введите число.").arg(what), fieldOf(formName(), name));
    const auto v = parseNumber(t);
    if (!v)
        throw AppError(QStringLiteral("%1: «%2» не является числом. Введите число.").arg(what, t.trimmed()),
                       fieldOf(formName(), name));
    return *v;
}

AirLayerInputs AirLayerForm::collectInputs() const
{
    if (!ctx_.lastCalc || !ctx_.lastCalc->finished())
        throw AppError(QStringLiteral("Нет результатов теплотехнического расчета конструкции: выполните «Расчет» в "
                                      "главном окне."));
    const CalcState& st = ctx_.lastCalc->state;
    if (st.layerCount < 2)
        throw AppError(QStringLiteral("Для расчета вентилируемой прослойки нужны не менее двух слоев: последний слой — "
                                      "облицовка за прослойкой. Добавьте в главном окне слой облицовки последним и "
                                      "выполните «Расчет»."));
    AirLayerInputs in;
    in.Text = field(QStringLiteral("txtTn_0"), QStringLiteral("Расчетная температура наружного воздуха"));
    in.FIn = field(QStringLiteral("txtTn_1"), QStringLiteral("Влажность наружного воздуха"));
    in.Tint = field(QStringLiteral("txtTn_2"), QStringLiteral("Расчетная температура внутреннего воздуха"));
    in.FIv = field(QStringLiteral("txtTn_3"), QStringLiteral("Влажность внутреннего воздуха"));
    // α of the main window as currently typed
    const EnvelopeInput typed = main_.envelopeInput();
    InputEntry alphaOut = typed.alphaOut;
    InputEntry alphaIn = typed.alphaIn;
    alphaOut.what += QStringLiteral(" главного окна");
    alphaIn.what += QStringLiteral(" главного окна");
    in.ALext = alphaOut.number();
    in.ALint = alphaIn.number();
    alphaOut.checked();  // the ranges after both are known to be numbers
    alphaIn.checked();
    in.h = field(QStringLiteral("txtHst"), QStringLiteral("Разность высот входного и выходного отверстия"));
    in.eps = field(QStringLiteral("txtTocn"), QStringLiteral("Точность определения средней температуры воздуха"));
    in.d0 = field(QStringLiteral("txtDnac"), QStringLiteral("Начальная толщина прослойки")) / 1000;
    in.dd = field(QStringLiteral("txtDpr"), QStringLiteral("Приращение толщины прослойки")) / 1000;
    in.gridIn = isChecked(QStringLiteral("chkEps_0"));
    in.gridOut = isChecked(QStringLiteral("chkEps_1"));
    in.turns = isChecked(QStringLiteral("chkEps_2"));
    in.k = in.gridIn ? field(QStringLiteral("txtK"), QStringLiteral("Коэффициент k")) : 1;
    in.turnCount = in.turns ? field(QStringLiteral("txtEps"), QStringLiteral("Количество поворотов")) : 0;
    // the limits of every value: refused here, before the main calculation's values are read
    checkAirLayerInputs(in);
    in.R1 = st.rLayersButLast;
    in.R2 = st.rLayersAll - st.rLayersButLast;
    const LayerResult& beforeGap = st.layers[st.layerCount - 2];
    in.Rp1 = beforeGap.rpFromInside;
    in.Rp2 = beforeGap.rpToOutside;
    return in;
}

void AirLayerForm::showResults(const AirLayerResults& r)
{
    setText(QStringLiteral("txtOut_0"), formatNumber(1000 * r.d, "#"));
    setText(QStringLiteral("txtOut_1"), formatNumber(r.Tcalc, "#.0#"));
    setText(QStringLiteral("txtOut_2"), formatNumber(r.V, "0.0#"));
    setText(QStringLiteral("txtOut_3"), formatNumber(r.i, "#.0"));
    setText(QStringLiteral("txtOut_4"), formatNumber(r.Th, "#.0"));
    setText(QStringLiteral("txtOut_5"), formatNumber(r.Eint, "#"));
    setText(QStringLiteral("txtOut_6"), formatNumber(r.Eext, "#"));
    setText(QStringLiteral("txtOut_7"), formatNumber(r.eint, "#"));
    setText(QStringLiteral("txtOut_8"), formatNumber(r.eext, "#"));
    setText(QStringLiteral("txtOut_9"), formatNumber(r.B, "#.0#"));
    setText(QStringLiteral("txtOut_10"), formatNumber(r.eh, "#.0"));
    setText(QStringLiteral("txtOut_11"), formatNumber(r.Eh, "#.0"));
    setText(QStringLiteral("txtOut_12"), formatNumber(r.Tc, "0.0####"));
    setText(QStringLiteral("txtOut_13"), formatNumber(r.Tcalc, "0.0####"));
}

void AirLayerForm::AirLayerCalculation(int mode)
{
    if (ctx_.busy()) {
        prompter().beep();
        return;
    }
    RunGuard guard(ctx_);
    lastError_.clear();
    cancel_ = false;
    for (const QString& b : kRunButtons)
        setEnabled(b, false);
    setEnabled(QStringLiteral("cmdStop"), true);
    struct Restore {
        AirLayerForm& f;
        ~Restore()
        {
            for (const QString& b : kRunButtons)
                f.setEnabled(b, true);
            f.setEnabled(QStringLiteral("cmdStop"), false);
            f.notifyChanged();
        }
    } restore{*this};

    showCladding();
    // The mean temperature tried last stays in txtOut_12 and txtOut_13, also when the
    // search stops; while it runs the fields follow it at most every kProgressEveryMs.
    std::optional<std::pair<double, double>> lastTrial;
    auto showTrial = [this](double tc, double tcalc) {
        setText(QStringLiteral("txtOut_12"), formatNumber(tc, "0.0####"));
        setText(QStringLiteral("txtOut_13"), formatNumber(tcalc, "0.0####"));
    };
    QElapsedTimer shown;
    shown.start();
    try {
        for (int k = 0; k <= 11; ++k)
            setText(item("txtOut", k), QString());
        const AirLayerInputs in = collectInputs();
        notifyChanged();
        AirLayerHooks hooks;
        hooks.thickness = [this](double d) {
            setText(QStringLiteral("txtOut_0"), generalText(1000 * d));
            ctx_.yieldToEvents();
        };
        hooks.tcStep = [&](double tc, double tcalc) {
            lastTrial = {tc, tcalc};
            if (shown.elapsed() >= kProgressEveryMs) {
                showTrial(tc, tcalc);
                ctx_.yieldToEvents();
                shown.restart();
            }
        };
        hooks.cancelled = [this] { return cancel_; };
        const AirLayerResults r = ogrado::AirLayerCalculation(in, ctx_.tables.saturation, hooks);
        showResults(r);
        lastInputs_ = in;
        lastResults_ = r;
        const AirLayerReportTexts texts{text(QStringLiteral("txtEps"))};
        if (mode == 1)
            report_.replace(in, r, texts);
        else if (mode == 2)
            report_.append(in, r, texts);
        ctx_.airLayerReportLines = report_.resultLines();
    } catch (const AppError& e) {
        if (lastTrial)
            showTrial(lastTrial->first, lastTrial->second);
        lastError_ = e.message();
        showError(e);
    }
}

}  // namespace ogrado
