// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/provenance.h"

#include "common/app_error.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>

namespace ogrado {

const char* const kProvenanceFile = "provenance.json";

namespace {

struct StatusName {
    DataStatus status;
    const char* text;
};
constexpr std::array<StatusName, 6> kStatusNames{{
    {DataStatus::Unknown, "нет сведений"},
    {DataStatus::Normative, "нормативное значение"},
    {DataStatus::CheckAgainstCode, "по СНиП/СП (проверить)"},
    {DataStatus::Derived, "выведено расчетом"},
    {DataStatus::Placeholder, "заглушка"},
    {DataStatus::UserEntered, "введено пользователем"},
}};

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

// What to do about a damaged provenance file: the values then have no information.
QString provenanceAdvice()
{
    return QStringLiteral("Исправьте файл или удалите его: без него у справочных значений нет сведений о "
                          "происхождении.");
}

}  // namespace

QString statusText(DataStatus status)
{
    for (const StatusName& s : kStatusNames)
        if (s.status == status)
            return QString::fromUtf8(s.text);
    return {};
}

std::optional<DataStatus> statusOfText(const QString& text)
{
    for (const StatusName& s : kStatusNames)
        if (text.trimmed() == QString::fromUtf8(s.text))
            return s.status;
    return std::nullopt;
}

bool needsChecking(DataStatus status)
{
    return status == DataStatus::Placeholder || status == DataStatus::Derived || status == DataStatus::CheckAgainstCode;
}

namespace {

class JsonReader {
public:
    explicit JsonReader(const QString& path) : path_(path) {}

    [[noreturn]] void fail(const QString& where, const QString& what) const
    {
        throw AppError(QStringLiteral("Файл сведений о происхождении справочных данных \"%1\", %2: %3 %4")
                           .arg(path_, where, what, provenanceAdvice()));
    }

    QJsonObject object(const QJsonValue& v, const QString& where) const
    {
        if (!v.isObject())
            fail(where, QStringLiteral("ожидается объект JSON."));
        return v.toObject();
    }

    QString string(const QJsonObject& o, const char* key, const QString& where) const
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return {};
        if (!v.isString())
            fail(where, QStringLiteral("значение «%1» должно быть текстом.").arg(QLatin1String(key)));
        return v.toString();
    }

    template <typename Entry>
    Entry entry(const QJsonObject& o, const QString& where) const
    {
        Entry e;
        if (o.contains(QLatin1String("status"))) {
            const QString text = string(o, "status", where);
            e.status = statusOfText(text);
            if (!e.status)
                fail(where, QStringLiteral("статус «%1» неизвестен.").arg(text));
        }
        e.source = string(o, "source", where);
        const QString date = string(o, "date", where);
        if (!date.isEmpty()) {
            e.date = QDate::fromString(date, kDateFormat);
            if (!e.date.isValid())
                fail(where, QStringLiteral("дата «%1» не в виде ГГГГ-ММ-ДД.").arg(date));
        }
        return e;
    }

private:
    const QString& path_;
};

template <typename Entry>
QJsonObject entryJson(const Entry& e)
{
    QJsonObject o;
    if (e.status)
        o.insert(QStringLiteral("status"), statusText(*e.status));
    if (!e.source.isEmpty())
        o.insert(QStringLiteral("source"), e.source);
    if (e.date.isValid())
        o.insert(QStringLiteral("date"), e.date.toString(kDateFormat));
    return o;
}

template <typename Entry>
void insertEntry(QJsonObject& o, const Entry& e)
{
    const QJsonObject fields = entryJson(e);
    for (auto it = fields.begin(); it != fields.end(); ++it)
        o.insert(it.key(), it.value());
}

template <typename Entry>
QJsonObject entriesJson(const QHash<QString, Entry>& entries)
{
    QJsonObject o;
    for (auto it = entries.begin(); it != entries.end(); ++it)
        o.insert(it.key(), entryJson(it.value()));
    return o;
}

}  // namespace

