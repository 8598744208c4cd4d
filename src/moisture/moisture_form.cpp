// SPDX-License-Identifier: GPL-3.0-or-later
#include "moisture/moisture_form.h"

#include "common/app_error.h"
#include "common/input_check.h"
#include "common/number_text.h"
#include "engine/point_field.h"

namespace ogrado {

namespace {

QString item(const char* name, int k)
{
    return QLatin1String(name) + u'_' + QString::number(k);
}

const QStringList kRightHalf = {"lblRezList", "lstRez_1", "lstRez_2", "lstRez_3", "lstRez_4", "lstRez_5",
                                "txtT_0",     "txtT_1",   "txtT_2",   "txtT_3",   "cmdRs",    "cmdPodbor"};

// A flow of the month list, in g/m²; "--" where the month has none.
QString flowText(const std::optional<double>& v)
{
    return v ? formatNumber(*v, "0") : QStringLiteral("--");
}

// The five point lists of a month's field: name, t, E, e and φ ("100% !!!" above 100 %).
std::array<QStringList, 5> pointLists(const MoistureMonthResult& r)
{
    std::array<QStringList, 5> lists;
    for (int j = 0; j < r.points.size(); ++j) {
        const CalcPoint& p = r.points[j];
        lists[0].append(pointName(r.labels, j));
        lists[1].append(formatSingle(p.t, "0.0"));
        lists[2].append(formatSingle(p.E, "0"));
        lists[3].append(formatSingle(p.e, "0"));
        lists[4].append(p.phi > 100 ? QStringLiteral("100% !!!") : formatSingle(p.phi, "0.0"));
    }
    return lists;
}

}  // namespace

MoistureForm::MoistureForm(AppContext& ctx, MainForm& main, QObject* parent)
    : FormModel(windowName(), ctx.prompter, parent), ctx_(ctx), main_(main)
{
    setCaption(QStringLiteral("Влагонакопление"));
    setSizeTwips(kNarrowTwips, kHeightTwips);
    addArray("lstV", 0, 8, ControlKind::ListBox);
    for (int k = 0; k <= 2; ++k)
        add(item("txtV", k), ControlKind::TextBox).readOnly = true;
    add(QStringLiteral("lblRezList"), ControlKind::Label, QStringLiteral("Месяц"));
    addArray("lstRez", 1, 5, ControlKind::ListBox);
    add(item("txtT", 0), ControlKind::TextBox, QStringLiteral("-15"));
    add(item("txtT", 1), ControlKind::TextBox, QStringLiteral("75"));
    add(item("txtT", 2), ControlKind::TextBox, QStringLiteral("10"));
    add(item("txtT", 3), ControlKind::TextBox, QStringLiteral("0"));
    add(QStringLiteral("cmdRs"), ControlKind::Button, QStringLiteral("Посчитать для нижеприведенных данных"));
    add(QStringLiteral("cmdPodbor"), ControlKind::Button, QStringLiteral("Подобрать t(min)"));
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Выход"));
    for (const QString& name : kRightHalf)
        setVisible(name, false);
    for (int k = 0; k <= 3; ++k) {
        setKeyFilter(item("txtT", k), numericKeyFilter());
        if (k < 3)
            setSelectAllOnClick(item("txtT", k));
    }

    for (int k = 0; k <= 8; ++k) {
        // the month lists are the columns of one table: a row chosen in one is chosen in all
        on(item("lstV", k), FormEvent::Click, [this, k] {
            const int row = currentIndex(item("lstV", k));
            for (int j = 0; j <= 8; ++j)
                if (j != k && row < items(item("lstV", j)).size())
                    setCurrentIndex(item("lstV", j), row);
            if (k != 0)
                setCurrentIndex(item("lstV", 0), row);
        });
        on(item("lstV", k), FormEvent::DblClick, [this] { showMonth(); });
    }
    on(QStringLiteral("cmdRs"), FormEvent::Click, [this] { calculateEntries(); });
    on(QStringLiteral("cmdPodbor"), FormEvent::Click, [this] { searchMinimumTemperature(); });
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] { unloadForm(); });
}

void MoistureForm::onLoad()
{
    setSizeTwips(kNarrowTwips, kHeightTwips);
    QStringList months;
    for (const char* m : kMonthNames)
        months.append(QString::fromUtf8(m));
    setItems(QStringLiteral("lstV_0"), months);
}

std::optional<QPoint> MoistureForm::placement(const QRect& mainTwips) const
{
    return QPoint(mainTwips.left() - widthTwips(), mainTwips.top());
}

std::optional<int> MoistureForm::markedLayer() const
{
    return main_.moistenedLayer();
}

const ClimateRecord& MoistureForm::city() const
{
    const int i = main_.currentIndex(QStringLiteral("cboGorod"));
    if (i < 0 || i >= ctx_.tables.climate.size())
        throw AppError(QStringLiteral("Не выбран город: климатические данные для расчета влагонакопления не заданы. "
                                      "Выберите город в главном окне."),
                       mainWindowField(QStringLiteral("cboGorod")));
    return ctx_.tables.climate[i];
}

