// SPDX-License-Identifier: GPL-3.0-or-later
// The steps of ogrado_calc, one per option, and their order.
#include "batch/batch_step.h"

#include "airlayer/airlayer_form.h"
#include "batch/batch_output.h"
#include "batch/case_file.h"
#include "common/number_text.h"
#include "common/version.h"
#include "library/layer_stack_library.h"
#include "library/stack_loading.h"
#include "moisture/moisture_form.h"
#include "tools/dew_point_form.h"
#include "tools/limits_form.h"
#include "tools/thickness_form.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTextStream>

namespace ogrado {

namespace {

// Why an output is not written when a step after the main calculation stopped (an air
// gap or a moisture balance refused, no thickness found): a run that did not finish
// everything asked for creates and replaces no file.
const char* const kNotAllFinished = "не все заданные расчеты завершены.";

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

// A step of one option: given or not, and its value.
class OptionStep : public BatchStep {
public:
    QList<QCommandLineOption> options() const override { return {option_}; }
    bool isSet() const override { return set_; }
    void read(const QCommandLineParser& parser, BatchRun& run) override
    {
        set_ = parser.isSet(option_);
        if (set_)
            readValue(parser.value(option_), run);
    }

protected:
    // A flag, or an option with a value when `valueName` is given.
    explicit OptionStep(const QString& name, const QString& valueName = {}) : option_(name, {}, valueName) {}
    // "--name", as messages write the option.
    QString flag() const { return QStringLiteral("--") + option_.names().constFirst(); }
    // Takes and checks the value of the given option; throws UsageError.
    virtual void readValue(const QString& value, BatchRun& run)
    {
        Q_UNUSED(value);
        Q_UNUSED(run);
    }

private:
    QCommandLineOption option_;
    bool set_ = false;
};

// --version: the program's version, and nothing runs.
class VersionStep : public OptionStep {
public:
    VersionStep() : OptionStep(QStringLiteral("version")) {}
    void beforeRun(BatchRun& run) override
    {
        if (!isSet())
            return;
        run.out << "ogrado_calc " << programVersion() << "\n";
        throw BatchExit{0};
    }
};

// --data DIR: the reference data; without it the current directory or the data
// installed with the program (the run loads it).
class DataStep : public OptionStep {
public:
    DataStep() : OptionStep(QStringLiteral("data"), QStringLiteral("dir")) {}
    void readValue(const QString& value, BatchRun& run) override { run.dataDir = value; }
};

// --json: the output as a JSON object instead of the report's lines.
class JsonStep : public OptionStep {
public:
    JsonStep() : OptionStep(QStringLiteral("json")) {}
    void readValue(const QString&, BatchRun& run) override { run.json = true; }
};

// --out FILE: the results file of "Расчет", as "Сохранить" writes it.
class OutStep : public OptionStep {
public:
    OutStep() : OptionStep(QStringLiteral("out"), QStringLiteral("file")) {}
    void readValue(const QString& value, BatchRun&) override { path_ = value; }
    QList<NamedFile> outputs() const override { return {{flag(), path_}}; }

    // The results file is only ever a regular file: a directory, a device or a pipe is
    // refused before anything runs.
    void beforeRun(BatchRun& run) override
    {
        const QFileInfo target(path_);
        if (path_.isEmpty() || !target.exists() || target.isFile())
            return;
        run.err << "Ошибка: --out " << path_ << ": "
                << (target.isDir() ? QStringLiteral("это каталог, а не файл")
                                   : QStringLiteral("это не обычный файл (устройство или канал)"))
                << "; отчет записывается только в обычный файл.\n";
        throw BatchExit{2};
    }

