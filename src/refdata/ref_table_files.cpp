// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/ref_table_files.h"

#include "common/app_error.h"
#include "common/input_check.h"
#include "common/number_text.h"
#include "common/text_file.h"
#include "refdata/material_catalogue.h"
#include "refdata/ref_reader.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace ogrado {

namespace {

// The sections of the normative file in order: a header line or not, and the number of
// data lines (the saturation table runs to the end of the file).
struct Section {
    bool header;
    int rows;
};
constexpr Section kNormativeSections[9] = {{true, 5}, {true, 4}, {true, 6}, {true, 5}, {true, 2},
                                           {true, 3}, {false, 8}, {true, 4}, {true, 0}};
enum NormativeSection { kBuildings, kDesignTemps, kRegions, kCoefN, kAlphaIn, kTempDiffNames, kEnvelopes, kAlphaOut, kSaturation };

// The line of data row `row` of a section of the normative file.
int normativeLine(int section, int row)
{
    int line = 0;
    for (int s = 0; s < section; ++s)
        line += (kNormativeSections[s].header ? 1 : 0) + kNormativeSections[s].rows;
    return line + (kNormativeSections[section].header ? 1 : 0) + row;
}

// A table whose rows are the data lines of a section and whose columns are the fields.
std::function<std::optional<FileCell>(const QStringList&, int, int)> sectionFields(int section, bool wholeLine = false)
{
    return [section, wholeLine](const QStringList& lines, int row, int column) -> std::optional<FileCell> {
        const int rows = kNormativeSections[section].rows;
        const int line = normativeLine(section, row);
        if (row < 0 || (rows > 0 && row >= rows) || line >= lines.size())
            return std::nullopt;
        return FileCell{line, wholeLine ? -1 : column};
    };
}

// A table whose rows are the non-empty lines of its file (the readers skip empty ones).
std::optional<FileCell> nonEmptyLineField(const QStringList& lines, int row, int field)
{
    int seen = -1;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        if (++seen == row)
            return FileCell{i, field};
    }
    return std::nullopt;
}

QVector<QStringList> namedValues(const QVector<NamedValue>& table)
{
    QVector<QStringList> rows;
    for (const NamedValue& v : table)
        rows.append({v.name, v.value});
    return rows;
}

QVector<RefColumn> columns(std::initializer_list<std::pair<const char*, CellKind>> list)
{
    QVector<RefColumn> c;
    for (const auto& [heading, kind] : list)
        c.append({QString::fromUtf8(heading), kind});
    return c;
}

