#include "app/batch.h"

#include "app/application.h"
#include "common/app_error.h"
#include "common/number_text.h"
#include "airlayer/airlayer_form.h"
#include "moisture/moisture_form.h"
#include "library/layer_stack_library.h"
#include "refdata/ref_reader.h"
#include "tools/dew_point_form.h"
#include "tools/limits_form.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

namespace ogrado {

namespace {

const char* const kUsage =
    "Использование: ogrado_calc [--data КАТАЛОГ] [--json] [--out ФАЙЛ] [--dump-input]\n"
    "                           [--moisture] [--airlayer ФАЙЛ.json] [--stack ИМЯ]\n"
    "                           [--dewpoint \"T;ФИ\"] [--limits \"T1;T2;DT;F1;F2;DF\"] [ВАРИАНТ.json]\n";

struct Message {
    QString text;
    QString title;
};

// Messages go to stderr and are kept for the JSON output; questions are answered
// with OK or Yes.
class BatchPrompter : public Prompter {
public:
    explicit BatchPrompter(QTextStream& err) : err_(err) {}

    MessageAnswer message(const QString& text, const QString& title, MessageIcon, MessageButtons buttons) override
    {
        messages.append({text, title});
        QString shown = text;
        shown.replace(u'\r', u'\n');
        err_ << title << ": " << shown.trimmed() << "\n";
        err_.flush();
        return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
    void beep() override {}

    QVector<Message> messages;

private:
    QTextStream& err_;
};

// Windows are not shown; a form only loads.
class BatchHost : public WindowHost {
public:
    void showForm(FormModel& form) override { form.loadForm(); }
    void showModal(FormModel& form) override { form.loadForm(); }
    void quit() override {}
};

struct Options {
    QString dataDir = QDir::currentPath();
    QString casePath;
    QString outPath;
    bool json = false;
    bool dumpInput = false;
    bool moisture = false;
    QString airPath;
    QString stack;
    std::optional<QStringList> dewpoint;  // T, ФИ
    std::optional<QStringList> limits;    // T1, T2, DT, F1, F2, DF
};

class UsageError : public AppError {
public:
    using AppError::AppError;
};

// The values of an option written "A;B;...": exactly `count` of them.
QStringList fields(const QString& option, const QString& value, int count)
{
    const QStringList f = value.split(u';');
    if (f.size() != count)
        throw UsageError(QStringLiteral("%1 ждет %2 значений через «;», получено %3: «%4».")
                             .arg(option)
                             .arg(count)
                             .arg(f.size())
                             .arg(value));
    QStringList trimmed;
    for (const QString& v : f)
        trimmed.append(v.trimmed());
    return trimmed;
}

Options parseOptions(const QStringList& args)
{
    Options o;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&]() -> QString {
            if (i + 1 >= args.size())
                throw UsageError(QStringLiteral("После %1 нужно значение.").arg(a));
            return args[++i];
        };
        if (a == u"--data")
            o.dataDir = value();
        else if (a == u"--json")
            o.json = true;
        else if (a == u"--out")
            o.outPath = value();
        else if (a == u"--dump-input")
            o.dumpInput = true;
        else if (a == u"--moisture")
            o.moisture = true;
        else if (a == u"--airlayer")
            o.airPath = value();
        else if (a == u"--stack")
            o.stack = value();
        else if (a == u"--dewpoint")
            o.dewpoint = fields(a, value(), 2);
        else if (a == u"--limits")
            o.limits = fields(a, value(), 6);
        else if (a.startsWith(u"--"))
            throw UsageError(QStringLiteral("Неизвестный параметр %1.").arg(a));
        else if (o.casePath.isEmpty())
            o.casePath = a;
        else
            throw UsageError(QStringLiteral("Лишний параметр %1.").arg(a));
    }
    return o;
}

QJsonObject readJsonObject(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Не удается открыть файл \"%1\": %2.").arg(path, f.errorString()));
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &pe);
    if (pe.error != QJsonParseError::NoError || !doc.isObject())
        throw AppError(QStringLiteral("Файл \"%1\" не является объектом JSON: %2.")
                           .arg(path, pe.error != QJsonParseError::NoError ? pe.errorString()
                                                                           : QStringLiteral("ожидался объект")));
    return doc.object();
}

