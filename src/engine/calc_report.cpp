// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/calc_report.h"

#include "common/text_file.h"

namespace ogrado {

ReportChoice everyReportBlock()
{
    return [](const QString&) { return true; };
}

ReportChoice requiredReportBlocks()
{
    return [](const QString&) { return false; };
}

ReportChoice askForReportBlock(Prompter& prompter, const QString& question, const QString& title)
{
    return [&prompter, question, title](const QString& offer) {
        return prompter.message(offer + u' ' + question, title, MessageIcon::Question, MessageButtons::OkCancel) ==
               MessageAnswer::Ok;
    };
}

QVector<ReportSection> reportSections(const ReportBlocks& blocks, const ReportChoice& choice)
{
    QVector<ReportSection> sections;
    for (const ReportBlock& block : blocks) {
        QStringList lines = block.lines ? block.lines() : QStringList();
        if (!block.offer.isEmpty() && (lines.isEmpty() || !choice(block.offer)))
            continue;
        sections.append({block.heading, std::move(lines)});
    }
    return sections;
}

void WriteCalcReport(const QString& path, const ReportBlocks& blocks, Prompter& prompter)
{
    QStringList lines;
    const ReportChoice ask =
        askForReportBlock(prompter, QStringLiteral("Сохранить их?"), QStringLiteral("Подтверждение записи"));
    for (const ReportSection& section : reportSections(blocks, ask))
        lines += section.lines;
    writeTextLines(path, lines);
}

}  // namespace ogrado
