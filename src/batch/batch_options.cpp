#include "batch/batch_options.h"

#include "chart/chart_form.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace ogrado {

const char* const kBatchUsage =
"Использование: ogrado_calc [--data КАТАЛОГ] [--json] [--out ФАЙЛ] [--dump-input]\n"
    "                           [--moisture] [--airlayer ФАЙЛ.json] [--stack ИМЯ]\n"
    "                           [--dewpoint \"T;ФИ\"] [--limits \"T1;T2;DT;F1;F2;DF\"]\n"
    "                           [--select \"СЛОЙ;ОТ;ДО;ШАГ\" | --select-list \"СЛОЙ;50;80;100\"]\n"
    "                           [--chart ФАЙЛ.png|ФАЙЛ.svg [--chart-size ШИРИНАxВЫСОТА]]\n"
    "                           [--pdf ФАЙЛ.pdf] [--odt ФАЙЛ.odt]\n"
    "                           [ВАРИАНТ.json | ФАЙЛ.isx]\n";

namespace {

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

// Why the parser refused the arguments, in the program's own words. The option is found
// in the arguments, not read from the parser's message, whose wording and quotes follow
// the Qt catalogue loaded. The parser stops at the first option that wants a value and
// has none (the last argument) or has one it does not take ("--json=1").
UsageError refusedArguments(const QCommandLineParser& parser, const QStringList& args,
                            const QList<QCommandLineOption>& options)
{
    if (!parser.unknownOptionNames().isEmpty())
        return UsageError(QStringLiteral("Неизвестный параметр --%1.").arg(parser.unknownOptionNames().first()));
    QStringList withValue;
    for (const QCommandLineOption& o : options) {
        if (!o.valueName().isEmpty())
            withValue += o.names();
    }
    for (qsizetype i = 0; i < args.size() && args[i] != QLatin1String("--"); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(u'-') || arg == QLatin1String("-"))
            continue;
        const qsizetype assign = arg.indexOf(u'=');
        const QString typed = arg.left(assign);
        QString name = typed;
        while (name.startsWith(u'-'))
            name.remove(0, 1);
        if (!withValue.contains(name) && assign >= 0)
            return UsageError(
                QStringLiteral("Параметр %1 не принимает значения: уберите «%2».").arg(typed, arg.mid(assign)));
        if (withValue.contains(name) && assign < 0 && ++i == args.size())
            return UsageError(QStringLiteral("После %1 нужно значение.").arg(typed));
    }
    return UsageError(parser.errorText());
}

// "1600x1000" (x, X, × or the Cyrillic х between the two numbers of pixels).
QSize chartSize(const QString& value)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{1,6})\\s*[xX×хХ]\\s*(\\d{1,6})\\s*$"));
    const QRegularExpressionMatch m = pattern.match(value);
    const int w = m.hasMatch() ? m.captured(1).toInt() : 0;
    const int h = m.hasMatch() ? m.captured(2).toInt() : 0;
    auto inRange = [](int v) { return v >= ChartForm::kMinSide && v <= ChartForm::kMaxSide; };
    if (!inRange(w) || !inRange(h))
        throw UsageError(QStringLiteral("--chart-size ждет ширину и высоту рисунка в пикселях от %1 до %2, "
                                        "например 1600x1000, получено «%3».")
                             .arg(ChartForm::kMinSide)
                             .arg(ChartForm::kMaxSide)
                             .arg(value));
    return {w, h};
}

// The same file, by its full name and, when it exists, through its links.
bool sameFile(const QString& a, const QString& b)
{
    const QFileInfo x(a);
    const QFileInfo y(b);
    if (x.absoluteFilePath() == y.absoluteFilePath())
        return true;
    return x.exists() && y.exists() && x.canonicalFilePath() == y.canonicalFilePath();
}

