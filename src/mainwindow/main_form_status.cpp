// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's verdict under the results, and the marking of results that no
// longer belong to the input: the first change of an input after a calculation greys
// the results and the verdict until the next run.
#include "mainwindow/main_form.h"

#include "engine/verdict.h"

namespace ogrado {

namespace {

QString item(const char* name, int k)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(k);
}

// Inputs the calculation reads from the window when it runs, not from the collected
// table: "Пересчитать" takes their changes into account.
const QSet<QString>& runTimeInputs()
{
    static const QSet<QString> names = [] {
        QSet<QString> s;
        for (int k = 1; k <= 4; ++k)
            s.insert(item("txtTn", k));
        for (const char* name :
             {"txtN", "txtTp", "txtRtNorm", "chkPr", "lblTipZd", "lblN", "lblAlv", "lblAln", "lblTp", "cboObl"})
            s.insert(QLatin1String(name));
        return s;
    }();
    return names;
}

// Inputs that collectInput() takes into the layer table.
QStringList collectedInputs()
{
    QStringList names;
    for (int k = 0; k < LayerGridRows * 9; ++k)
        names.append(item("txt1", k));
    for (int k = 1; k <= LayerGridRows; ++k)
        names.append(item("chkIskl", k));
    for (const char* name : {"txtTv", "txtFiv", "txtAlv", "txtAln"})
        names.append(QLatin1String(name));
    for (int k = 1; k <= 4; ++k)
        names.append(item("txtTot", k));
    return names;
}

QString staleVerdictText()
{
    return QStringLiteral("Исходные данные изменены — нажмите «Расчет»");
}

}  // namespace

const QStringList& MainForm::resultControlNames()
{
    static const QStringList names = [] {
        QStringList n;
        for (const char* name : {"txtRt", "txtRp", "txtD", "txtTnras", "txtRtr", "lblQot", "lblRezList"})
            n.append(QLatin1String(name));
        for (int k = 1; k <= LayerGridRows; ++k)
            n.append(item("txtFiSl", k));
        for (const char* name : {"txtT", "txtPm", "txtPr", "txtRptr", "txtRpv"})
            for (int k = 1; k <= 7; ++k)
                n.append(item(name, k));
        for (int k = 1; k <= 5; ++k)
            n.append(item("lstRez", k));
        return n;
    }();
    return names;
}

const QStringList& MainForm::verdictControlNames()
{
    static const QStringList names = {QStringLiteral("lblVerdict"), QStringLiteral("lblVerdictRt"),
                                      QStringLiteral("lblVerdictNorm"), QStringLiteral("lblVerdictVapour"), QStringLiteral("lblVerdictSurface"),
                                      QStringLiteral("lblVerdictData")};
    return names;
}

void MainForm::addVerdict()
{
    for (const QString& name : verdictControlNames())
        add(name, ControlKind::Label);
}

void MainForm::watchInputs()
{
    for (const QString& name : collectedInputs())
        watchInput(name);
    for (const QString& name : runTimeInputs())
        watchInput(name);
}

void MainForm::inputChanged(const QString& name)
{
    if (!runTimeInputs().contains(name))
        changedSinceCollect_ = true;
    if (ctx_.lastCalc && !stale_)
        markStale();
}

void MainForm::markStale()
{
    stale_ = true;
    for (const QString& name : resultControlNames())
        setForeground(name, kGrey);
    for (const QString& name : verdictControlNames())
        setForeground(name, kGrey);
    setText(QStringLiteral("lblVerdict"), staleVerdictText());
    setForeground(QStringLiteral("lblVerdict"), kBlack);
    setBackground(QStringLiteral("lblVerdict"), kStaleGrey);
}

void MainForm::showResultsCurrent()
{
    stale_ = false;
    for (const QString& name : resultControlNames())
        setForeground(name, kBlack);
    showVerdict();
    // "Пересчитать" works on the table as last collected: a change of the grid or of a
    // collected field since then still needs "Расчет".
    if (changedSinceCollect_)
        markStale();
}

void MainForm::showVerdict()
{
    for (const QString& name : verdictControlNames()) {
        setText(name, QString());
        setForeground(name, kBlack);
    }
    setBackground(QStringLiteral("lblVerdict"), kWhite);
    if (!ctx_.lastCalc)
        return;
    const CalcVerdict v = verdictOf(ctx_.lastCalc->state, ctx_.tables.saturation);
    setText(QStringLiteral("lblVerdict"), v.summary);
    setText(QStringLiteral("lblVerdictRt"), v.resistance);
    setText(QStringLiteral("lblVerdictNorm"), v.normative);
    setText(QStringLiteral("lblVerdictVapour"), v.vapour);
    setText(QStringLiteral("lblVerdictSurface"), v.innerSurface);
    setText(QStringLiteral("lblVerdictData"), uncheckedValuesNote(ctx_.calcReferences()));
    switch (v.status) {
    case CalcVerdict::Status::Complies:
        setBackground(QStringLiteral("lblVerdict"), kVerdictGreen);
        break;
    case CalcVerdict::Status::Fails:
        setBackground(QStringLiteral("lblVerdict"), kVerdictRed);
        break;
    case CalcVerdict::Status::None:
        break;
    }
}

void MainForm::referencesAdded()
{
    if (ctx_.lastCalc && !stale_)
        setText(QStringLiteral("lblVerdictData"), uncheckedValuesNote(ctx_.calcReferences()));
    notifyChanged();
}

bool MainForm::confirmSaveOfStaleResults()
{
    if (!stale_)
        return true;
    return prompter().message(QStringLiteral("Исходные данные изменены после расчета: сохраняемые результаты "
                                             "относятся к прежним данным.\rСохранить результаты последнего расчета?"),
                              QStringLiteral("Подтверждение записи"), MessageIcon::Question,
                              MessageButtons::YesNo) == MessageAnswer::Yes;
}

}  // namespace ogrado