const char* const kMonthHeadings[12] = {"Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
                                        "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};

QVector<RefColumn> monthColumns(const char* first, CellKind firstKind, CellKind month)
{
    QVector<RefColumn> c{{QString::fromUtf8(first), firstKind}};
    for (const char* m : kMonthHeadings)
        c.append({QString::fromUtf8(m), month});
    return c;
}

// Sections 1 to 3 of the normative file: the building types and the climate by region.
QVector<RefTableLayout> buildingAndRegionLayouts()
{
    const QString file = QString::fromUtf8(kNormativeFile);
    QVector<RefTableLayout> layouts;
    layouts.append({QStringLiteral("buildingTypes"), QStringLiteral("Типы зданий: t(в), фи(в) (табл. 4.1)"), file, false,
                  columns({{"Наименование", CellKind::Name}, {"t(в), °С", CellKind::Number}, {"фи(в), %", CellKind::Humidity}}),
                  0,
                  [](const RefTables& t) {
                      QVector<QStringList> rows;
                      for (const BuildingType& b : t.buildingTypes)
                          rows.append({b.name, b.tIn, b.phiIn});
                      return rows;
                  },
                  sectionFields(kBuildings)});
    // shown region by region; in the file a line holds one temperature of every region
    layouts.append({QStringLiteral("designTemperatures"), QStringLiteral("Расчетные зимние температуры наружного воздуха tн"),
                  file, false,
                  columns({{"Область", CellKind::Fixed},
                           {"суток 0,98, °С", CellKind::Number},
                           {"суток 0,92, °С", CellKind::Number},
                           {"трех суток 0,92, °С", CellKind::Number},
                           {"пятидневки 0,92, °С", CellKind::Number}}),
                  -1,
                  [](const RefTables& t) {
                      QVector<QStringList> rows;
                      const qsizetype regions = t.designTemperatures.value(0).size();
                      for (qsizetype i = 0; i < regions; ++i) {
                          QStringList row{t.regions.value(i).name};
                          for (const QStringList& line : t.designTemperatures)
                              row.append(line.value(i));
                          rows.append(row);
                      }
                      return rows;
                  },
                  [](const QStringList& lines, int row, int column) -> std::optional<FileCell> {
                      if (column < 1 || column > 4 || row < 0)
                          return std::nullopt;
                      return sectionFields(kDesignTemps)(lines, column - 1, row);
                  }});
    layouts.append({QStringLiteral("regions"), QStringLiteral("Области: отопительный период"), file, false,
                  columns({{"Область", CellKind::Name},
                           {"t(от.), °С (до 8 °С)", CellKind::Number},
                           {"фи(от.), % (до 8 °С)", CellKind::Humidity},
                           {"e(от.), Па (до 8 °С)", CellKind::Positive},
                           {"z(от.), сут (до 8 °С)", CellKind::Positive},
                           {"t(от.), °С (до 10 °С)", CellKind::Number},
                           {"фи(от.), % (до 10 °С)", CellKind::Humidity},
                           {"e(от.), Па (до 10 °С)", CellKind::Positive},
                           {"z(от.), сут (до 10 °С)", CellKind::Positive}}),
                  0,
                  [](const RefTables& t) {
                      QVector<QStringList> rows;
                      for (const Region& r : t.regions)
                          rows.append(QStringList{r.name} + r.set1 + r.set2);
                      return rows;
                  },
                  sectionFields(kRegions)});
    return layouts;
}

// Sections 4 to 9 of the normative file: the coefficients, Δt(в) and appendix Е.
QVector<RefTableLayout> coefficientLayouts()
{
    const QString file = QString::fromUtf8(kNormativeFile);
    QVector<RefTableLayout> layouts;
    layouts.append({QStringLiteral("coefficientN"), QStringLiteral("Коэффициент n (табл. 5.3)"), file, false,
                  columns({{"Наименование", CellKind::Name}, {"n", CellKind::Positive}}), 0,
                  [](const RefTables& t) { return namedValues(t.coefficientN); }, sectionFields(kCoefN)});
    layouts.append({QStringLiteral("innerCoefficients"), QStringLiteral("Коэффициент теплоотдачи α(в) (табл. 5.4)"), file,
                  false, columns({{"Наименование", CellKind::Name}, {"α(в), Вт/(м²·°С)", CellKind::Positive}}), 0,
                  [](const RefTables& t) { return namedValues(t.innerCoefficients); }, sectionFields(kAlphaIn)});
    layouts.append({QStringLiteral("tempDiffColumns"), QStringLiteral("Графы таблицы Δt(в)"), file, false,
                  columns({{"Наименование графы", CellKind::Name}}), 0,
                  [](const RefTables& t) {
                      QVector<QStringList> rows;
                      for (const QString& name : t.tempDiffColumns)
                          rows.append({name});
                      return rows;
                  },
                  sectionFields(kTempDiffNames, true)});
    layouts.append({QStringLiteral("envelopeTypes"), QStringLiteral("Типы ограждающих конструкций: Δt(в) (табл. 5.5)"),
                  file, false,
                  columns({{"Наименование", CellKind::Name},
                           {"Δt(в), графа 1, °С", CellKind::NonNegative},
                           {"Δt(в), графа 2, °С", CellKind::NonNegative},
                           {"Δt(в), графа 3, °С", CellKind::NonNegative}}),
                  0,
                  [](const RefTables& t) {
                      QVector<QStringList> rows;
                      for (const EnvelopeType& e : t.envelopeTypes)
                          rows.append(QStringList{e.name} + e.tempDiff);
                      return rows;
                  },
                  sectionFields(kEnvelopes)});
    layouts.append({QStringLiteral("outerCoefficients"), QStringLiteral("Коэффициент теплоотдачи α(н) (табл. 5.7)"), file,
                  false, columns({{"Наименование", CellKind::Name}, {"α(н), Вт/(м²·°С)", CellKind::Positive}}), 0,
                  [](const RefTables& t) { return namedValues(t.outerCoefficients); }, sectionFields(kAlphaOut)});
    layouts.append({QStringLiteral("saturation"),
                  QStringLiteral("Максимальная упругость водяного пара E (прил. Е)"), file, false,
                  columns({{"t, °С", CellKind::Number}, {"E, Па", CellKind::Positive}}), -1,
                  [](const RefTables& t) { return t.saturation.texts; }, sectionFields(kSaturation)});
    return layouts;
}

QVector<RefTableLayout> fileLayouts()
{
    QVector<RefTableLayout> layouts;
    layouts.append({QStringLiteral("materials"), QStringLiteral("Материалы"), QString::fromUtf8(kMaterialsFile), false,
                  columns({{"Наименование", CellKind::Name},
                           {"Объемная масса, кг/м3", CellKind::Positive},
                           {"λА, Вт/(м·°С)", CellKind::Positive},
                           {"λБ, Вт/(м·°С)", CellKind::Positive},
                           {"sА, Вт/(м²·°С)", CellKind::NonNegative},
                           {"sБ, Вт/(м²·°С)", CellKind::NonNegative},
                           {"μ, мг/(м·ч·Па)", CellKind::NonNegative}}),
                  0,
                  [](const RefTables& t) {
                      // the shipped file's materials; the user's own have a window of their own
                      QVector<QStringList> rows;
                      for (const Material& m : t.materials)
                          if (!m.own)
                              rows.append(m.fields.mid(0, 7));
                      return rows;
                  },
                  nonEmptyLineField});
    QVector<RefColumn> temperature = monthColumns("Пункт", CellKind::Name, CellKind::Number);
    temperature.append({QStringLiteral("Год"), CellKind::Number});
    layouts.append({QStringLiteral("climateTemperature"),
                  QStringLiteral("Климат: средняя температура наружного воздуха по месяцам, °С"),
                  QString::fromUtf8(kTemperatureFile), false, temperature, 0,
                  [](const RefTables& t) {
                      QVector<QStringList> rows;
                      for (const ClimateRecord& r : t.climate)
                          rows.append(QStringList{r.name} + r.temperature.mid(0, 13));
                      return rows;
                  },
                  nonEmptyLineField});
    // records of the two files are matched by line: the names are those of the temperatures
    layouts.append({QStringLiteral("climateHumidity"),
                  QStringLiteral("Климат: относительная влажность наружного воздуха по месяцам, %"),
                  QString::fromUtf8(kHumidityFile), false,
                  monthColumns("Пункт", CellKind::Fixed, CellKind::Humidity), 0,
                  [](const RefTables& t) {
                      QVector<QStringList> rows;
                      for (const ClimateRecord& r : t.climate)
                          rows.append(QStringList{r.name} + r.humidity.mid(0, 12));
                      return rows;
                  },
                  [](const QStringList& lines, int row, int column) -> std::optional<FileCell> {
                      if (column < 1)
                          return std::nullopt;
                      return nonEmptyLineField(lines, row, column);
                  }});
    // table 5.1: its own optional file, a header line, then the non-empty lines
    layouts.append({QStringLiteral("normativeResistances"),
                  QStringLiteral("Нормативное сопротивление теплопередаче Rт.норм (табл. 5.1)"),
                  QString::fromUtf8(kNormativeResistanceFile), true,
                  columns({{"Наименование", CellKind::Name}, {"Rт.норм, м²·°С/Вт", CellKind::Positive}}), 0,
                  [](const RefTables& t) { return namedValues(t.normativeResistances); },
                  [](const QStringList& lines, int row, int column) -> std::optional<FileCell> {
                      std::optional<FileCell> cell = nonEmptyLineField(lines.mid(1), row, column);
                      if (cell)
                          ++cell->line;
                      return cell;
                  }});
    return layouts;
}

}  // namespace

