// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the values of the reference tables come from. The file "provenance.json" beside
// the data files gives each table, and where they differ each column, row or value, a
// status («заглушка», «выведено расчетом» …) and a short source text. A status belongs
// to the value the file held when it was given: each row named there keeps the texts of
// its cells, and a cell whose text differs now (a file replaced by the official one, a
// value changed in a text editor) has no information («нет сведений»). So does every
// table, row or value the file does not name, and every value when the file is absent.
#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace ogrado {

extern const char* const kProvenanceFile;  // "provenance.json"

enum class DataStatus { Unknown, Normative, CheckAgainstCode, Derived, Placeholder, UserEntered };

// «нет сведений», «нормативное значение», «по СНиП/СП (проверить)», «выведено расчетом»,
// «заглушка», «введено пользователем».
QString statusText(DataStatus status);
std::optional<DataStatus> statusOfText(const QString& text);
// A value a signed result must not rest on unchecked: a placeholder, a derived value or
// one of the predecessor codes.
bool needsChecking(DataStatus status);

// The origin of one value: its status, the source text and, for a user's value, the date.
struct ValueOrigin {
    DataStatus status = DataStatus::Unknown;
    QString source;
    QDate date;
};

class Provenance {
public:
    // Reads the provenance file. Throws AppError naming `path` and what is wrong.
    static Provenance fromJson(const QByteArray& bytes, const QString& path);
    // The file as it is written: indented UTF-8 JSON.
    QByteArray toJson() const;

    // The origin of the value in `column` (its heading) of the row `rowKey` of the table
    // `table`, whose text is `text` now: the value's own entry, else the row's, else the
    // column's, else the table's — while the row's recorded text of that cell is `text`.
    ValueOrigin origin(const QString& table, const QString& rowKey, const QString& column, const QString& text) const;
    // The table's own status and source.
    ValueOrigin tableOrigin(const QString& table) const;

    // The user changed or confirmed a value: the cell `column` of the row `rowKey` (the
    // row's key becomes `newKey` when the value is the key itself) now records `text`
    // with «введено пользователем», `source` and `date`. A row not named yet is added
    // with no information for its other cells.
    void recordUserValue(const QString& table, const QString& rowKey, const QString& newKey,
                         const QStringList& columns, const QStringList& rowTexts, int column, const QString& source,
                         const QDate& date);

private:
    struct Entry {
        std::optional<DataStatus> status;
        QString source;
        QDate date;
    };
    struct Row {
        QString key;
        QHash<QString, QString> texts;  // the cells as described, by column heading
        Entry own;
        QHash<QString, Entry> cells;
    };
    struct Table {
        QString file;
        Entry own;
        QHash<QString, Entry> columns;
        QVector<Row> rows;
        QHash<QString, int> rowIndex;  // the first row of each key
    };

    const Row* findRow(const QString& table, const QString& rowKey) const;

    QString about_;
    QHash<QString, Table> tables_;
    QStringList tableOrder_;
};

// A reference value a calculation used, with its origin.
struct UsedReference {
    QString quantity;  // "tн", "материал «…»", "климат «Минск», фи(н.)"
    QString detail;    // "λ(А)", "январь", or empty
    QString table;     // the table's caption
    QString row;       // its row (the key)
    QString column;    // its column heading
    QString text;      // the value
    ValueOrigin origin;
};

// «Расчет использует непроверенные справочные значения: …» naming the values that need
// checking, grouped by status; empty when there are none.
QString uncheckedValuesNote(const QVector<UsedReference>& used);

}  // namespace ogrado