// Two outputs on one file would leave only the one written last, and an output on an
// input file would overwrite what the user typed: both are refused before anything runs.
void refuseSharedFiles(const BatchOptions& o)
{
    const QList<std::pair<QString, QString>> outputs = {{QStringLiteral("--out"), o.outPath},
                                                        {QStringLiteral("--pdf"), o.pdfPath},
                                                        {QStringLiteral("--odt"), o.odtPath},
                                                        {QStringLiteral("--chart"), o.chartPath}};
    const QList<std::pair<QString, QString>> inputs = {{QStringLiteral("файл варианта"), o.casePath},
                                                       {QStringLiteral("файл --airlayer"), o.airPath}};
    for (qsizetype i = 0; i < outputs.size(); ++i) {
        const auto& [option, path] = outputs[i];
        if (path.isEmpty())
            continue;
        for (qsizetype k = i + 1; k < outputs.size(); ++k) {
            if (!outputs[k].second.isEmpty() && sameFile(path, outputs[k].second))
                throw UsageError(QStringLiteral("%1 и %2 указывают один и тот же файл «%3». Укажите разные файлы.")
                                     .arg(option, outputs[k].first, path));
        }
        for (const auto& [what, input] : inputs) {
            if (!input.isEmpty() && sameFile(path, input))
                throw UsageError(QStringLiteral("%1 указывает на %2 «%3»: он был бы перезаписан. Укажите другой "
                                                "файл.")
                                     .arg(option, what, path));
        }
    }
}

// --select "ROW;FROM;TO;STEP" or --select-list "ROW;50;80;100": the layer and its
// thicknesses.
void readSelection(const QCommandLineParser& parser, const QCommandLineOption& select,
                   const QCommandLineOption& selectList, BatchOptions& o)
{
    if (parser.isSet(select) && parser.isSet(selectList))
        throw UsageError(QStringLiteral("--select и --select-list вместе не задаются: выберите одно."));
    if (parser.isSet(select)) {
        o.select = fields(QStringLiteral("--select"), parser.value(select), 4);
    } else if (parser.isSet(selectList)) {
        QStringList f;
        for (const QString& v : parser.value(selectList).split(u';'))
            f.append(v.trimmed());
        if (f.size() < 2 || f.mid(1).join(QString()).isEmpty())
            throw UsageError(QStringLiteral("--select-list ждет номер слоя и толщины через «;», например "
                                            "«3;50;80;100»: получено «%1».")
                                 .arg(parser.value(selectList)));
        o.select = f;
        o.selectList = true;
    }
    if (o.select) {
        const QString option = o.selectList ? QStringLiteral("--select-list") : QStringLiteral("--select");
        bool ok = false;
        o.selectLayer = o.select->first().toInt(&ok);
        if (!ok || o.selectLayer < 1)
            throw UsageError(QStringLiteral("%1: номер слоя «%2» должен быть целым числом от 1.")
                                 .arg(option, o.select->first()));
    }
}

}  // namespace