    // Only a finished calculation replaces the results file; the old one stays otherwise.
    void writeResults(BatchRun& run) override
    {
        if (path_.isEmpty())
            return;
        if (!run.calculationFinished()) {
            run.err << "Файл " << path_ << " не записан: расчет не завершен.\n";
            return;
        }
        if (run.stopped) {
            run.err << "Файл " << path_ << " не записан: " << kNotAllFinished << "\n";
            return;
        }
        try {
            WriteCalcReport(path_, run.ctx.reportBlocks, run.prompter);
        } catch (const AppError& e) {
            stopWithError(run, 1, e);
        }
    }

private:
    QString path_;
};

// --dewpoint "T;ФИ": "Точка росы" with the temperature and humidity typed in, instead of
// the calculation.
class DewPointStep : public OptionStep {
public:
    DewPointStep() : OptionStep(QStringLiteral("dewpoint"), QStringLiteral("values")) {}
    void readValue(const QString& value, BatchRun&) override { values_ = fields(flag(), value, 2); }
    void input(BatchRun& run) override
    {
        if (isSet())
            throw BatchExit{answer(run)};
    }

private:
    // Entry 3 (E) and entry 2 (the dew point) as the window shows them. Nothing computed
    // is a failure here even where the window stays silent (a temperature outside its
    // range).
    int answer(BatchRun& run) const
    {
        auto& f = run.app->formAs<DewPointForm>();
        f.loadForm();
        f.userEdit(DewPointForm::entry(DewPointForm::kTemperature), values_[0]);
        f.userEdit(DewPointForm::entry(DewPointForm::kHumidity), values_[1]);
        const qsizetype before = run.prompter.messages.size();
        f.userClick(QStringLiteral("cmdOk"));
        const QString pressure = f.text(DewPointForm::entry(DewPointForm::kPressure));
        const QString dewPoint = f.text(DewPointForm::entry(DewPointForm::kDewPoint));
        const bool silent = run.prompter.messages.size() == before;
        if (silent && dewPoint.isEmpty())
            run.err << QStringLiteral("Точка росы не рассчитана: температура воздуха должна быть задана в пределах от "
                                      "%1 до %2 °С.\n")
                           .arg(generalText(DewPointForm::kLowestTemperature),
                                generalText(DewPointForm::kHighestTemperature));
        if (run.json) {
            const QJsonObject o{{"dewpoint", QJsonObject{{"E", pressure}, {"tDew", dewPoint}}}};
            run.out << QJsonDocument(o).toJson(QJsonDocument::Indented);
        } else {
            run.out << pressure << "\n" << dewPoint << "\n";
        }
        run.out.flush();
        return silent && !dewPoint.isEmpty() ? 0 : 1;
    }