QStringList RefTableLayout::headings() const
{
    QStringList h;
    for (const RefColumn& c : columns)
        h.append(c.heading);
    return h;
}

QString RefTableLayout::rowKey(const QVector<QStringList>& cells, int row) const
{
    return keyColumn < 0 ? QString::number(row + 1) : cells.value(row).value(keyColumn);
}

const QVector<RefTableLayout>& refTableLayouts()
{
    static const QVector<RefTableLayout> layouts = buildingAndRegionLayouts() + coefficientLayouts() + fileLayouts();
    return layouts;
}

const RefTableLayout* refTableLayout(const QString& id)
{
    for (const RefTableLayout& s : refTableLayouts())
        if (s.id == id)
            return &s;
    return nullptr;
}

int compareCellTexts(const QString& a, const QString& b, bool numeric)
{
    if (numeric) {
        const std::optional<double> x = parseNumber(a);
        const std::optional<double> y = parseNumber(b);
        if (x && y)
            return *x < *y ? -1 : (*x > *y ? 1 : 0);
        if (x || y)
            return x ? -1 : 1;
    }
    return QString::compare(searchKey(a), searchKey(b));
}

bool sameTableValue(const QString& text, const QString& used)
{
    const std::optional<double> a = parseNumber(text);
    const std::optional<double> b = parseNumber(used);
    if (a && b)
        return *a == *b;
    return !a && !b && text.trimmed() == used.trimmed();
}