QJsonValue number(double v)
{
    return QJsonValue(v);
}

QJsonValue optionalNumber(const std::optional<double>& v)
{
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

QJsonObject layerTableJson(const LayerTable& t)
{
    QJsonObject header{{"N", t.count()},           {"alphaIn", t.header.alphaIn}, {"alphaOut", t.header.alphaOut},
                       {"tIn", t.header.tIn},      {"phiIn", t.header.phiIn},     {"tHeat", t.header.tHeat},
                       {"phiHeat", t.header.phiHeat}, {"eHeat", t.header.eHeat},   {"zHeat", t.header.zHeat}};
    QJsonArray layers;
    for (const LayerRow& r : t.layers) {
        layers.append(QJsonObject{{"number", r.cell(kColNumber)},
                                  {"name", r.name},
                                  {"thickness", r.cell(kColThickness)},
                                  {"points", r.cell(kColPoints)},
                                  {"lambdaA", r.cell(kColLambdaA)},
                                  {"lambdaB", r.cell(kColLambdaB)},
                                  {"sA", r.cell(kColSA)},
                                  {"sB", r.cell(kColSB)},
                                  {"mu", r.cell(kColMu)},
                                  {"sourceRow", r.sourceRow}});
    }
    return QJsonObject{{"header", header}, {"layers", layers}};
}

void printLayerTable(const LayerTable& t, QTextStream& out)
{
    const LayerTableHeader& h = t.header;
    out << "N;alphaIn;alphaOut;tIn;phiIn;tHeat;phiHeat;eHeat;zHeat\n";
    out << t.count() << ';' << h.alphaIn << ';' << h.alphaOut << ';' << h.tIn << ';' << h.phiIn << ';' << h.tHeat
        << ';' << h.phiHeat << ';' << h.eHeat << ';' << h.zHeat << "\n";
    out << "number;name;thickness;points;lambdaA;lambdaB;sA;sB;mu;sourceRow\n";
    for (const LayerRow& r : t.layers) {
        out << r.cell(kColNumber) << ';' << r.name;
        for (int c = kColThickness; c <= kColMu; ++c)
            out << ';' << r.cell(c);
        out << ';' << r.sourceRow << "\n";
    }
}

// Every result field and list of the main window, as the window shows them.
QJsonObject resultFieldsJson(const MainForm& form)
{
    QJsonObject fields;
    auto addText = [&](const QString& name) { fields.insert(name, form.text(name)); };
    for (const char* name : {"txtRt", "txtRp", "txtD", "txtTnras", "txtRtr", "lblRezList"})
        addText(QLatin1String(name));
    for (int k = 1; k <= LayerGridRows; ++k)
        addText(QStringLiteral("txtFiSl_%1").arg(k));
    for (const char* name : {"txtT", "txtPm", "txtPr", "txtRptr", "txtRpv"})
        for (int k = 1; k <= 7; ++k)
            addText(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(k));
    for (int k = 1; k <= 5; ++k) {
        const QString name = QStringLiteral("lstRez_%1").arg(k);
        fields.insert(name, QJsonArray::fromStringList(form.items(name)));
    }
    return fields;
}

QJsonObject calcJson(const MainForm& form, const CalcReport& report, const std::optional<EnvelopeOutcome>& outcome,
                     const QString& error)
{
    QJsonObject o;
    const CalcState st = outcome ? outcome->state : CalcState{};
    const bool cond = st.reached >= CalcState::kCondition;
    const bool res = st.reached >= CalcState::kResistances;
    const bool inert = st.reached >= CalcState::kInertia;
    o.insert("conditionLetter", cond ? QJsonValue(st.conditionLetter) : QJsonValue());
    o.insert("RtPreliminary", res ? number(st.rtPreliminary) : QJsonValue());
    o.insert("Rt", inert ? number(st.rt) : QJsonValue());
    o.insert("Rp", res ? number(st.rp) : QJsonValue());
    o.insert("D", inert ? number(st.D) : QJsonValue());
    o.insert("tnIndex", inert ? QJsonValue(st.tnIndex) : QJsonValue());
    o.insert("tn", inert ? QJsonValue(st.tnText) : QJsonValue());
    o.insert("Rtr", optionalNumber(st.rtRequired));
    o.insert("complies", st.finished ? QJsonValue(st.complies ? 1 : 0) : QJsonValue());
    QJsonArray phiMean;
    for (const LayerResult& r : st.layers)
        phiMean.append(optionalNumber(r.phiMean));
    o.insert("phiMean", phiMean);
    QJsonArray boundaries;
    if (st.finished) {
        for (int i = 0; i + 1 < st.layers.size(); ++i) {
            const LayerResult& r = st.layers[i];
            boundaries.append(QJsonObject{{"t", r.tBoundary},
                                          {"E", r.eSatBoundary},
                                          {"e", r.eBoundary},
                                          {"rpFromInside", r.rpFromInside},
                                          {"rpToOutside", r.rpToOutside},
                                          {"rpRequired", r.rpRequired},
                                          {"passes", r.passes}});
        }
    }
    o.insert("boundaries", boundaries);
    QJsonArray points;
    if (outcome && outcome->lists) {
        for (int j = 0; j < st.pointCount(); ++j) {
            const CalcPoint& p = st.points[j];
            points.append(QJsonObject{{"label", outcome->lists->columns[0].value(j)},
                                      {"t", double(p.t)},
                                      {"E", double(p.E)},
                                      {"e", double(p.e)},
                                      {"phi", double(p.phi)}});
        }
    }
    o.insert("points", points);
    o.insert("fields", resultFieldsJson(form));
    o.insert("report", QJsonArray::fromStringList(report.lines()));
    o.insert("error", error.isEmpty() ? QJsonValue() : QJsonValue(error));
    return o;
}

// The month table of the moisture window as the window shows it.
QJsonObject moistureJson(const MoistureForm& m, const QStringList& messages)
{
    QJsonArray months;
    const QStringList keys = {"tn", "phiN", "tv", "phiV", "gIn", "gOut", "tPlane", "balance"};
    const qsizetype rows = m.items(QStringLiteral("lstV_1")).size();
    for (qsizetype row = 0; row < rows; ++row) {
        QJsonObject month;
        for (int k = 1; k <= 8; ++k)
            month.insert(keys[k - 1], m.items(QStringLiteral("lstV_%1").arg(k)).value(row));
        months.append(month);
    }
    const MoistureTotals& t = m.totals();
    return QJsonObject{
        {"caption", m.caption()},
        {"months", months},
        {"totals", QJsonArray{m.text("txtV_0"), m.text("txtV_1"), m.text("txtV_2")}},
        {"values", QJsonObject{{"accumulated", t.accumulated},
                               {"summerDrying", t.summerDrying},
                               {"heatingDrying", t.heatingDrying}}},
        {"messages", QJsonArray::fromStringList(messages)},
    };
}

QStringList moistureLines(const MoistureForm& m)
{
    QStringList lines;
    lines << QString() << m.caption()
          << QStringLiteral("Месяц;tн.;фи(н.);tв.;фи(в.);g(в.);g(н.);t(гр.);g(в.)-g(н.)");
    const QStringList months = m.items(QStringLiteral("lstV_0"));
    const qsizetype rows = m.items(QStringLiteral("lstV_1")).size();
    for (qsizetype row = 0; row < rows; ++row) {
        QString line = months.value(row);
        for (int k = 1; k <= 8; ++k)
            line += u';' + m.items(QStringLiteral("lstV_%1").arg(k)).value(row);
        lines << line;
    }
    lines << QStringLiteral("За период влагонакопления поступило воды, г/м2;") + m.text("txtV_0")
          << QStringLiteral("За период высыхания может диффундировать воды, г/м2;") + m.text("txtV_1")
          << QStringLiteral("За отопительный период может диффундировать воды, г/м2;") + m.text("txtV_2");
    return lines;
}

// Texts and check states of a window by its control names.
void applyWindowKeys(FormModel& form, const QJsonObject& keys)
{
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        if (!form.has(it.key()))
            throw AppError(QStringLiteral("Ключ «%1» не является элементом окна %2.").arg(it.key(), form.formName()));
        const Control& c = form.control(it.key());
        if (c.kind == ControlKind::TextBox && it->isString())
            form.setText(it.key(), it->toString());
        else if ((c.kind == ControlKind::CheckBox || c.kind == ControlKind::OptionButton) && it->isBool())
            form.userCheck(it.key(), it->toBool());
        else
            throw AppError(QStringLiteral("Ключ «%1» окна %2: значение не того вида.").arg(it.key(), form.formName()));
    }
    form.notifyChanged();
}

