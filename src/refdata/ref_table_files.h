// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tables of the reference files as the engineer sees, checks and corrects them:
// each table with its columns, its cells as the readers read them and the place of
// each value in its file. A value is changed in place in its file — in the file's own
// encoding and line ends, every other byte as it was — only after the readers have
// accepted the file with the new value; the file is kept once as "<name>.bak" before
// its first change, and the provenance file records the value as the user's.
#include "refdata/ref_tables.h"

#include <QDate>

#include <functional>
#include <optional>

namespace ogrado {

// What an edit of a cell must be.
enum class CellKind {
    Name,         // a text without ";" and without control characters
    Number,       // a finite number
    Humidity,     // 0 < фи ≤ 100
    Positive,     // above 0
    NonNegative,  // 0 or more
    Fixed,        // not changed here (it is shown from another table)
};

struct RefColumn {
    QString heading;
    CellKind kind = CellKind::Number;
};

// Where a value lies in its file: the line (0-based, counted as readTextLines counts)
// and the field (0-based, as splitFields counts; -1: the whole line).
struct FileCell {
    int line = -1;
    int field = -1;
};

struct RefTableLayout {
    QString id;       // the table's name in the provenance file
    QString caption;  // as the window lists it
    QString fileName;
    bool optional = false;  // the file may be absent: then there is no such table
    QVector<RefColumn> columns;
    int keyColumn = 0;  // the column whose text names a row; -1: the row's number
    // The table's cells, row by row, from the tables read.
    std::function<QVector<QStringList>(const RefTables&)> cells;
    // Where a cell lies in the file's lines; nothing when the file holds no such value.
    std::function<std::optional<FileCell>(const QStringList& lines, int row, int column)> locate;

    QStringList headings() const;
    // The name of row `row` in the provenance file.
    QString rowKey(const QVector<QStringList>& cells, int row) const;
};

// Every table of the reference files, in the order of the files and their sections.
const QVector<RefTableLayout>& refTableLayouts();
// The table `id`, or nullptr.
const RefTableLayout* refTableLayout(const QString& id);

// The order of two cells of a table: with `numeric` numbers by value (before texts that
// are not numbers), texts alphabetically (see searchKey).
int compareCellTexts(const QString& a, const QString& b, bool numeric);

// Whether the value a calculation used (`used`, as typed or filled in) is the table's
// `text`: the same number, or for a text that is no number the same text.
bool sameTableValue(const QString& text, const QString& used);

// The value in `column` of row `row` of table `id` with its origin, when the calculation
// used it: `used` is the table's value. Nothing when the user typed another value or the
// table has no such cell.
std::optional<UsedReference> usedTableValue(const RefTables& tables, const QString& id, int row, int column,
                                            const QString& used, const QString& quantity,
                                            const QString& detail = {});

// The text of a new value as it is stored (trimmed, a decimal point written as a comma).
// Throws AppError naming the table, the row and the column when the value is not one
// the readers and the calculations accept.
QString checkedCellText(const RefTableLayout& layout, const QVector<QStringList>& cells, int row, int column,
                        const QString& text);

// The bytes of a file with the field `cell` replaced by `text`, every other byte as it
// was, in the file's encoding. Throws AppError naming the file and the line when the
// line or the field is not there, the line cannot be written back unchanged, or the
// encoding cannot hold the text.
QByteArray replaceFileField(const QByteArray& bytes, const FileCell& cell, const QString& text, const QString& path);

// The backup of a reference file kept before its first change.
QString backupPathOf(const QString& path);

// Writes a new value of a cell into its file in `dataDir` and records it as the user's,
// dated `date`, in the provenance file; the same text only records it. The tables are
// those read from `dataDir` now. Throws AppError naming the cell or the file; a value
// refused leaves every file as it was. The caller reads the tables again.
void saveReferenceValue(const QString& dataDir, const RefTables& tables, const RefTableLayout& layout, int row,
                        int column, const QString& text, const QDate& date);

// The user has checked the values of row `row`: each is recorded as the user's, dated
// `date`, in the provenance file; the data file is not written.
void confirmReferenceRow(const QString& dataDir, const RefTables& tables, const RefTableLayout& layout, int row,
                         const QDate& date);

}  // namespace ogrado