std::optional<UsedReference> usedTableValue(const RefTables& tables, const QString& id, int row, int column,
                                            const QString& used, const QString& quantity, const QString& detail)
{
    const RefTableLayout* layout = refTableLayout(id);
    if (!layout || column < 0 || column >= layout->columns.size())
        return std::nullopt;
    const QVector<QStringList> cells = layout->cells(tables);
    if (row < 0 || row >= cells.size() || column >= cells[row].size())
        return std::nullopt;
    const QString text = cells[row][column];
    if (!sameTableValue(text, used))
        return std::nullopt;
    const QString key = layout->rowKey(cells, row);
    const QString heading = layout->columns[column].heading;
    return UsedReference{quantity, detail, layout->caption, key, heading, text,
                         tables.provenance.origin(id, key, heading, text)};
}

namespace {

// "Таблица «…», строка «…», столбец «…»": the cell a message is about.
QString cellName(const RefTableLayout& layout, const QVector<QStringList>& cells, int row, int column)
{
    const QString rowName = layout.keyColumn < 0 ? QString::number(row + 1) : layout.rowKey(cells, row);
    return QStringLiteral("Таблица «%1», строка «%2», столбец «%3»")
        .arg(layout.caption, rowName, layout.columns.value(column).heading);
}

QString checkedName(const QString& text)
{
    if (text.isEmpty())
        throw AppError(QStringLiteral("наименование не заполнено. Введите наименование."));
    if (text.contains(u';'))
        throw AppError(QStringLiteral("знак «;» не допускается — он разделяет поля в файле. Уберите этот знак."));
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            throw AppError(QStringLiteral("перевод строки и другие управляющие знаки не допускаются. Уберите их."));
    }
    return text;
}

QString checkedNumber(const QString& text, CellKind kind)
{
    const std::optional<double> v = parseNumber(text);
    if (!v || !std::isfinite(*v))
        throw AppError(QStringLiteral("«%1» не является числом. Введите число.").arg(text));
    const InputRange* range = kind == CellKind::Humidity     ? &kHumidityRange
                              : kind == CellKind::Positive    ? &kPositiveRange
                              : kind == CellKind::NonNegative ? &kNonNegativeRange
                                                              : nullptr;
    if (range && !inRange(*v, *range))
        throw AppError(QStringLiteral("значение «%1» недопустимо. Укажите значение %2.").arg(text, rangeText(*range)));
    QString stored = text;
    stored.replace(u'.', u',');
    return stored;
}

}  // namespace

QString checkedCellText(const RefTableLayout& layout, const QVector<QStringList>& cells, int row, int column,
                        const QString& text)
{
    if (row < 0 || row >= cells.size() || column < 0 || column >= layout.columns.size())
        throw AppError(QStringLiteral("В таблице «%1» нет такой ячейки.").arg(layout.caption));
    const QString where = cellName(layout, cells, row, column);
    const CellKind kind = layout.columns[column].kind;
    if (kind == CellKind::Fixed)
        throw AppError(QStringLiteral("%1: значение этого столбца здесь не меняется — оно берется из другой таблицы "
                                      "справочных данных. Измените его там.")
                           .arg(where));
    if (column >= cells[row].size())
        throw AppError(QStringLiteral("%1: в строке файла нет этого значения. Допишите его в файл в текстовом "
                                      "редакторе.")
                           .arg(where));
    try {
        const QString t = text.trimmed();
        if (column == layout.keyColumn) {
            for (int r = 0; r < cells.size(); ++r)
                if (r != row && cells[r].value(column) == t)
                    throw AppError(QStringLiteral("строка «%1» в таблице уже есть. Введите другое наименование.").arg(t));
        }
        return kind == CellKind::Name ? checkedName(t) : checkedNumber(t, kind);
    } catch (const AppError& e) {
        throw AppError(where + QStringLiteral(": ") + e.message());
    }
}