QJsonObject airLayerJson(const AirLayerForm& f)
{
    QJsonObject fields;
    for (int k = 0; k <= 13; ++k) {
        const QString name = QStringLiteral("txtOut_%1").arg(k);
        fields.insert(name, f.text(name));
    }
    QJsonObject values;
    if (f.lastError().isEmpty() && f.lastResults() && f.lastInputs()) {
        const AirLayerResults& r = *f.lastResults();
        const AirLayerInputs& in = *f.lastInputs();
        values = QJsonObject{{"d", r.d},         {"Tc", r.Tc},         {"Tcalc", r.Tcalc},   {"V", r.V},
                             {"i", r.i},         {"Th", r.Th},         {"Eint", r.Eint},     {"Eext", r.Eext},
                             {"eint", r.eint},   {"eext", r.eext},     {"B", r.B},           {"eh", r.eh},
                             {"Eh", r.Eh},       {"R1", double(in.R1)}, {"R2", double(in.R2)}, {"Rp1", in.Rp1},
                             {"Rp2", in.Rp2},    {"ALm", r.ALm},       {"LAint", r.LAint},   {"LAext", r.LAext},
                             {"SymEp", r.SymEp}, {"M", r.M}};
    }
    return QJsonObject{{"fields", fields},
                       {"values", values},
                       {"report", QJsonArray::fromStringList(f.report().allLines())},
                       {"error", f.lastError().isEmpty() ? QJsonValue() : QJsonValue(f.lastError())}};
}