    QStringList values_;
};

// --stack NAME: a stored layer stack goes into the grid first, as "Загрузить" puts it
// there; the case file's keys then change what they name.
class StackStep : public OptionStep {
public:
    StackStep() : OptionStep(QStringLiteral("stack"), QStringLiteral("name")) {}
    void readValue(const QString& value, BatchRun&) override { name_ = value; }
    void input(BatchRun& run) override
    {
        if (name_.isEmpty())
            return;
        try {
            const QString path = libraryFilePath(run.ctx.settings.dataDir);
            const LayerStackLibrary library = LoadLibraryFile(path);
            const int k = library.find(name_);
            if (k == 0)
                throw AppError(QStringLiteral("В библиотеке пирожков \"%1\" нет пирожка «%2».")
                                   .arg(QDir::toNativeSeparators(path), name_.trimmed()));
            LoadStackIntoTable(run.mainForm(), library.stack(k), StackLoad::Full);
        } catch (const AppError& e) {
            stopWithError(run, 2, e);
        }
    }

private:
    QString name_;
};

// --limits "T1;T2;DT;F1;F2;DF": "Варианты", the search over the given ranges, then
// "Добавить к результатам расчетов".
class LimitsStep : public OptionStep {
public:
    LimitsStep() : OptionStep(QStringLiteral("limits"), QStringLiteral("values")) {}
    void readValue(const QString& value, BatchRun&) override { values_ = fields(flag(), value, 6); }
    void afterCalc(BatchRun& run) override
    {
        if (!isSet())
            return;
        auto& limits = run.app->formAs<LimitsForm>();
        run.host.showForm(limits);
        for (int k = 0; k < 3; ++k) {
            limits.userEdit(LimitsForm::temperatureEntry(k), values_[k]);
            limits.userEdit(LimitsForm::humidityEntry(k), values_[3 + k]);
        }
        const qsizetype before = run.prompter.messages.size();
        limits.userClick(QStringLiteral("cvdOk"));
        if (limits.lastSearchCompleted())
            limits.userClick(QStringLiteral("cmdSave"));
        else
            run.stopped = true;
        QJsonArray rows;
        for (const LimitsRow& r : limits.rows()) {
            const LimitsRowText text = limitsRowText(r);
            rows.append(QJsonArray{text.t, text.from, text.to});
        }
        run.extra.insert(QStringLiteral("limits"), rows);
        run.extra.insert(QStringLiteral("limitsError"), run.prompter.messages.size() > before
                                                            ? QJsonValue(run.prompter.messages[before].text)
                                                            : QJsonValue());
    }

private:
    QStringList values_;
};

// --select "СЛОЙ;ОТ;ДО;ШАГ" or --select-list "СЛОЙ;50;80;100": "Подбор толщины слоя" over
// a range or a list of thicknesses, with п. 9.1 always and the moisture balance when the
// case ticks chkVlaga.
class SelectStep : public BatchStep {
public:
    QList<QCommandLineOption> options() const override { return {range_, list_}; }
    bool isSet() const override { return values_.has_value(); }
    void read(const QCommandLineParser& parser, BatchRun&) override
    {
        if (parser.isSet(range_) && parser.isSet(list_))
            throw UsageError(QStringLiteral("--select и --select-list вместе не задаются: выберите одно."));
        if (parser.isSet(range_))
            values_ = fields(QStringLiteral("--select"), parser.value(range_), 4);
        else if (parser.isSet(list_))
            values_ = listValues(parser.value(list_));
        if (!values_)
            return;
        bool ok = false;
        layer_ = values_->first().toInt(&ok);
        if (!ok || layer_ < 1)
            throw UsageError(QStringLiteral("%1: номер слоя «%2» должен быть целым числом от 1.")
                                 .arg(option(), values_->first()));
    }
    void afterCalc(BatchRun& run) override;

private:
    QStringList listValues(const QString& value)
    {
        QStringList f;
        for (const QString& v : value.split(u';'))
            f.append(v.trimmed());
        if (f.size() < 2 || f.mid(1).join(QString()).isEmpty())
            throw UsageError(QStringLiteral("--select-list ждет номер слоя и толщины через «;», например "
                                            "«3;50;80;100»: получено «%1».")
                                 .arg(value));
        byList_ = true;
        return f;
    }
    QString option() const { return byList_ ? QStringLiteral("--select-list") : QStringLiteral("--select"); }
    // Refuses a layer the calculation does not have and thicknesses the window would
    // refuse, as a wrong command line (exit status 2).
    void check(BatchRun& run, int layers) const;
    // Types the layer, the range or list and the criteria into the window.
    void fill(ThicknessForm& select, bool moisture) const;