namespace {

// The byte range of each line of a file, as splitLines divides its text.
struct ByteLine {
    qsizetype begin = 0;
    qsizetype end = 0;
};

QVector<ByteLine> byteLines(const QByteArray& bytes, qsizetype start)
{
    QVector<ByteLine> lines;
    qsizetype begin = start;
    for (qsizetype i = start; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.append({begin, i});
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            begin = i + 1;
        }
    }
    if (begin < bytes.size())
        lines.append({begin, bytes.size()});
    return lines;
}

// The characters [from, to) of a field of a line without its surrounding blanks.
std::optional<std::pair<qsizetype, qsizetype>> fieldSpan(const QString& line, int field)
{
    qsizetype from = 0;
    qsizetype to = line.size();
    if (field >= 0) {
        for (int k = 0; k < field; ++k) {
            const qsizetype semicolon = line.indexOf(u';', from);
            if (semicolon < 0)
                return std::nullopt;
            from = semicolon + 1;
        }
        const qsizetype next = line.indexOf(u';', from);
        to = next < 0 ? line.size() : next;
    }
    while (from < to && line[from].isSpace())
        ++from;
    while (to > from && line[to - 1].isSpace())
        --to;
    return std::make_pair(from, to);
}

}  // namespace

QByteArray replaceFileField(const QByteArray& bytes, const FileCell& cell, const QString& text, const QString& path)
{
    const TextEncoding encoding = textEncodingOf(bytes);
    const QVector<ByteLine> lines = byteLines(bytes, encoding == TextEncoding::Utf8WithBom ? 3 : 0);
    auto fail = [&](const QString& what) {
        throw AppError(QStringLiteral("Файл \"%1\", строка %2: %3").arg(path).arg(cell.line + 1).arg(what));
    };
    if (cell.line < 0 || cell.line >= lines.size())
        fail(QStringLiteral("в файле нет этой строки. Проверьте файл."));
    const ByteLine& l = lines[cell.line];
    const QByteArray old = bytes.mid(l.begin, l.end - l.begin);
    const QString line = decodeTextAs(old, encoding);
    // a byte the encoding does not define would come back as another: nothing is written
    if (encoding == TextEncoding::Cp1251 && encodeCp1251(line) != old)
        fail(QStringLiteral("строка содержит байты, которых нет в кодировке Windows-1251, и не может быть записана "
                            "без искажения. Исправьте строку в текстовом редакторе."));
    const auto span = fieldSpan(line, cell.field);
    if (!span)
        fail(QStringLiteral("в строке нет поля %1. Проверьте файл.").arg(cell.field + 1));
    const QString changed = line.left(span->first) + text + line.mid(span->second);
    QByteArray encoded;
    try {
        encoded = encodeTextStrictly(changed, encoding);
    } catch (const AppError& e) {
        fail(e.message());
    }
    return bytes.left(l.begin) + encoded + bytes.mid(l.end);
}

QString backupPathOf(const QString& path)
{
    return path + QStringLiteral(".bak");
}

