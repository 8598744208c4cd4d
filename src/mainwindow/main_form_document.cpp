// SPDX-License-Identifier: GPL-3.0-or-later
// The document of the last calculation from the main window's menu "Файл": written as
// PDF or as an OpenDocument text, or printed. The document shows the calculation as it
// ran; the results file (".doc") is written by "Сохранить" alone and stays as it is.
#include "mainwindow/main_form.h"

#include "common/app_error.h"
#include "dialogs/save_dialog.h"

#include <QDir>
#include <QFileInfo>

namespace ogrado {

namespace {

const QStringList& documentMenuItems()
{
    static const QStringList names = {QStringLiteral("mnuPdf"), QStringLiteral("mnuOdt"), QStringLiteral("mnuPrint")};
    return names;
}

QString noDocumentText()
{
    return QStringLiteral("Нет результатов расчета для документа.\rСначала выполните расчет (кнопка \"Расчет\").");
}

}  // namespace

void MainForm::updateDocumentMenus()
{
    const bool available = documentAvailable(ctx_);
    for (const QString& name : documentMenuItems())
        setEnabled(name, available);
}

bool MainForm::documentMayStart()
{
    if (ctx_.busy()) {
        prompter().beep();
        return false;
    }
    if (!documentAvailable(ctx_)) {
        prompter().error(noDocumentText());
        return false;
    }
    return true;
}

void MainForm::exportDocument(DocumentFormat format)
{
    if (!documentMayStart() || !confirmSaveOfStaleResults())
        return;
    const bool pdf = format == DocumentFormat::Pdf;
    const QString suffix = pdf ? QStringLiteral("pdf") : QStringLiteral("odt");
    const QString proposed =
        QDir(SaveDialogForm::proposedFolder(ctx_)).filePath(SaveDialogForm::proposedName(ctx_) + u'.' + suffix);
    QString path = prompter().chooseFile(
        Prompter::FileChoice::Save, pdf ? QStringLiteral("Экспорт в PDF") : QStringLiteral("Экспорт в ODF"), proposed,
        pdf ? QStringLiteral("Документ PDF (*.pdf)") : QStringLiteral("Текстовый документ ODF (*.odt)"));
    if (path.isEmpty())
        return;
    path = withExtension(path, suffix);
    if (path.isEmpty())
        return;
    try {
        const CalcDocument document =
            calcDocumentOf(ctx_, {ctx_.sourceDataPath, path},
                           askForReportBlock(prompter(), QStringLiteral("Сохранить их?"),
                                             QStringLiteral("Подтверждение записи")));
        if (!documentWriter_)
            throw AppError(QStringLiteral("Документ не может быть записан: нет модуля записи документов."));
        documentWriter_(document, format, path);
    } catch (const AppError& e) {
        prompter().error(e.message());
    }
}

QString MainForm::withExtension(const QString& chosen, const QString& suffix)
{
    if (QFileInfo(chosen).suffix().compare(suffix, Qt::CaseInsensitive) == 0)
        return chosen;
    const QString path = chosen + u'.' + suffix;
    if (QFileInfo::exists(path) &&
        prompter().message(QStringLiteral("Файл \"%1\" уже существует.\rЗаменить его?").arg(QDir::toNativeSeparators(path)),
                           QStringLiteral("Подтверждение записи"), MessageIcon::Question,
                           MessageButtons::YesNo) != MessageAnswer::Yes)
        return {};
    return path;
}

void MainForm::printDocument()
{
    if (!documentMayStart())
        return;
    if (resultsStale() &&
        prompter().message(QStringLiteral("Исходные данные изменены после расчета: печатаемые результаты относятся к "
                                          "прежним данным.\rНапечатать результаты последнего расчета?"),
                           QStringLiteral("Печать"), MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    try {
        const CalcDocument document =
            calcDocumentOf(ctx_, {ctx_.sourceDataPath, QString()},
                           askForReportBlock(prompter(), QStringLiteral("Напечатать их?"), QStringLiteral("Печать")));
        if (!documentPrinter_)
            throw AppError(QStringLiteral("Печать недоступна: нет модуля печати."));
        documentPrinter_(document);
    } catch (const AppError& e) {
        prompter().error(e.message());
    }
}

}  // namespace ogrado