MoistureSetup MoistureForm::setup() const
{
    MoistureSetup s;
    s.input = readEnvelopeInput(ctx_.layerTable, main_.envelopeInputs());
    s.saturation = &ctx_.tables.saturation;
    s.planeLayer = markedLayer().value_or(0);
    return s;
}

FieldRef MoistureForm::markField() const
{
    // the marked row's option, or the first one when none is marked
    for (int row = 7; row >= 2; --row) {
        const QString name = item("optVlaga", row);
        if (main_.isChecked(name))
            return mainWindowField(name);
    }
    return mainWindowField(QStringLiteral("optVlaga_2"));
}

// The window's buttons stay disabled while a run is active.
class MoistureForm::ButtonsOff {
public:
    explicit ButtonsOff(MoistureForm& f) : f_(f)
    {
        for (const char* b : kButtons)
            f_.setEnabled(QLatin1String(b), false);
        f_.notifyChanged();
    }
    ~ButtonsOff()
    {
        for (const char* b : kButtons)
            f_.setEnabled(QLatin1String(b), true);
        f_.notifyChanged();
    }

private:
    static constexpr const char* kButtons[] = {"cmdRs", "cmdPodbor", "cmdCancel"};
    MoistureForm& f_;
};

void MoistureForm::RunMoistureAccumulation()
{
    if (ctx_.busy()) {
        prompter().beep();
        return;
    }
    RunGuard guard(ctx_);
    ButtonsOff off(*this);
    completed_ = false;
    setSizeTwips(kNarrowTwips, kHeightTwips);
    for (int k = 1; k <= 8; ++k)
        setItems(item("lstV", k), {});
    for (int k = 0; k <= 2; ++k)
        setText(item("txtV", k), QString());
    totals_ = MoistureTotals{};
    const std::optional<int> k = markedLayer();
    if (k)
        setCaption(QStringLiteral("Влагонакопление между слоями %1-%2.").arg(*k).arg(*k + 1));
    const int n = ctx_.layerTable.count();
    const QString cr = QStringLiteral("\r");
    switch (checkMoistenedLayer(k, n)) {
    case MarkCheck::FirstOrLast:
        showError(QStringLiteral("В качестве увлажняемого выбран") + cr + QStringLiteral("первый, или последний слой.") +
                      cr + QStringLiteral("Расчет влагонакопления не выполнен."),
                  QStringLiteral("Ошибка"), markField());
        unloadForm();
        return;
    case MarkCheck::NotPenultimate:
        notifyChanged();
        prompter().message(QStringLiteral("В качестве увлажняемого выбран не предпоследний") + cr +
                               QStringLiteral(" слой. Возможно Вы ошиблись. Если это так, то пометьте") + cr +
                               QStringLiteral("нужный слой и повторите расчет."),
                           QStringLiteral("Внимание!"), MessageIcon::Exclamation, MessageButtons::Ok);
        break;
    case MarkCheck::Ok:
        break;
    }

    try {
        MoistureYearHooks hooks;
        hooks.monthStarting = [this](int, const MonthAir& air) {
            addItem(QStringLiteral("lstV_1"), air.tn);
            addItem(QStringLiteral("lstV_2"), air.phiN);
            addItem(QStringLiteral("lstV_3"), air.tv);
            addItem(QStringLiteral("lstV_4"), air.phiV);
        };
        hooks.monthDone = [this](int, const MoistureMonthResult& r) {
            addItem(QStringLiteral("lstV_5"), flowText(r.gIn));
            addItem(QStringLiteral("lstV_6"), flowText(r.gOut));
            addItem(QStringLiteral("lstV_7"), r.tPlane ? formatNumber(*r.tPlane, "0.0") : QString());
            addItem(QStringLiteral("lstV_8"), flowText(r.balance));
            showPoints(r);
            ctx_.yieldToEvents();
        };
        totals_ = RunMoistureYear(setup(), city(), hooks);
        // the verdict of the main window names the city's air the balance rests on
        ctx_.moistureReferences =
            referencesOfMoistureBalance(ctx_.tables, main_.currentIndex(QStringLiteral("cboGorod")));
        main_.referencesAdded();
        setText(QStringLiteral("txtV_0"), formatNumber(totals_.accumulated, "0"));
        setText(QStringLiteral("txtV_1"), formatNumber(totals_.summerDrying, "0"));
        setText(QStringLiteral("txtV_2"), u'-' + formatNumber(totals_.heatingDrying, "0"));
        completed_ = true;
    } catch (const AppError& e) {
        showError(e);
    }
    notifyChanged();
}

void MoistureForm::showPoints(const MoistureMonthResult& r)
{
    const std::array<QStringList, 5> lists = pointLists(r);
    for (int k = 1; k <= 5; ++k)
        setItems(item("lstRez", k), lists[size_t(k - 1)]);
}