// "Точка росы" with the temperature and humidity typed in: entry 3 (E) and entry 2
// (the dew point) as the window shows them. Nothing computed is a failure here even
// where the window stays silent (a temperature outside its range).
int runDewPoint(Application& app, const BatchPrompter& prompter, const QStringList& values, bool json,
                QTextStream& out, QTextStream& err)
{
    auto& f = static_cast<DewPointForm&>(*app.form(QStringLiteral("frmTrosa")));
    f.loadForm();
    f.userEdit(DewPointForm::entry(DewPointForm::kTemperature), values[0]);
    f.userEdit(DewPointForm::entry(DewPointForm::kHumidity), values[1]);
    const qsizetype before = prompter.messages.size();
    f.userClick(QStringLiteral("cmdOk"));
    const QString pressure = f.text(DewPointForm::entry(DewPointForm::kPressure));
    const QString dewPoint = f.text(DewPointForm::entry(DewPointForm::kDewPoint));
    const bool computed = prompter.messages.size() == before && !dewPoint.isEmpty();
    if (prompter.messages.size() == before && dewPoint.isEmpty())
        err << QStringLiteral("Точка росы не рассчитана: температура воздуха должна быть задана в пределах от %1 до "
                              "%2 °С.\n")
                   .arg(generalText(DewPointForm::kLowestTemperature), generalText(DewPointForm::kHighestTemperature));
    if (json) {
        const QJsonObject o{{"dewpoint", QJsonObject{{"E", pressure}, {"tDew", dewPoint}}}};
        out << QJsonDocument(o).toJson(QJsonDocument::Indented);
    } else {
        out << pressure << "\n" << dewPoint << "\n";
    }
    out.flush();
    return computed ? 0 : 1;
}

}  // namespace

