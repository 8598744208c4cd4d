// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/batch_options.h"

#include "batch/batch_step.h"

#include <QCommandLineParser>
#include <QFileInfo>

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
// Outputs are named in the order of the steps.
void refuseSharedFiles(const BatchSteps& steps)
{
    QList<NamedFile> outputs;
    QList<NamedFile> inputs;
    for (const auto& step : steps) {
        outputs += step->outputs();
        inputs += step->inputs();
    }
    for (qsizetype i = 0; i < outputs.size(); ++i) {
        const auto& [option, path] = outputs[i];
        if (path.isEmpty())
            continue;
        for (qsizetype k = i + 1; k < outputs.size(); ++k) {
            if (!outputs[k].path.isEmpty() && sameFile(path, outputs[k].path))
                throw UsageError(QStringLiteral("%1 и %2 указывают один и тот же файл «%3». Укажите разные файлы.")
                                     .arg(option, outputs[k].what, path));
        }
        for (const auto& [what, input] : inputs) {
            if (!input.isEmpty() && sameFile(path, input))
                throw UsageError(QStringLiteral("%1 указывает на %2 «%3»: он был бы перезаписан. Укажите другой "
                                                "файл.")
                                     .arg(option, what, path));
        }
    }
}

// An option given with one it does not combine with.
void refuseCombinations(const BatchStep& step, const QCommandLineParser& parser)
{
    for (const QString& other : step.notCombinedWith()) {
        if (parser.isSet(other))
            throw UsageError(step.combinationRefusal(QStringLiteral("--") + other));
    }
}

// What QCommandLineParser refused, in the program's words. The option is found in the
// arguments, not read from the parser's message, whose wording and quotes follow the Qt
// catalogue loaded. The parser stops at the first option that wants a value and has none
// (the last argument) or has one it does not take ("--json=1").
UsageError parserError(const QCommandLineParser& parser, const QStringList& args, const BatchSteps& steps)
{
    if (!parser.unknownOptionNames().isEmpty())
        return UsageError(QStringLiteral("Неизвестный параметр --%1.").arg(parser.unknownOptionNames().first()));
    QStringList withValue;
    for (const auto& step : steps) {
        for (const QCommandLineOption& o : step->options()) {
            if (!o.valueName().isEmpty())
                withValue += o.names();
        }
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

}  // namespace

void readCommandLine(const BatchSteps& steps, const QStringList& args, BatchRun& run)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const auto& step : steps)
        parser.addOptions(step->options());
    // The parser takes the program name first.
    if (!parser.parse(QStringList{QStringLiteral("ogrado_calc")} + args))
        throw parserError(parser, args, steps);
    for (const auto& step : steps) {
        step->read(parser, run);
        if (step->isSet())
            refuseCombinations(*step, parser);
    }
    refuseSharedFiles(steps);
}

bool wantsDrawing(const QStringList& args)
{
    QStringList drawing;
    for (const auto& step : batchSteps())
        drawing += step->drawingOptions();
    for (const QString& a : args) {
        for (const QString& name : drawing) {
            for (const QString& dashes : {QStringLiteral("--"), QStringLiteral("-")}) {
                if (a == dashes + name || a.startsWith(dashes + name + u'='))
                    return true;
            }
        }
    }
    return false;
}

}  // namespace ogrado