Provenance Provenance::fromJson(const QByteArray& bytes, const QString& path)
{
    const JsonReader in(path);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        in.fail(QStringLiteral("знак %1").arg(error.offset + 1), error.errorString() + u'.');
    const QJsonObject root = in.object(doc.object(), QStringLiteral("начало"));
    Provenance p;
    p.about_ = in.string(root, "about", QStringLiteral("начало"));
    const QJsonObject tables = in.object(root.value(QLatin1String("tables")), QStringLiteral("«tables»"));
    for (auto t = tables.begin(); t != tables.end(); ++t) {
        const QString where = QStringLiteral("таблица «%1»").arg(t.key());
        const QJsonObject to = in.object(t.value(), where);
        Table table;
        table.file = in.string(to, "file", where);
        table.own = in.entry<Entry>(to, where);
        const QJsonObject columns = to.value(QLatin1String("columns")).toObject();
        for (auto c = columns.begin(); c != columns.end(); ++c)
            table.columns.insert(c.key(), in.entry<Entry>(in.object(c.value(), where), where));
        const QJsonValue rows = to.value(QLatin1String("rows"));
        if (!rows.isUndefined() && !rows.isArray())
            in.fail(where, QStringLiteral("«rows» должно быть списком."));
        for (const QJsonValue& rv : rows.toArray()) {
            const QJsonObject ro = in.object(rv, where);
            Row row;
            row.key = in.string(ro, "key", where);
            const QString rowWhere = where + QStringLiteral(", строка «%1»").arg(row.key);
            row.own = in.entry<Entry>(ro, rowWhere);
            const QJsonObject values = ro.value(QLatin1String("values")).toObject();
            for (auto v = values.begin(); v != values.end(); ++v) {
                if (!v.value().isString())
                    in.fail(rowWhere, QStringLiteral("значение «%1» должно быть текстом.").arg(v.key()));
                row.texts.insert(v.key(), v.value().toString());
            }
            const QJsonObject cells = ro.value(QLatin1String("cells")).toObject();
            for (auto c = cells.begin(); c != cells.end(); ++c)
                row.cells.insert(c.key(), in.entry<Entry>(in.object(c.value(), rowWhere), rowWhere));
            if (!table.rowIndex.contains(row.key))  // a later row of the same key: the first counts
                table.rowIndex.insert(row.key, int(table.rows.size()));
            table.rows.append(row);
        }
        p.tables_.insert(t.key(), table);
        p.tableOrder_.append(t.key());
    }
    return p;
}

