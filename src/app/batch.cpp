#include "app/batch.h"

#include "app/application.h"
#include "common/app_error.h"
#include "common/number_text.h"
#include "library/layer_stack_library.h"
#include "refdata/ref_reader.h"

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
    std::optional<QString> dewpoint;
    std::optional<QString> limits;
};

class UsageError : public AppError {
public:
    using AppError::AppError;
};

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
            o.dewpoint = value();
        else if (a == u"--limits")
            o.limits = value();
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

    // What "Расчет" runs.
    const int before = int(prompter.messages.size());
    form.userClick(QStringLiteral("cmdOk"));
    QString error;
    if (ctx.lastCalc && ctx.lastCalc->error)
        error = ctx.lastCalc->error->text;
    else if (ctx.lastCalc && ctx.lastCalc->warning)
        error = ctx.lastCalc->warning->text;
    else if (!ctx.lastCalc && prompter.messages.size() > before)
        error = prompter.messages[before].text;
    const bool finished = ctx.lastCalc && ctx.lastCalc->finished();

    // Objects the other windows add to the JSON output, and lines to the text output.
    QJsonObject extra;
    QStringList extraLines;

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
    return finished ? 0 : 1;
}

}  // namespace ogrado
