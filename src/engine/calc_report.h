// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculation report: the lines of the last run (and of the limits-of-use table
// added to it), written to the results file on "Сохранить", and the blocks that follow
// it in the results file, the documents and the print.
#include "common/prompter.h"

#include <QStringList>
#include <QVector>

#include <functional>

namespace ogrado {

class CalcReport {
public:
    // A new run writes from line 1.
    void restart()
    {
        lines_.clear();
        lines_.reserve(256);
    }
    void add(const QString& line) { lines_.append(line); }
    void addEmpty() { lines_.append(QString()); }
    void addBlank() { lines_.append(QStringLiteral(" ")); }
    // The number of the last line written.
    int lineCount() const { return int(lines_.size()); }
    // Line k, counted from 1.
    QString line(int k) const { return lines_.value(k - 1); }
    const QStringList& lines() const { return lines_; }

private:
    QStringList lines_;
};

// One block of the report, in the order the results file, the documents and the print
// hold them: the envelope calculation first, then the blocks of the other windows (the
// air gap …). Each is registered once; the outputs walk the list.
struct ReportBlock {
    QString heading;       // the heading over the block in a document
    // Empty: the block is always part of the report. Otherwise the sentence that offers
    // it ("Имеются результаты расчета воздушной прослойки."): a block with lines is added
    // only when the user accepts.
    QString offer;
    std::function<QStringList()> lines;  // what the block holds now
};
using ReportBlocks = QVector<ReportBlock>;

// A block as it goes into one output.
struct ReportSection {
    QString heading;
    QStringList lines;
};

// Whether an offered block is added; receives the block's offer.
using ReportChoice = std::function<bool(const QString& offer)>;
// Every offered block is added (the answer of ogrado_calc).
ReportChoice everyReportBlock();
// Only the blocks that are always part of the report.
ReportChoice requiredReportBlocks();
// The user is asked "<offer> <question>" under `title` with OK and Cancel:
// "Имеются результаты расчета воздушной прослойки. Сохранить их?".
ReportChoice askForReportBlock(Prompter& prompter, const QString& question, const QString& title);

// The sections of an output, in order: every block that is always part of the report,
// and each offered block that has lines and that `choice` accepts (asked in order).
QVector<ReportSection> reportSections(const ReportBlocks& blocks, const ReportChoice& choice);

// Writes the report to `path` (Windows-1251, CR LF), replacing the file whole: the
// lines of each section, the user asked about each offered block ("… Сохранить их?",
// "Подтверждение записи"). Throws AppError naming the path and the reason when the
// file cannot be written.
void WriteCalcReport(const QString& path, const ReportBlocks& blocks, Prompter& prompter);

}  // namespace ogrado