void applyCase(MainForm& form, const QJsonObject& c)
{
    auto wrongKind = [](const QString& key, const QString& expected) {
        throw AppError(QStringLiteral("Ключ «%1» варианта расчета: ожидается %2.").arg(key, expected));
    };
    for (auto it = c.begin(); it != c.end(); ++it) {
        if (!form.has(it.key()))
            throw AppError(QStringLiteral("Ключ «%1» варианта расчета не является элементом главного окна.").arg(it.key()));
    }
    // lists, in the order of the window's load sequence
    const QStringList lists = {"cboGorod", "cboTipZd", "cboObl", "cboN",  "cboAlv",
                               "cboAln",   "cboTp_1",  "cboTp_0", "lstM", "cboM"};
    for (const QString& key : lists) {
        if (!c.contains(key))
            continue;
        const QJsonValue v = c.value(key);
        const int count = int(form.items(key).size());
        if (!v.isDouble() || v.toDouble() != double(v.toInt()) || v.toInt() < 0 || v.toInt() >= count)
            wrongKind(key, QStringLiteral("номер строки списка от 0 до %1").arg(count - 1));
        form.userSelect(key, v.toInt());
    }
    for (auto it = c.begin(); it != c.end(); ++it) {
        const Control& ctl = form.control(it.key());
        if (lists.contains(it.key()))
            continue;
        switch (ctl.kind) {
        case ControlKind::TextBox:
            if (!it->isString())
                wrongKind(it.key(), QStringLiteral("текст"));
            form.setText(it.key(), it->toString());
            break;
        case ControlKind::ComboBox:
        case ControlKind::ListBox:
            wrongKind(it.key(), QStringLiteral("список, которого нет среди выбираемых"));
            break;
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
            break;
        default:
            wrongKind(it.key(), QStringLiteral("поле ввода, список или флажок"));
        }
    }
    for (auto it = c.begin(); it != c.end(); ++it) {
        const Control& ctl = form.control(it.key());
        if (ctl.kind != ControlKind::CheckBox && ctl.kind != ControlKind::OptionButton)
            continue;
        if (!it->isBool())
            wrongKind(it.key(), QStringLiteral("true или false"));
        form.userCheck(it.key(), it->toBool());
    }
    form.notifyChanged();
}

