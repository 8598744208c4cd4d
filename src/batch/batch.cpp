#include "batch/batch.h"

#include "airlayer/airlayer_form.h"
#include "chart/chart_form.h"
#include "program/application.h"
#include "batch/batch_options.h"
#include "batch/batch_output.h"
#include "batch/case_file.h"
#include "common/app_error.h"
#include "common/number_text.h"
#include "common/version.h"
#include "library/stack_loading.h"
#include "moisture/moisture_form.h"
#include "refdata/ref_reader.h"
#include "tools/dew_point_form.h"
#include "tools/limits_form.h"
#include "tools/thickness_form.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

namespace ogrado {

namespace {

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

// "Точка росы" with the temperature and humidity typed in: entry 3 (E) and entry 2
// (the dew point) as the window shows them. Nothing computed is a failure here even
// where the window stays silent (a temperature outside its range).
int runDewPoint(Application& app, const BatchPrompter& prompter, const QStringList& values, bool json,
                QTextStream& out, QTextStream& err)
{
    auto& f = app.formAs<DewPointForm>();
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

int runBatch(const QStringList& args, QTextStream& out, QTextStream& err, const ChartForm::ImageWriter& chartWriter,
             const DocumentWriter& documentWriter)
{
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        out << kBatchUsage;
        return 0;
    }
    BatchOptions opt;
    try {
        opt = parseBatchOptions(args);
    } catch (const AppError& e) {
        err << e.message() << "\n" << kBatchUsage;
        return 2;
    }
    if (opt.version) {
        out << "ogrado_calc " << programVersion() << "\n";
        return 0;
    }

    // Drawing needs the graphical module, which ogrado_calc loads only for --chart.
    if (!opt.chartPath.isEmpty() && !chartWriter) {
        err << "Ошибка: график не может быть нарисован: модуль рисования графика не загружен. Установите программу заново.\n";
        return 2;
    }
    // The results file is only ever a regular file: a directory, a device or a pipe is
    // refused before anything runs.
    if (!opt.outPath.isEmpty()) {
        const QFileInfo target(opt.outPath);
        if (target.exists() && !target.isFile()) {
            err << "Ошибка: --out " << opt.outPath << ": "
                << (target.isDir() ? QStringLiteral("это каталог, а не файл")
                                   : QStringLiteral("это не обычный файл (устройство или канал)"))
                << "; отчет записывается только в обычный файл.\n";
            return 2;
        }
    }
    if ((!opt.pdfPath.isEmpty() || !opt.odtPath.isEmpty()) && !documentWriter) {
        err << "Ошибка: документ не может быть записан: модуль рисования не загружен. Установите программу заново.\n";
        return 2;
    }

    BatchPrompter prompter(err);
    BatchHost host;
    AppContext ctx(prompter);
    ctx.host = &host;
    try {
        // Without --data: the current directory, or else the data installed with the
        // program.
        const QString dataDir =
            !opt.dataDir.isEmpty()
                ? opt.dataDir
                : findReferenceData(QDir::currentPath(), installedDataDir(QCoreApplication::applicationDirPath()));
        ctx.settings = defaultDirectories(dataDir);
        ctx.tables = loadReferenceData(dataDir);
    } catch (const AppError& e) {
        err << "Ошибка: " << e.message() << "\n";
        if (opt.dataDir.isEmpty())
            err << "Каталог справочных данных можно указать параметром --data.\n";
        return 2;
    }
    Application app(ctx);
    MainForm& form = app.mainForm();
    std::optional<QJsonObject> caseAirLayer;
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
        if (!opt.casePath.isEmpty()) {
            const CaseInput input = readCaseFile(opt.casePath);
            try {
                applyCase(form, input.main);
            } catch (const AppError& e) {
                throw AppError(QStringLiteral("Вариант расчета \"%1\" не принят.\r%2")
                                   .arg(QDir::toNativeSeparators(opt.casePath), e.message()));
            }
            // a source-data file's air-gap inputs stand in for --airlayer
            caseAirLayer = input.airLayer;
        }
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
    // the messages after the main calculation's own are those of the moisture balance
    int afterCalc = before;
    QObject::connect(&form, &MainForm::calculationDone, &form,
                     [&] { afterCalc = int(prompter.messages.size()); });
    form.userClick(QStringLiteral("cmdOk"));

    // Objects the other windows add to the JSON output, and lines to the text output.
    QJsonObject extra;
    QStringList extraLines;
    bool windowsFinished = true;

    // "Варианты": the search over the given ranges, then "Добавить к результатам расчетов".
    if (opt.limits) {
        auto& limits = app.formAs<LimitsForm>();
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

    // "Подбор толщины слоя": the layer, the range or list, п. 9.1 always and the moisture
    // balance when the case ticks chkVlaga; then "Подобрать".
    if (opt.select) {
        auto& select = app.formAs<ThicknessForm>();
        host.showForm(select);
        const int layers = int(select.items(QStringLiteral("cboSloj")).size());
        const QString option = opt.selectList ? QStringLiteral("--select-list") : QStringLiteral("--select");
        if (opt.selectLayer > layers) {
            err << option << ": " << QStringLiteral("слоя №%1 нет среди слоев расчета (их %2).\n")
                                          .arg(opt.selectLayer)
                                          .arg(layers);
            return 2;
        }
        const QStringList& v = *opt.select;
        try {
            if (opt.selectList)
                thicknessList(v.mid(1).join(u';'));
            else
                thicknessRange(v[1], v[2], v[3]);
        } catch (const AppError& e) {
            err << option << ": " << e.message() << "\n";
            return 2;
        }
        select.userSelect(QStringLiteral("cboSloj"), opt.selectLayer - 1);
        select.userCheck(ThicknessForm::mode(opt.selectList ? 1 : 0), true);
        if (opt.selectList) {
            select.userEdit(QStringLiteral("txtSpisok"), v.mid(1).join(u';'));
        } else {
            select.userEdit(QStringLiteral("txtOt"), v[1]);
            select.userEdit(QStringLiteral("txtDo"), v[2]);
            select.userEdit(QStringLiteral("txtShag"), v[3]);
        }
        select.userCheck(ThicknessForm::criterion(1), true);
        select.userCheck(ThicknessForm::criterion(2), form.isChecked(QStringLiteral("chkVlaga")));
        const qsizetype selectBefore = prompter.messages.size();
        select.userClick(QStringLiteral("cmdPodbor"));
        const std::optional<ThicknessSelection>& result = select.selection();
        if (!result || result->answer < 0)
            windowsFinished = false;
        extra.insert(QStringLiteral("selection"), selectionJson(opt.selectLayer, result));
        QString selectError;
        if (!result && prompter.messages.size() > selectBefore)
            selectError = prompter.messages[selectBefore].text;
        extra.insert(QStringLiteral("selectionError"), selectError.isEmpty() ? QJsonValue() : QJsonValue(selectError));
        if (result && select.searchedCase()) {
            extraLines << QString();
            extraLines += thicknessSelectionLines(*select.searchedCase(), *result);
        }
    }

    // The last main calculation: the design case, also after a search over variants.
    QString error;
    if (ctx.lastCalc && ctx.lastCalc->error)
        error = ctx.lastCalc->error->text;
    else if (ctx.lastCalc && ctx.lastCalc->warning)
        error = ctx.lastCalc->warning->text;
    else if (!ctx.lastCalc && form.lastRefusal())
        error = form.lastRefusal()->text;
    bool finished = ctx.lastCalc && ctx.lastCalc->finished() && windowsFinished;

    if (opt.moisture) {
        QStringList messages;
        if (ctx.lastCalc && ctx.lastCalc->finished()) {
            for (qsizetype i = afterCalc; i < prompter.messages.size(); ++i)
                messages.append(prompter.messages[i].text);
        }
        auto* moisture = &app.formAs<MoistureForm>();
        extra.insert(QStringLiteral("moisture"), moistureJson(*moisture, messages));
        extraLines += moistureLines(*moisture);
        // refused (no mark, a bad climate value) or stopped: the run did not finish
        if (!moisture->lastRunCompleted())
            finished = false;
    }

    bool stopped = !finished;
    if (!opt.airPath.isEmpty() || caseAirLayer) {
        QJsonObject air;
        try {
            air = opt.airPath.isEmpty() ? *caseAirLayer : readJsonObject(opt.airPath);
        } catch (const AppError& e) {
            err << "Ошибка: " << e.message() << "\n";
            return 2;
        }
        app.openWindow(AirLayerForm::windowName());
        auto* airForm = &app.formAs<AirLayerForm>();
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

    // The chart of "Расчет", as the chart window shows it.
    if (!opt.chartPath.isEmpty()) {
        const auto* chart = &app.formAs<ChartForm>();
        if (!chart->chart()) {
            err << "Ошибка: график не записан. " << chart->text(QStringLiteral("lblHint")).replace(u'\n', u' ')
                << "\n";
            stopped = true;
        } else {
            try {
                chartWriter(*chart->chart(), opt.chartPath, opt.chartSize);
            } catch (const AppError& e) {
                err << "Ошибка: " << e.message() << "\n";
                return 1;
            }
        }
    }

    // The document of "Расчет", with the air-gap block when there is one (the question
    // about it is answered "OK", as for --out). A calculation that stopped gives none.
    const std::pair<DocumentFormat, QString> documents[] = {{DocumentFormat::Pdf, opt.pdfPath},
                                                            {DocumentFormat::Odt, opt.odtPath}};
    for (const auto& [format, path] : documents) {
        if (path.isEmpty())
            continue;
        if (!documentAvailable(ctx)) {
            err << "Ошибка: документ \"" << QDir::toNativeSeparators(path)
                << "\" не записан: расчет не завершен.\n";
            stopped = true;
            continue;
        }
        try {
            const CalcDocument document = calcDocumentOf(ctx, {opt.casePath, path}, true);
            documentWriter(document, format, path);
        } catch (const AppError& e) {
            err << "Ошибка: " << QString(e.message()).replace(u'\r', u'\n') << "\n";
            return 1;
        }
    }

    // Only a finished calculation replaces the results file; the old one stays otherwise.
    if (!opt.outPath.isEmpty()) {
        if (!ctx.lastCalc || !ctx.lastCalc->finished()) {
            err << "Файл " << opt.outPath << " не записан: расчет не завершен.\n";
        } else {
            try {
                WriteCalcReport(opt.outPath, ctx.report, ctx.airLayerReportLines, prompter);
            } catch (const AppError& e) {
                err << "Ошибка: " << QString(e.message()).replace(u'\r', u'\n') << "\n";
                return 1;
            }
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

int runBatchOnConsole(const ChartForm::ImageWriter& chartWriter, const DocumentWriter& documentWriter)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const int status = runBatch(args, out, err, chartWriter, documentWriter);
    out.flush();
    err.flush();
    return status;
}

}  // namespace ogrado
