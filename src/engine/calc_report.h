// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculation report: the lines of the last run (and of the limits-of-use table
// added to it), written to the results file on "Сохранить".
#include "common/prompter.h"

#include <QStringList>

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

// Writes the report to `path` (Windows-1251, CR LF), replacing the file whole. When
// `airLayerLines` is not empty the user is asked whether to append them.
// Throws AppError naming the path and the reason when the file cannot be written.
void WriteCalcReport(const QString& path, const CalcReport& report, const QStringList& airLayerLines,
                     Prompter& prompter);

}  // namespace ogrado