namespace {

// Writes `bytes` over `path`, keeping the file as it was before its first change.
void writeWithBackup(const QString& path, const QByteArray& old, const QByteArray& bytes)
{
    const QString backup = backupPathOf(path);
    if (QFileInfo::exists(path) && !QFileInfo::exists(backup))
        writeFileBytes(backup, old);
    writeFileBytes(path, bytes);
}

// Records cells of a row as the user's in the provenance file of `dataDir`.
void recordInProvenance(const QString& dataDir, const RefTables& tables, const RefTableLayout& layout,
                        const QString& rowKey, const QStringList& rowTexts, const QVector<int>& columns,
                        const QStringList& sources, const QDate& date)
{
    Provenance p = tables.provenance;
    const QString newKey = layout.keyColumn >= 0 ? rowTexts.value(layout.keyColumn) : rowKey;
    for (qsizetype i = 0; i < columns.size(); ++i)
        p.recordUserValue(layout.id, i == 0 ? rowKey : newKey, newKey, layout.headings(), rowTexts, columns[i],
                          sources.value(i), date);
    const QString path = QDir(dataDir).filePath(QString::fromUtf8(kProvenanceFile));
    const QByteArray old = QFileInfo::exists(path) ? readFileBytes(path, qint64(16) * 1024 * 1024) : QByteArray();
    writeWithBackup(path, old, p.toJson());
}

// Changes of the provenance file would overwrite what a damaged one still holds.
void requireReadableProvenance(const RefTables& tables)
{
    if (!tables.provenanceProblem.isEmpty())
        throw AppError(tables.provenanceProblem +
                       QStringLiteral("\rЗначения справочных таблиц не изменяются, пока файл не исправлен."));
}

QString originText(const ValueOrigin& origin)
{
    return origin.status == DataStatus::Unknown ? QString() : QStringLiteral(", ") + statusText(origin.status);
}

}  // namespace

void saveReferenceValue(const QString& dataDir, const RefTables& tables, const RefTableLayout& layout, int row,
                        int column, const QString& text, const QDate& date)
{
    requireReadableProvenance(tables);
    const QVector<QStringList> cells = layout.cells(tables);
    const QString stored = checkedCellText(layout, cells, row, column, text);
    const QString old = cells[row][column];
    const QString key = layout.rowKey(cells, row);
    const ValueOrigin before = tables.provenance.origin(layout.id, key, layout.columns[column].heading, old);
    QStringList rowTexts = cells[row];
    rowTexts[column] = stored;
    if (stored != old) {
        const QString path = QDir(dataDir).filePath(layout.fileName);
        const QByteArray bytes = readFileBytes(path, qint64(64) * 1024 * 1024);
        const QStringList lines = splitLines(decodeText(bytes));
        const std::optional<FileCell> place = layout.locate(lines, row, column);
        if (!place)
            throw AppError(cellName(layout, cells, row, column) +
                           QStringLiteral(": в файле нет этого значения. Проверьте файл."));
        const QByteArray changed = replaceFileField(bytes, *place, stored, path);
        // the file with the new value must read as the program reads it at its start,
        // with only this value changed
        RefTables check;
        try {
            check = loadReferenceData(dataDir, {{layout.fileName, splitLines(decodeText(changed))}});
        } catch (const AppError& e) {
            throw AppError(cellName(layout, cells, row, column) + QStringLiteral(": значение «%1» не принято.\r").arg(stored) +
                           e.message());
        }
        QVector<QStringList> expected = cells;
        expected[row][column] = stored;
        if (layout.cells(check) != expected)
            throw AppError(cellName(layout, cells, row, column) +
                           QStringLiteral(": значение «%1» изменило бы при чтении файла и другие значения. Файл не "
                                          "изменен; проверьте его в текстовом редакторе.")
                               .arg(stored));
        writeWithBackup(path, bytes, changed);
    }
    const QString source = stored == old ? QStringLiteral("значение проверено пользователем")
                                         : QStringLiteral("изменено пользователем; прежнее значение «%1»%2")
                                               .arg(old, originText(before));
    recordInProvenance(dataDir, tables, layout, key, rowTexts, {column}, {source}, date);
}

void confirmReferenceRow(const QString& dataDir, const RefTables& tables, const RefTableLayout& layout, int row,
                         const QDate& date)
{
    requireReadableProvenance(tables);
    const QVector<QStringList> cells = layout.cells(tables);
    if (row < 0 || row >= cells.size())
        throw AppError(QStringLiteral("В таблице «%1» нет такой строки.").arg(layout.caption));
    QVector<int> columns;
    QStringList sources;
    for (int c = 0; c < layout.columns.size() && c < cells[row].size(); ++c) {
        if (layout.columns[c].kind == CellKind::Fixed || c == layout.keyColumn)
            continue;
        columns.append(c);
        sources.append(QStringLiteral("значение проверено пользователем"));
    }
    recordInProvenance(dataDir, tables, layout, layout.rowKey(cells, row), cells[row], columns, sources, date);
}

}  // namespace ogrado