    const QCommandLineOption range_{QStringLiteral("select"), {}, QStringLiteral("values")};
    const QCommandLineOption list_{QStringLiteral("select-list"), {}, QStringLiteral("values")};
    std::optional<QStringList> values_;  // ROW, FROM, TO, STEP or ROW, thicknesses…
    bool byList_ = false;
    int layer_ = 0;  // ROW: the layer's number in the collected table
};

void SelectStep::check(BatchRun& run, int layers) const
{
    if (layer_ > layers) {
        run.err << option() << ": "
                << QStringLiteral("слоя №%1 нет среди слоев расчета (их %2).\n").arg(layer_).arg(layers);
        throw BatchExit{2};
    }
    try {
        if (byList_)
            thicknessList(values_->mid(1).join(u';'));
        else
            thicknessRange((*values_)[1], (*values_)[2], (*values_)[3]);
    } catch (const AppError& e) {
        run.err << option() << ": " << e.message() << "\n";
        throw BatchExit{2};
    }
}

void SelectStep::fill(ThicknessForm& select, bool moisture) const
{
    const QStringList& v = *values_;
    select.userSelect(QStringLiteral("cboSloj"), layer_ - 1);
    select.userCheck(ThicknessForm::mode(byList_ ? 1 : 0), true);
    if (byList_) {
        select.userEdit(QStringLiteral("txtSpisok"), v.mid(1).join(u';'));
    } else {
        select.userEdit(QStringLiteral("txtOt"), v[1]);
        select.userEdit(QStringLiteral("txtDo"), v[2]);
        select.userEdit(QStringLiteral("txtShag"), v[3]);
    }
    select.userCheck(ThicknessForm::criterion(1), true);
    select.userCheck(ThicknessForm::criterion(2), moisture);
}

void SelectStep::afterCalc(BatchRun& run)
{
    if (!isSet())
        return;
    auto& select = run.app->formAs<ThicknessForm>();
    run.host.showForm(select);
    check(run, int(select.items(QStringLiteral("cboSloj")).size()));
    fill(select, run.mainForm().isChecked(QStringLiteral("chkVlaga")));
    const qsizetype before = run.prompter.messages.size();
    select.userClick(QStringLiteral("cmdPodbor"));
    const std::optional<ThicknessSelection>& result = select.selection();
    if (!result || result->answer < 0)
        run.stopped = true;
    run.extra.insert(QStringLiteral("selection"), selectionJson(layer_, result));
    QString error;
    if (!result && run.prompter.messages.size() > before)
        error = run.prompter.messages[before].text;
    run.extra.insert(QStringLiteral("selectionError"), error.isEmpty() ? QJsonValue() : QJsonValue(error));
    if (result && select.searchedCase()) {
        run.extraLines << QString();
        run.extraLines += thicknessSelectionLines(*select.searchedCase(), *result);
    }
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

// --chart FILE.png|FILE.svg: the chart of "Расчет", as the chart window shows it.
class ChartStep : public OptionStep {
public:
    ChartStep() : OptionStep(QStringLiteral("chart"), QStringLiteral("file")) {}
    void readValue(const QString& value, BatchRun&) override
    {
        path_ = value;
        const QString suffix = QFileInfo(path_).suffix().toLower();
        if (suffix != u"png" && suffix != u"svg")
            throw UsageError(
                QStringLiteral("--chart ждет имя файла с расширением .png или .svg, получено «%1».").arg(path_));
    }
    QStringList notCombinedWith() const override { return {QStringLiteral("dewpoint"), QStringLiteral("dump-input")}; }
    QString combinationRefusal(const QString& other) const override
    {
        return QStringLiteral("--chart рисует график расчета: он не сочетается с %1.").arg(other);
    }
    QStringList drawingOptions() const override { return {QStringLiteral("chart")}; }
    QList<NamedFile> outputs() const override { return {{flag(), path_}}; }

    // Drawing needs the graphical module, which ogrado_calc loads only for --chart.
    void beforeRun(BatchRun& run) override
    {
        if (path_.isEmpty() || run.chartWriter)
            return;
        run.err << "Ошибка: график не может быть нарисован: модуль рисования графика не загружен. Установите "
                   "программу заново.\n";
        throw BatchExit{2};
    }
    void write(BatchRun& run) override
    {
        if (path_.isEmpty())
            return;
        const auto& chart = run.app->formAs<ChartForm>();
        if (!chart.chart()) {
            run.err << "Ошибка: график не записан. " << chart.text(QStringLiteral("lblHint")).replace(u'\n', u' ')
                    << "\n";
            run.stopped = true;
            return;
        }
        if (run.stopped) {
            run.err << "Ошибка: график \"" << QDir::toNativeSeparators(path_) << "\" не записан: " << kNotAllFinished
                    << "\n";
            return;
        }
        try {
            run.chartWriter(*chart.chart(), path_, run.chartSize);
        } catch (const AppError& e) {
            stopWithError(run, 1, e);
        }
    }

private:
    QString path_;
};

// --chart-size WIDTHxHEIGHT: the size of the --chart picture in pixels.
class ChartSizeStep : public OptionStep {
public:
    ChartSizeStep() : OptionStep(QStringLiteral("chart-size"), QStringLiteral("size")) {}
    void read(const QCommandLineParser& parser, BatchRun& run) override
    {
        if (parser.isSet(QStringLiteral("chart-size")) && !parser.isSet(QStringLiteral("chart")))
            throw UsageError(QStringLiteral("--chart-size задается вместе с --chart."));
        OptionStep::read(parser, run);
    }
    void readValue(const QString& value, BatchRun& run) override { run.chartSize = chartSize(value); }
};

// --pdf FILE, --odt FILE: the document of "Расчет", with every block of the report that
// has lines (the question about each is answered "OK", as for --out). Any file name: the option
// gives the format.
class DocumentStep : public OptionStep {
public:
    DocumentStep(DocumentFormat format, const QString& name)
        : OptionStep(name, QStringLiteral("file")), format_(format)
    {
    }
    void readValue(const QString& value, BatchRun&) override
    {
        path_ = value;
        if (path_.trimmed().isEmpty() || QFileInfo(path_).fileName().isEmpty())
            throw UsageError(QStringLiteral("%1 ждет имя файла документа, получено «%2».").arg(flag(), path_));
    }
    QStringList notCombinedWith() const override { return {QStringLiteral("dewpoint"), QStringLiteral("dump-input")}; }
    QString combinationRefusal(const QString& other) const override
    {
        return QStringLiteral("%1 записывает документ расчета: он не сочетается с %2.").arg(flag(), other);
    }
    QStringList drawingOptions() const override { return {options().constFirst().names().constFirst()}; }
    QList<NamedFile> outputs() const override { return {{flag(), path_}}; }

    void beforeRun(BatchRun& run) override
    {
        if (path_.isEmpty() || run.documentWriter)
            return;
        run.err << "Ошибка: документ не может быть записан: модуль рисования не загружен. Установите программу "
                   "заново.\n";
        throw BatchExit{2};
    }
    // A calculation that stopped gives no document.
    void write(BatchRun& run) override
    {
        if (path_.isEmpty())
            return;
        if (!documentAvailable(run.ctx)) {
            run.err << "Ошибка: документ \"" << QDir::toNativeSeparators(path_)
                    << "\" не записан: расчет не завершен.\n";
            run.stopped = true;
            return;
        }
        if (run.stopped) {
            run.err << "Ошибка: документ \"" << QDir::toNativeSeparators(path_) << "\" не записан: " << kNotAllFinished
                    << "\n";
            return;
        }
        try {
            const CalcDocument document = calcDocumentOf(run.ctx, {run.casePath, path_}, everyReportBlock());
            run.documentWriter(document, format_, path_);
        } catch (const AppError& e) {
            stopWithError(run, 1, e);
        }
    }

private:
    DocumentFormat format_;
    QString path_;
};

// ВАРИАНТ.json | ФАЙЛ.isx: the case, the main window's control names with their values.
class CaseStep : public BatchStep {
public:
    bool isSet() const override { return !path_.isEmpty(); }
    void read(const QCommandLineParser& parser, BatchRun& run) override
    {
        const QStringList positional = parser.positionalArguments();
        if (!positional.isEmpty())
            path_ = run.casePath = positional.first();
        if (positional.size() > 1)
            throw UsageError(QStringLiteral("Лишний параметр %1.").arg(positional[1]));
    }
    QList<NamedFile> inputs() const override { return {{QStringLiteral("файл варианта"), path_}}; }
    void input(BatchRun& run) override
    {
        if (path_.isEmpty())
            return;
        try {
            const CaseInput input = readCaseFile(path_);
            try {
                applyCase(run.mainForm(), input.main);
            } catch (const AppError& e) {
                throw AppError(QStringLiteral("Вариант расчета \"%1\" не принят.\r%2")
                                   .arg(QDir::toNativeSeparators(path_), e.message()));
            }
            // a source-data file's air-gap inputs stand in for --airlayer
            run.caseAirLayer = input.airLayer;
        } catch (const AppError& e) {
            stopWithError(run, 2, e);
        }
    }

private:
    QString path_;
};

// --dump-input: the collected input table instead of the calculation.
class DumpInputStep : public OptionStep {
public:
    DumpInputStep() : OptionStep(QStringLiteral("dump-input")) {}
    void input(BatchRun& run) override
    {
        if (!isSet())
            return;
        run.mainForm().collectInput();
        if (run.json)
            run.out << QJsonDocument(layerTableJson(run.ctx.layerTable)).toJson(QJsonDocument::Indented);
        else
            printLayerTable(run.ctx.layerTable, run.out);
        throw BatchExit{0};
    }
};

// --moisture: "Расчет" with the monthly moisture balance, and its month table.
class MoistureStep : public OptionStep {
public:
    MoistureStep() : OptionStep(QStringLiteral("moisture")) {}
    void input(BatchRun& run) override
    {
        if (isSet() && !run.mainForm().isChecked(QStringLiteral("chkVlaga")))
            run.mainForm().userCheck(QStringLiteral("chkVlaga"), true);
    }
    void afterCalc(BatchRun& run) override
    {
        if (!isSet())
            return;
        // the messages after the main calculation's own are those of the moisture balance
        QStringList messages;
        if (run.calculationFinished()) {
            for (qsizetype i = run.afterCalc; i < run.prompter.messages.size(); ++i)
                messages.append(run.prompter.messages[i].text);
        }
        const auto& moisture = run.app->formAs<MoistureForm>();
        run.extra.insert(QStringLiteral("moisture"), moistureJson(moisture, messages));
        run.extraLines += moistureLines(moisture);
        // refused (no mark, a bad climate value) or stopped: the run did not finish
        if (!moisture.lastRunCompleted())
            run.stopped = true;
    }
};

// --airlayer FILE.json: the air-gap window with the file's keys, then "Рассчитать и
// сохранить"; a source-data file's air-gap inputs stand in for it.
class AirLayerStep : public OptionStep {
public:
    AirLayerStep() : OptionStep(QStringLiteral("airlayer"), QStringLiteral("file")) {}
    void readValue(const QString& value, BatchRun&) override { path_ = value; }
    QList<NamedFile> inputs() const override { return {{QStringLiteral("файл --airlayer"), path_}}; }
    void afterCalc(BatchRun& run) override
    {
        if (path_.isEmpty() && !run.caseAirLayer)
            return;
        QJsonObject keys;
        try {
            keys = path_.isEmpty() ? *run.caseAirLayer : readJsonObject(path_);
        } catch (const AppError& e) {
            stopWithError(run, 2, e);
        }
        run.app->openWindow(AirLayerForm::windowName());
        auto& air = run.app->formAs<AirLayerForm>();
        try {
            applyWindowKeys(air, keys);
        } catch (const AppError& e) {
            stopWithError(run, 2, e);
        }
        air.userClick(QStringLiteral("cmdSave"));
        if (!air.lastError().isEmpty())
            run.stopped = true;
        run.extra.insert(QStringLiteral("airlayer"), airLayerJson(air));
        run.extraLines << QString();
        run.extraLines += air.report().resultLines();
    }

private:
    QString path_;
};

}  // namespace

void stopWithError(BatchRun& run, int status, const AppError& e)
{
    // A message's line breaks are CR, which a terminal would print over one line.
    run.err << "Ошибка: " << QString(e.message()).replace(u'\r', u'\n') << "\n";
    throw BatchExit{status};
}

// A new option is one step here. The order is that of a run: each stage (reading the
// command line, the checks before the run, the input, the windows after "Расчет", the
// files) goes through the steps in this order.
BatchSteps batchSteps()
{
    BatchSteps steps;
    steps.push_back(std::make_unique<VersionStep>());
    steps.push_back(std::make_unique<DataStep>());
    steps.push_back(std::make_unique<JsonStep>());
    steps.push_back(std::make_unique<OutStep>());
    steps.push_back(std::make_unique<DewPointStep>());
    steps.push_back(std::make_unique<StackStep>());
    steps.push_back(std::make_unique<LimitsStep>());
    steps.push_back(std::make_unique<SelectStep>());
    steps.push_back(std::make_unique<ChartStep>());
    steps.push_back(std::make_unique<ChartSizeStep>());
    steps.push_back(std::make_unique<DocumentStep>(DocumentFormat::Pdf, QStringLiteral("pdf")));
    steps.push_back(std::make_unique<DocumentStep>(DocumentFormat::Odt, QStringLiteral("odt")));
    steps.push_back(std::make_unique<CaseStep>());
    steps.push_back(std::make_unique<DumpInputStep>());
    steps.push_back(std::make_unique<MoistureStep>());
    steps.push_back(std::make_unique<AirLayerStep>());
    return steps;
}

}  // namespace ogrado