MoistureMonthResult MoistureForm::singleCase(double tn, double phiN)
{
    if (!ctx_.lastCalc || !ctx_.lastCalc->finished())
        throw AppError(QStringLiteral("Нет результатов теплотехнического расчета конструкции: выполните «Расчет» в "
                                      "главном окне."));
    const MoistureSetup s = setup();
    const double tIn = s.input.tIn.number();
    const double phiIn = s.input.phiIn.number();
    if (checkMoistenedLayer(markedLayer(), ctx_.layerTable.count()) == MarkCheck::FirstOrLast)
        throw AppError(QStringLiteral("Увлажняемый слой не помечен или помечен первый, или последний слой: "
                                      "плоскость возможной конденсации не определена. Пометьте в главном окне "
                                      "увлажняемый слой — не первый и не последний."),
                       markField());
    MoistureTotals unused;
    const MoistureMonthResult r = CalcMoistureMonth(s, tIn, phiIn, tn, phiN, 0, unused);
    showPoints(r);
    return r;
}

void MoistureForm::showRightHalf()
{
    setSizeTwips(kWideTwips, kHeightTwips);
    for (const QString& name : kRightHalf)
        setVisible(name, true);
}

void MoistureForm::showMonth()
{
    const int m = currentIndex(QStringLiteral("lstV_0")) + 1;
    if (m < 1 || ctx_.busy())
        return;
    RunGuard guard(ctx_);
    setText(QStringLiteral("lblRezList"), QString::fromUtf8(kMonthNames[m - 1]) + QStringLiteral(", L=30 суток."));
    showRightHalf();
    const ClimateRecord& c = city();
    // the climate of the month itself, the summer months too
    const double tn = climateNumber(c.monthTemperature(m), c, m, false);
    const double phiN = climateNumber(c.monthHumidity(m), c, m, true);
    singleCase(tn, phiN);
    const QString balance = items(QStringLiteral("lstV_8")).value(m - 1);
    const auto value = parseNumber(balance);
    setText(QStringLiteral("txtT_3"), value && *value != 0 ? balance : QStringLiteral("---"));
}

double MoistureForm::entryNumber(int k) const
{
    static const char* const names[] = {"Температура нар. воздуха", "Влажность нар. воздуха",
                                        "Продолжительность периода"};
    const QString name = item("txtT", k);
    const QString t = text(name);
    const auto v = parseNumber(t);
    if (!v)
        throw AppError(QStringLiteral("%1: «%2» не является числом. Введите число.").arg(QString::fromUtf8(names[k]), t.trimmed()),
                       fieldOf(formName(), name));
    if (k == 1)
        requireInRange(*v, t, QString::fromUtf8(names[k]), kHumidityRange, fieldOf(formName(), name));
    return *v;
}

void MoistureForm::captionFromEntries()
{
    setText(QStringLiteral("lblRezList"), QStringLiteral("tн=") + text("txtT_0") + QStringLiteral("°С, фи(н)=") +
                                              text("txtT_1") + QStringLiteral("%, L=") + text("txtT_2") +
                                              QStringLiteral(" суток."));
}

void MoistureForm::calculateEntries()
{
    if (ctx_.busy()) {
        prompter().beep();
        return;
    }
    RunGuard guard(ctx_);
    captionFromEntries();
    setText(QStringLiteral("txtT_3"), QString());
    const double tn = entryNumber(0);
    const double phiN = entryNumber(1);
    const double days = entryNumber(2);
    const MoistureMonthResult r = singleCase(tn, phiN);
    setText(QStringLiteral("txtT_3"), formatNumber(periodWater(days, r), "0"));
}

double MoistureForm::periodWater(double days, const MoistureMonthResult& r)
{
    return requireFinite(days * r.dailyBalance, QStringLiteral("Количество воды за период"));
}

void MoistureForm::searchMinimumTemperature()
{
    if (ctx_.busy()) {
        prompter().beep();
        return;
    }
    RunGuard guard(ctx_);
    ButtonsOff off(*this);

    captionFromEntries();
    const double start = entryNumber(0);
    const double phiN = entryNumber(1);
    const double days = entryNumber(2);
    // from the entered temperature upwards in steps of 0,1 °С, to 20 °С at most
    for (double t = start; t <= 20; t += 0.1) {
        ctx_.yieldToEvents();
        setText(QStringLiteral("txtT_0"), formatNumber(t, "0.0"));
        const MoistureMonthResult r = singleCase(t, phiN);
        setText(QStringLiteral("txtT_3"), formatNumber(periodWater(days, r), "0"));
        notifyChanged();
        if (!r.condensation) {
            setText(QStringLiteral("txtT_0"), formatNumber(t, "0.0"));
            break;
        }
    }
    captionFromEntries();
}

}  // namespace ogrado