QByteArray Provenance::toJson() const
{
    QJsonObject tables;
    for (const QString& id : tableOrder_) {
        const Table& t = *tables_.constFind(id);
        QJsonObject to = entryJson(t.own);
        if (!t.file.isEmpty())
            to.insert(QStringLiteral("file"), t.file);
        if (!t.columns.isEmpty())
            to.insert(QStringLiteral("columns"), entriesJson(t.columns));
        QJsonArray rows;
        for (const Row& r : t.rows) {
            QJsonObject ro = entryJson(r.own);
            ro.insert(QStringLiteral("key"), r.key);
            QJsonObject values;
            for (auto v = r.texts.begin(); v != r.texts.end(); ++v)
                values.insert(v.key(), v.value());
            ro.insert(QStringLiteral("values"), values);
            if (!r.cells.isEmpty())
                ro.insert(QStringLiteral("cells"), entriesJson(r.cells));
            rows.append(ro);
        }
        to.insert(QStringLiteral("rows"), rows);
        tables.insert(id, to);
    }
    QJsonObject root{{QStringLiteral("tables"), tables}};
    if (!about_.isEmpty())
        root.insert(QStringLiteral("about"), about_);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

const Provenance::Row* Provenance::findRow(const QString& table, const QString& rowKey) const
{
    const auto t = tables_.constFind(table);
    if (t == tables_.constEnd())
        return nullptr;
    const auto r = t->rowIndex.constFind(rowKey);
    return r == t->rowIndex.constEnd() ? nullptr : &t->rows[*r];
}

ValueOrigin Provenance::origin(const QString& table, const QString& rowKey, const QString& column,
                               const QString& text) const
{
    const Row* row = findRow(table, rowKey);
    if (!row || !row->texts.contains(column) || row->texts.value(column).trimmed() != text.trimmed())
        return {};
    const Table& t = *tables_.constFind(table);
    for (const Entry& e : {row->cells.value(column), row->own, t.columns.value(column), t.own}) {
        if (e.status)
            return ValueOrigin{*e.status, e.source, e.date};
    }
    return {};
}

ValueOrigin Provenance::tableOrigin(const QString& table) const
{
    const auto t = tables_.constFind(table);
    if (t == tables_.constEnd() || !t->own.status)
        return {};
    return ValueOrigin{*t->own.status, t->own.source, t->own.date};
}

void Provenance::recordUserValue(const QString& table, const QString& rowKey, const QString& newKey,
                                 const QStringList& columns, const QStringList& rowTexts, int column,
                                 const QString& source, const QDate& date)
{
    if (!tables_.contains(table))
        tableOrder_.append(table);
    Table& t = tables_[table];
    int index = t.rowIndex.value(rowKey, -1);
    if (index < 0) {
        // a row the file did not describe: its other values stay without information
        Row row;
        row.key = rowKey;
        row.own.status = DataStatus::Unknown;
        for (int c = 0; c < columns.size(); ++c)
            row.texts.insert(columns[c], rowTexts.value(c));
        index = int(t.rows.size());
        t.rows.append(row);
    }
    Row& row = t.rows[index];
    const QString heading = columns.value(column);
    row.texts.insert(heading, rowTexts.value(column));
    row.cells.insert(heading, Entry{DataStatus::UserEntered, source, date});
    if (newKey != rowKey) {
        row.key = newKey;
        if (t.rowIndex.value(rowKey) == index)
            t.rowIndex.remove(rowKey);
    }
    if (!t.rowIndex.contains(row.key))
        t.rowIndex.insert(row.key, index);
}

namespace {

// Month names in a row of three or more written as a range: "январь–май, сентябрь".
QStringList compactMonths(const QStringList& details)
{
    static const QStringList months = {"январь", "февраль", "март",     "апрель",  "май",    "июнь",
                                       "июль",   "август",  "сентябрь", "октябрь", "ноябрь", "декабрь"};
    QVector<int> numbers;
    for (const QString& d : details) {
        const qsizetype m = months.indexOf(d);
        if (m < 0 || (!numbers.isEmpty() && m <= numbers.last()))
            return details;  // not months in their order
        numbers.append(int(m));
    }
    QStringList out;
    for (qsizetype i = 0; i < numbers.size();) {
        qsizetype j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1)
            ++j;
        if (j - i >= 2) {
            out.append(months[numbers[i]] + QStringLiteral("–") + months[numbers[j]]);
        } else {
            for (qsizetype k = i; k <= j; ++k)
                out.append(months[numbers[k]]);
        }
        i = j + 1;
    }
    return out;
}

}  // namespace

QString uncheckedValuesNote(const QVector<UsedReference>& used)
{
    QStringList groups;
    for (DataStatus status : {DataStatus::Placeholder, DataStatus::Derived, DataStatus::CheckAgainstCode}) {
        QStringList quantities;
        QHash<QString, QStringList> details;
        for (const UsedReference& u : used) {
            if (u.origin.status != status)
                continue;
            if (!quantities.contains(u.quantity))
                quantities.append(u.quantity);
            QStringList& d = details[u.quantity];
            if (!u.detail.isEmpty() && !d.contains(u.detail))
                d.append(u.detail);
        }
        if (quantities.isEmpty())
            continue;
        for (QString& q : quantities) {
            if (const QStringList& d = details[q]; !d.isEmpty())
                q += QStringLiteral(" (") + compactMonths(d).join(QStringLiteral(", ")) + u')';
        }
        groups.append(statusText(status) + QStringLiteral(" — ") + quantities.join(QStringLiteral(", ")));
    }
    if (groups.isEmpty())
        return {};
    return QStringLiteral("Расчет использует непроверенные справочные значения: ") + groups.join(QStringLiteral("; ")) +
           u'.';
}

}  // namespace ogrado