int runBatch(const QStringList& args, QTextStream& out, QTextStream& err)
{
    Options opt;
    try {
        if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
            out << kUsage;
            return 0;
        }
        opt = parseOptions(args);
    } catch (const AppError& e) {
        err << e.message() << "\n" << kUsage;
        return 2;
    }

    BatchPrompter prompter(err);
    BatchHost host;
    AppContext ctx(prompter);
    ctx.host = &host;
    ctx.settings = defaultDirectories(opt.dataDir);
    try {
        ctx.tables = loadReferenceData(opt.dataDir);
    } catch (const AppError& e) {
        err << "Ошибка: " << e.message() << "\n";
        return 2;
    }
    Application app(ctx);
    MainForm& form = app.mainForm();
    form.loadForm();
    if (opt.dewpoint)
        return runDewPoint(app, prompter, *opt.dewpoint, opt.json, out, err);
    try {
        // A stored layer stack goes into the grid first, as "Загрузить" puts it there;
        // the case file's keys then change what they name.
        if (!opt.stack.isEmpty()) {
            const QString path = libraryFilePath(ctx.settings.dataDir);
            const LayerStackLibrary library = LoadLibraryFile(path);
            const int k = library.find(opt.stack);
            if (k == 0)
                throw AppError(QStringLiteral("В библиотеке пирожков \"%1\" нет пирожка «%2».")
                                   .arg(QDir::toNativeSeparators(path), opt.stack.trimmed()));
            LoadStackIntoTable(form, library.stack(k), StackLoad::Full);
        }
        const QJsonObject caseObject = opt.casePath.isEmpty() ? QJsonObject() : readJsonObject(opt.casePath);
        applyCase(form, caseObject);
    } catch (const AppError& e) {
        // A message's line breaks are CR, which a terminal would print over one line.
        err << "Ошибка: " << QString(e.message()).replace(u'\r', u'\n') << "\n";
        return 2;
    }

    if (opt.dumpInput) {
        form.collectInput();
        if (opt.json)
            out << QJsonDocument(layerTableJson(ctx.layerTable)).toJson(QJsonDocument::Indented);
        else
            printLayerTable(ctx.layerTable, out);
        return 0;
    }

    // What "Расчет" runs (with the monthly moisture balance when asked for).
    if (opt.moisture && !form.isChecked(QStringLiteral("chkVlaga")))
        form.userCheck(QStringLiteral("chkVlaga"), true);
    const int before = int(prompter.messages.size());
    form.userClick(QStringLiteral("cmdOk"));
    const int afterCalc = int(prompter.messages.size());

    // Objects the other windows add to the JSON output, and lines to the text output.
    QJsonObject extra;
    QStringList extraLines;
    bool windowsFinished = true;

    // "Варианты": the search over the given ranges, then "Добавить к результатам расчетов".
    if (opt.limits) {
        auto& limits = static_cast<LimitsForm&>(*app.form(QStringLiteral("frmVariant")));
        host.showForm(limits);
        for (int k = 0; k < 3; ++k) {
            limits.userEdit(LimitsForm::temperatureEntry(k), (*opt.limits)[k]);
            limits.userEdit(LimitsForm::humidityEntry(k), (*opt.limits)[3 + k]);
        }
        const qsizetype searchBefore = prompter.messages.size();
        limits.userClick(QStringLiteral("cvdOk"));
        if (limits.lastSearchCompleted())
            limits.userClick(QStringLiteral("cmdSave"));
        else
            windowsFinished = false;
        QJsonArray rows;
        for (const LimitsRow& r : limits.rows())
            rows.append(QJsonArray{r.t, r.from, r.to});
        extra.insert(QStringLiteral("limits"), rows);
        extra.insert(QStringLiteral("limitsError"), prompter.messages.size() > searchBefore
                                                        ? QJsonValue(prompter.messages[searchBefore].text)
                                                        : QJsonValue());
    }

    // The last main calculation: the design case, also after a search over variants.
    QString error;
    if (ctx.lastCalc && ctx.lastCalc->error)
        error = ctx.lastCalc->error->text;
    else if (ctx.lastCalc && ctx.lastCalc->warning)
        error = ctx.lastCalc->warning->text;
    else if (!ctx.lastCalc && prompter.messages.size() > before)
        error = prompter.messages[before].text;
    const bool finished = ctx.lastCalc && ctx.lastCalc->finished() && windowsFinished;

    if (opt.moisture) {
        QStringList messages;
        if (ctx.lastCalc && ctx.lastCalc->finished()) {
            for (int i = before; i < afterCalc; ++i)
                messages.append(prompter.messages[i].text);
        }
        auto* moisture = static_cast<MoistureForm*>(app.form(QStringLiteral("frmVlaga")));
        extra.insert(QStringLiteral("moisture"), moistureJson(*moisture, messages));
        extraLines += moistureLines(*moisture);
    }

    bool stopped = !finished;
    if (!opt.airPath.isEmpty()) {
        QJsonObject air;
        try {
            air = readJsonObject(opt.airPath);
        } catch (const AppError& e) {
            err << "Ошибка: " << e.message() << "\n";
            return 2;
        }
        app.openWindow(QStringLiteral("frmPr"));
        auto* airForm = static_cast<AirLayerForm*>(app.form(QStringLiteral("frmPr")));
        try {
            applyWindowKeys(*airForm, air);
        } catch (const AppError& e) {
            err << "Ошибка: " << e.message() << "\n";
            return 2;
        }
        airForm->userClick(QStringLiteral("cmdSave"));
        if (!airForm->lastError().isEmpty())
            stopped = true;
        extra.insert(QStringLiteral("airlayer"), airLayerJson(*airForm));
        extraLines << QString();
        extraLines += airForm->report().resultLines();
    }

    if (!opt.outPath.isEmpty() && ctx.report.lineCount() > 0) {
        try {
            WriteCalcReport(opt.outPath, ctx.report, ctx.airLayerReportLines, prompter);
        } catch (const AppError& e) {
            err << "Ошибка: " << e.message() << "\n";
            return 1;
        }
    }

    if (opt.json) {
        QJsonObject o = calcJson(form, ctx.report, ctx.lastCalc, error);
        for (auto it = extra.begin(); it != extra.end(); ++it)
            o.insert(it.key(), it.value());
        out << QJsonDocument(o).toJson(QJsonDocument::Indented);
    } else {
        for (const QString& line : ctx.report.lines())
            out << line << "\n";
        for (const QString& line : extraLines)
            out << line << "\n";
    }
    out.flush();
    return stopped ? 1 : 0;
}

}  // namespace ogrado