BatchOptions parseBatchOptions(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption data(QStringLiteral("data"), {}, QStringLiteral("dir"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption out(QStringLiteral("out"), {}, QStringLiteral("file"));
    const QCommandLineOption dumpInput(QStringLiteral("dump-input"));
    const QCommandLineOption moisture(QStringLiteral("moisture"));
    const QCommandLineOption airlayer(QStringLiteral("airlayer"), {}, QStringLiteral("file"));
    const QCommandLineOption stack(QStringLiteral("stack"), {}, QStringLiteral("name"));
    const QCommandLineOption dewpoint(QStringLiteral("dewpoint"), {}, QStringLiteral("values"));
    const QCommandLineOption limits(QStringLiteral("limits"), {}, QStringLiteral("values"));
    const QCommandLineOption select(QStringLiteral("select"), {}, QStringLiteral("values"));
    const QCommandLineOption selectList(QStringLiteral("select-list"), {}, QStringLiteral("values"));
    const QCommandLineOption chart(QStringLiteral("chart"), {}, QStringLiteral("file"));
    const QCommandLineOption chartSizeOption(QStringLiteral("chart-size"), {}, QStringLiteral("size"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), {}, QStringLiteral("file"));
    const QCommandLineOption odt(QStringLiteral("odt"), {}, QStringLiteral("file"));
    const QList<QCommandLineOption> options = {version, data, json, out, dumpInput, moisture, airlayer, stack,
                                               dewpoint, limits, select, selectList, chart, chartSizeOption,
                                               pdf, odt};
    parser.addOptions(options);

    // The parser takes the program name first.
    if (!parser.parse(QStringList{QStringLiteral("ogrado_calc")} + args))
        throw refusedArguments(parser, args, options);

    BatchOptions o;
    o.version = parser.isSet(version);
    o.dataDir = parser.value(data);
    o.json = parser.isSet(json);
    o.outPath = parser.value(out);
    o.dumpInput = parser.isSet(dumpInput);
    o.moisture = parser.isSet(moisture);
    o.airPath = parser.value(airlayer);
    o.stack = parser.value(stack);
    if (parser.isSet(dewpoint))
        o.dewpoint = fields(QStringLiteral("--dewpoint"), parser.value(dewpoint), 2);
    if (parser.isSet(limits))
        o.limits = fields(QStringLiteral("--limits"), parser.value(limits), 6);
    readSelection(parser, select, selectList, o);
    if (parser.isSet(chart)) {
        o.chartPath = parser.value(chart);
        const QString suffix = QFileInfo(o.chartPath).suffix().toLower();
        if (suffix != u"png" && suffix != u"svg")
            throw UsageError(QStringLiteral("--chart ждет имя файла с расширением .png или .svg, получено «%1».")
                                 .arg(o.chartPath));
        if (o.dewpoint || o.dumpInput)
            throw UsageError(QStringLiteral("--chart рисует график расчета: он не сочетается с %1.")
                                 .arg(o.dewpoint ? QStringLiteral("--dewpoint") : QStringLiteral("--dump-input")));
    }
    if (parser.isSet(chartSizeOption)) {
        if (!parser.isSet(chart))
            throw UsageError(QStringLiteral("--chart-size задается вместе с --chart."));
        o.chartSize = chartSize(parser.value(chartSizeOption));
    }
    // The document of "Расчет": any file name, the option gives the format.
    for (const auto& [option, path] : {std::pair{&pdf, &o.pdfPath}, std::pair{&odt, &o.odtPath}}) {
        if (!parser.isSet(*option))
            continue;
        const QString name = QStringLiteral("--") + option->names().first();
        *path = parser.value(*option);
        if (path->trimmed().isEmpty() || QFileInfo(*path).fileName().isEmpty())
            throw UsageError(QStringLiteral("%1 ждет имя файла документа, получено «%2».").arg(name, *path));
        if (o.dewpoint || o.dumpInput)
            throw UsageError(QStringLiteral("%1 записывает документ расчета: он не сочетается с %2.")
                                 .arg(name, o.dewpoint ? QStringLiteral("--dewpoint") : QStringLiteral("--dump-input")));
    }
    const QStringList positional = parser.positionalArguments();
    if (!positional.isEmpty())
        o.casePath = positional.first();
    if (positional.size() > 1)
        throw UsageError(QStringLiteral("Лишний параметр %1.").arg(positional[1]));
    refuseSharedFiles(o);
    return o;
}

bool wantsDrawing(const QStringList& args)
{
    for (const QString& a : args) {
        for (const char* option : {"chart", "pdf", "odt"}) {
            const QString name = QLatin1String(option);
            for (const QString& dashes : {QStringLiteral("--"), QStringLiteral("-")}) {
                if (a == dashes + name || a.startsWith(dashes + name + u'='))
                    return true;
            }
        }
    }
    return false;
}

}  // namespace ogrado
