// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steps of ogrado_calc: one unit per option, from its value on the command line to
// what it adds to the output, and the state of a run they share. runBatch takes them in
// the order of batchSteps() through each stage of a run.
#include "batch/batch_options.h"
#include "chart/chart_form.h"
#include "document/calc_document.h"
#include "program/application.h"
#include "session/app_context.h"

#include <QCommandLineOption>
#include <QJsonObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>
#include <optional>
#include <vector>

class QCommandLineParser;
class QTextStream;

namespace ogrado {

struct BatchMessage {
    QString text;
    QString title;
};

// Messages go to stderr and are kept for the JSON output; questions are answered
// with OK or Yes.
class BatchPrompter : public Prompter {
public:
    explicit BatchPrompter(QTextStream& err) : err_(err) {}
    MessageAnswer message(const QString& text, const QString& title, MessageIcon, MessageButtons buttons) override;
    void beep() override {}

    QVector<BatchMessage> messages;

private:
    QTextStream& err_;
};

// What the steps of one run share: the streams, the program on the reference data, the
// settings other steps read and what the run adds to the output.
struct BatchRun {
    BatchRun(QTextStream& out, QTextStream& err, const ChartForm::ImageWriter& chartWriter,
             const DocumentWriter& documentWriter);
    ~BatchRun();

    MainForm& mainForm() { return app->mainForm(); }
    // Whether the main calculation (the design case) ran to its end.
    bool calculationFinished() const { return ctx.lastCalc && ctx.lastCalc->finished(); }

    QTextStream& out;
    QTextStream& err;
    const ChartForm::ImageWriter& chartWriter;
    const DocumentWriter& documentWriter;

    // Settings of the command line that other steps read.
    bool json = false;
    QString dataDir;  // empty: the current directory or the installed data
    QString casePath;
    QSize chartSize{ChartForm::kDefaultWidth, ChartForm::kDefaultHeight};

    BatchPrompter prompter;
    LoadingHost host;
    AppContext ctx;
    std::unique_ptr<Application> app;  // from the input stage on
    // The air-gap inputs of a source-data file, which stand in for --airlayer.
    std::optional<QJsonObject> caseAirLayer;
    // The index of the first message after the main calculation's own.
    int afterCalc = 0;

    // Objects the other windows add to the JSON output, and lines to the text output.
    QJsonObject extra;
    QStringList extraLines;
    // A window or an output did not finish: the exit status is 1.
    bool stopped = false;
};

// Ends the run with this exit status; what the user must know is on stderr already.
struct BatchExit {
    int status;
};

// A file named on the command line: what writes or reads it, and its path.
struct NamedFile {
    QString what;  // the option ("--out") or a description ("файл варианта")
    QString path;
};

// One option of ogrado_calc, or a pair that is one thing (--select and --select-list).
// The stages run in this order, each over all steps before the next; a stage may end
// the run by throwing BatchExit.
class BatchStep {
public:
    virtual ~BatchStep() = default;

    // The options the parser is to know.
    virtual QList<QCommandLineOption> options() const { return {}; }
    // Takes the step's values from the command line and checks them; throws UsageError.
    virtual void read(const QCommandLineParser& parser, BatchRun& run) = 0;
    // Whether the command line asks for this step.
    virtual bool isSet() const = 0;
    // Options (without dashes) this one is refused with, in the order they are named,
    // and the message for one of them; checked after read().
    virtual QStringList notCombinedWith() const { return {}; }
    virtual QString combinationRefusal(const QString& other) const
    {
        Q_UNUSED(other);
        return {};
    }
    // The options (without dashes) that need the drawing module.
    virtual QStringList drawingOptions() const { return {}; }
    // The files this step writes and reads; no output may share a file with another
    // output or with an input.
    virtual QList<NamedFile> outputs() const { return {}; }
    virtual QList<NamedFile> inputs() const { return {}; }

    // Before anything is loaded: answers that need nothing, refusals of what cannot run.
    virtual void beforeRun(BatchRun& run) { Q_UNUSED(run); }
    // The main window is loaded: what goes into it before "Расчет".
    virtual void input(BatchRun& run) { Q_UNUSED(run); }
    // After "Расчет": the step's own window runs and its results join the output.
    virtual void afterCalc(BatchRun& run) { Q_UNUSED(run); }
    // The files of the run (pictures, documents).
    virtual void write(BatchRun& run) { Q_UNUSED(run); }
    // The results file, replaced only after every other file was written.
    virtual void writeResults(BatchRun& run) { Q_UNUSED(run); }
};

using BatchSteps = std::vector<std::unique_ptr<BatchStep>>;

// Every step of ogrado_calc, in the order of a run.
BatchSteps batchSteps();

// Prints "Ошибка: " and the message, its CR line breaks as LF, and ends the run.
[[noreturn]] void stopWithError(BatchRun& run, int status, const AppError& e);

}  // namespace ogrado
