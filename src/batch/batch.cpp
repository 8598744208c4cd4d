#include "batch/batch.h"

#include "batch/batch_options.h"
#include "batch/batch_output.h"
#include "batch/batch_step.h"
#include "common/app_error.h"
#include "refdata/ref_reader.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QTextStream>

namespace ogrado {

MessageAnswer BatchPrompter::message(const QString& text, const QString& title, MessageIcon, MessageButtons buttons)
{
    messages.append({text, title});
    QString shown = text;
    shown.replace(u'\r', u'\n');
    err_ << title << ": " << shown.trimmed() << "\n";
    err_.flush();
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

BatchRun::BatchRun(QTextStream& out, QTextStream& err, const ChartForm::ImageWriter& chartWriter,
                   const DocumentWriter& documentWriter)
    : out(out), err(err), chartWriter(chartWriter), documentWriter(documentWriter), prompter(err), ctx(prompter)
{
    ctx.host = &host;
}

BatchRun::~BatchRun() = default;

namespace {

// Runs one stage of every step, in the steps' order.
void runStage(const BatchSteps& steps, void (BatchStep::*stage)(BatchRun&), BatchRun& run)
{
    for (const auto& step : steps)
        ((*step).*stage)(run);
}

// The program on the reference data, its main window loaded. Without --data: the
// current directory, or else the data installed with the program.
void startProgram(BatchRun& run)
{
    try {
        const QString dataDir =
            !run.dataDir.isEmpty()
                ? run.dataDir
                : findReferenceData(QDir::currentPath(), installedDataDir(QCoreApplication::applicationDirPath()));
        run.ctx.settings = defaultDirectories(dataDir);
        run.ctx.tables = loadReferenceData(dataDir);
    } catch (const AppError& e) {
        run.err << "Ошибка: " << QString(e.message()).replace(u'\r', u'\n') << "\n";
        if (run.dataDir.isEmpty())
            run.err << "Каталог справочных данных можно указать параметром --data.\n";
        throw BatchExit{2};
    }
    run.app = std::make_unique<Application>(run.ctx);
    run.mainForm().loadForm();
}

// What "Расчет" runs (with the monthly moisture balance when the input asks for it).
void calculate(BatchRun& run)
{
    MainForm& form = run.mainForm();
    // the messages after the main calculation's own are those of the moisture balance
    run.afterCalc = int(run.prompter.messages.size());
    QObject::connect(&form, &MainForm::calculationDone, &form,
                     [&run] { run.afterCalc = int(run.prompter.messages.size()); });
    form.userClick(QStringLiteral("cmdOk"));
}

// The report of the last main calculation (the design case, also after a search over
// variants) and what the other windows added: JSON or the report's lines.
void printResults(BatchRun& run)
{
    const AppContext& ctx = run.ctx;
    if (run.json) {
        QString error;
        if (ctx.lastCalc && ctx.lastCalc->error)
            error = ctx.lastCalc->error->text;
        else if (ctx.lastCalc && ctx.lastCalc->warning)
            error = ctx.lastCalc->warning->text;
        else if (!ctx.lastCalc && run.mainForm().lastRefusal())
            error = run.mainForm().lastRefusal()->text;
        QJsonObject o = calcJson(run.mainForm(), ctx.report, ctx.lastCalc, error);
        o.insert("provenance", provenanceJson(ctx.calcReferences()));
        for (auto it = run.extra.begin(); it != run.extra.end(); ++it)
            o.insert(it.key(), it.value());
        run.out << QJsonDocument(o).toJson(QJsonDocument::Indented);
    } else {
        for (const QString& line : ctx.report.lines())
            run.out << line << "\n";
        for (const QString& line : run.extraLines)
            run.out << line << "\n";
    }
    run.out.flush();
}

}  // namespace

int runBatch(const QStringList& args, QTextStream& out, QTextStream& err, const ChartForm::ImageWriter& chartWriter,
             const DocumentWriter& documentWriter)
{
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        out << kBatchUsage;
        return 0;
    }
    const BatchSteps steps = batchSteps();
    BatchRun run(out, err, chartWriter, documentWriter);
    try {
        readCommandLine(steps, args, run);
    } catch (const AppError& e) {
        err << e.message() << "\n" << kBatchUsage;
        return 2;
    }
    try {
        runStage(steps, &BatchStep::beforeRun, run);
        startProgram(run);
        runStage(steps, &BatchStep::input, run);
        calculate(run);
        runStage(steps, &BatchStep::afterCalc, run);
        // the files at the end, the results file last
        runStage(steps, &BatchStep::write, run);
        runStage(steps, &BatchStep::writeResults, run);
        printResults(run);
        return run.stopped || !run.calculationFinished() ? 1 : 0;
    } catch (const BatchExit& e) {
        return e.status;
    }
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
