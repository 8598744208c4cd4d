// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/ref_reader.h"

#include "common/app_error.h"
#include "common/number_text.h"
#include "common/text_file.h"
#include "refdata/material_catalogue.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace ogrado {

const char* const kNormativeFile = "СтенарийТКП.txt";
const char* const kMaterialsFile = "Стенарий материалы ТКП.txt";
const char* const kTemperatureFile = "СтенарийКлиматТемпература.txt";
const char* const kHumidityFile = "СтенарийКлиматВлажность.txt";
const char* const kNormativeResistanceFile = "СтенарийТКП Rт.норм.txt";

QStringList splitFields(const QString& line)
{
    QStringList fields = line.trimmed().split(u';');
    if (fields.size() > 1 && fields.last().trimmed().isEmpty())
        fields.removeLast();
    for (QString& f : fields)
        f = f.trimmed();
    return fields;
}

namespace {

// What to do about a damaged reference file: the program reads it again at its next start.
const QString kRefFileAdvice =
    QStringLiteral("Исправьте файл или восстановите его из поставки программы и запустите программу снова.");

}  // namespace

namespace {

// What the lines of a section look like: the number of fields and which of them are
// numbers. A line of another shape means the file is damaged (a line missing or
// doubled shifts every later section), and start-up stops naming it.
struct Shape {
    int fields = 0;          // 0: the whole line is one text (section 6)
    int firstNumber = 1;     // fields from this one (0-based) to the last are numbers
};

bool isFiniteNumber(const QString& text)
{
    const std::optional<double> v = parseNumber(text);
    return v && std::isfinite(*v);
}

bool hasShape(const QStringList& f, const Shape& shape)
{
    if (f.size() != shape.fields)
        return false;
    for (int k = shape.firstNumber; k < f.size(); ++k)
        if (!isFiniteNumber(f[k]))
            return false;
    return true;
}

// Two numbers separated by ";": a row of the saturation table.
bool isSaturationRow(const QString& line)
{
    return hasShape(splitFields(line), Shape{2, 0});
}

class LineCursor {
public:
    LineCursor(const QStringList& lines, const QString& path) : lines_(lines), path_(path) {}

    // The next line, trimmed; a file that ends too early is reported with the section.
    QString next(const QString& section)
    {
        if (pos_ >= lines_.size())
            throw AppError(QStringLiteral("Ошибка в файле справочных данных \"%1\": файл закончился раньше, "
                                          "чем раздел «%2» (строка %3). %4")
                               .arg(path_, section)
                               .arg(pos_ + 1)
                               .arg(kRefFileAdvice));
        return lines_[pos_++].trimmed();
    }
    bool atEnd() const { return pos_ >= lines_.size(); }
    int lineNumber() const { return int(pos_); }  // of the line read last
    const QStringList& lines() const { return lines_; }
    qsizetype position() const { return pos_; }

    // A data line of the section in its shape.
    QStringList fields(const QString& section, const Shape& shape)
    {
        const QString line = next(section);
        const QStringList f = splitFields(line);
        if (!hasShape(f, shape)) {
            const int n = shape.fields;
            const QString word = n % 10 == 1 && n % 100 != 11                         ? QStringLiteral("поле")
                                 : n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 12 || n % 100 > 14) ? QStringLiteral("поля")
                                                                                               : QStringLiteral("полей");
            QString expected = QStringLiteral("нужно %1 %2, разделенных \";\"").arg(n).arg(word);
            if (shape.firstNumber < shape.fields)
                expected += shape.firstNumber == 0 ? QStringLiteral(", все — числа")
                                                   : QStringLiteral(", начиная с поля %1 — числа").arg(shape.firstNumber + 1);
            fail(QStringLiteral("строка «%1» не похожа на строку раздела «%2» (%3). Возможно, в файле пропущена "
                                "или повторена строка.")
                     .arg(line, section, expected));
        }
        return f;
    }

    // A header (or name) line that must not be a data line: when it is, a line of the
    // previous section is missing or doubled.
    void header(const QString& section, const Shape& data)
    {
        const QString line = next(section);
        if (hasShape(splitFields(line), data) || isSaturationRow(line))
            fail(QStringLiteral("на месте заголовка раздела «%1» стоит строка данных «%2». Возможно, в файле "
                                "пропущена или повторена строка.")
                     .arg(section, line));
    }

    [[noreturn]] void fail(const QString& what) const
    {
        throw AppError(QStringLiteral("Ошибка в файле справочных данных \"%1\", строка %2: %3 %4")
                           .arg(path_)
                           .arg(lineNumber())
                           .arg(what, kRefFileAdvice));
    }

private:
    const QStringList& lines_;
    const QString& path_;
    qsizetype pos_ = 0;
};

// A value of the saturation table in single precision, or the message why not.
std::optional<float> tableValue(const QString& text)
{
    const std::optional<double> v = parseNumber(text);
    if (!v || !(std::fabs(*v) <= double(std::numeric_limits<float>::max())))
        return std::nullopt;
    return float(*v);
}

void readSaturationSection(LineCursor& cur, SaturationTable& table)
{
    const QString section = QStringLiteral("максимальные парциальные давления водяного пара");
    while (!cur.atEnd()) {
        const QString line = cur.next(section);
        if (!isSaturationRow(line)) {
            // The section ends at the first other line, unless it starts like a row or
            // rows follow it: then it is a damaged row and the table must not end
            // silently here.
            if (isFiniteNumber(splitFields(line).value(0)))
                cur.fail(QStringLiteral("строка «%1» не является строкой таблицы максимальных парциальных давлений "
                                        "водяного пара (два числа через «;»).")
                             .arg(line));
            for (qsizetype k = cur.position(); k < cur.lines().size(); ++k) {
                if (isSaturationRow(cur.lines()[k]))
                    cur.fail(QStringLiteral("строка «%1» не является строкой таблицы максимальных парциальных "
                                            "давлений водяного пара (два числа через «;»), а за ней в файле есть "
                                            "строки таблицы (строка %2).")
                                 .arg(line)
                                 .arg(k + 1));
            }
            break;
        }
        const QStringList f = splitFields(line);
        const std::optional<float> t = tableValue(f[0]);
        const std::optional<float> e = tableValue(f[1]);
        if (!t || !e || !std::isfinite(*t) || !std::isfinite(*e))
            cur.fail(QStringLiteral("в таблице максимальных парциальных давлений водяного пара значение строки «%1» "
                                    "не является конечным числом одинарной точности.")
                         .arg(line));
        if (!(*e > 0))
            cur.fail(QStringLiteral("максимальное парциальное давление водяного пара должно быть больше 0 (%1).")
                         .arg(line));
        if (!table.rows.isEmpty() && !(*t > table.rows.last().t && *e > table.rows.last().E))
            cur.fail(QStringLiteral("температуры и давления таблицы максимальных парциальных давлений водяного пара "
                                    "должны возрастать (%1 после %2; %3).")
                         .arg(generalTextSingle(*t), generalTextSingle(table.rows.last().t),
                              generalTextSingle(table.rows.last().E)));
        table.rows.append({*t, *e});
        table.texts.append(f);
    }
    if (table.rows.size() < 2)
        throw AppError(QStringLiteral("Ошибка в файле справочных данных: таблица максимальных парциальных "
                                      "давлений водяного пара должна содержать не менее двух строк. %1")
                           .arg(kRefFileAdvice));
}

}  // namespace

void readNormativeTables(const QStringList& lines, const QString& path, RefTables& t)
{
    LineCursor cur(lines, path);
    const Shape s1shape{3, 1}, s2shape{6, 0}, s3shape{9, 1}, namedShape{2, 1}, s7shape{4, 1};

    const QString s1 = QStringLiteral("типы зданий");
    cur.header(s1, s1shape);
    t.buildingTypes.clear();
    for (int i = 0; i < 5; ++i) {
        const QStringList f = cur.fields(s1, s1shape);
        t.buildingTypes.append({f[0], f[1], f[2]});
    }

    const QString s2 = QStringLiteral("расчетные температуры наружного воздуха");
    cur.header(s2, s2shape);
    t.designTemperatures.clear();
    for (int i = 0; i < 4; ++i)
        t.designTemperatures.append(cur.fields(s2, s2shape));

    const QString s3 = QStringLiteral("области");
    cur.header(s3, s3shape);
    t.regions.clear();
    for (int i = 0; i < 6; ++i) {
        const QStringList f = cur.fields(s3, s3shape);
        t.regions.append({f[0], f.mid(1, 4), f.mid(5, 4)});
    }

    auto readNamed = [&](const QString& section, int count) {
        cur.header(section, namedShape);
        QVector<NamedValue> v;
        for (int i = 0; i < count; ++i) {
            const QStringList f = cur.fields(section, namedShape);
            v.append({f[0], f[1]});
        }
        return v;
    };
    t.coefficientN = readNamed(QStringLiteral("коэффициент n"), 5);
    t.innerCoefficients = readNamed(QStringLiteral("коэффициент теплоотдачи внутренней поверхности"), 2);

    // Section 6 has no numbers: each of its lines is one name. None of them may look
    // like a data line of the neighbouring sections.
    const QString s6 = QStringLiteral("графы таблицы температурных перепадов");
    cur.header(s6, namedShape);
    t.tempDiffColumns.clear();
    for (int i = 0; i < 3; ++i) {
        const QString line = cur.next(s6);
        const QStringList f = splitFields(line);
        if (line.isEmpty() || hasShape(f, s7shape) || hasShape(f, namedShape) || isSaturationRow(line))
            cur.fail(QStringLiteral("строка «%1» не похожа на название графы раздела «%2». Возможно, в файле "
                                    "пропущена или повторена строка.")
                         .arg(line, s6));
        t.tempDiffColumns.append(line);
    }

    const QString s7 = QStringLiteral("типы ограждающих конструкций");
    t.envelopeTypes.clear();
    for (int i = 0; i < 8; ++i) {
        const QStringList f = cur.fields(s7, s7shape);
        t.envelopeTypes.append({f[0], f.mid(1, 3)});
    }

    t.outerCoefficients = readNamed(QStringLiteral("коэффициент теплоотдачи наружной поверхности"), 4);

    cur.header(QStringLiteral("максимальные парциальные давления водяного пара"), namedShape);
    t.saturation = SaturationTable{};
    readSaturationSection(cur, t.saturation);
}

NormativeResistanceTable readNormativeResistances(const QStringList& lines, const QString& path)
{
    NormativeResistanceTable table;
    if (lines.isEmpty())
        return table;
    LineCursor cur(lines, path);
    const QString section = QStringLiteral("нормативное сопротивление теплопередаче Rт.норм");
    const Shape shape{2, 1};
    cur.header(section, shape);
    while (!cur.atEnd()) {
        if (cur.lines()[cur.position()].trimmed().isEmpty()) {
            cur.next(section);
            continue;
        }
        const QStringList f = cur.fields(section, shape);
        if (!(*parseNumber(f[1]) > 0))
            cur.fail(QStringLiteral("нормативное сопротивление теплопередаче должно быть больше 0 («%1»).").arg(f[1]));
        for (const NamedValue& row : table)
            if (row.name == f[0])
                cur.fail(QStringLiteral("строка «%1» уже есть выше: у вида ограждающей конструкции одно значение "
                                        "Rт.норм.")
                             .arg(f[0]));
        table.append({f[0], f[1]});
    }
    return table;
}

namespace {

// Kinds of envelope by the stems of their names, as table 5.1 and table 5.5 name them.
constexpr const char* kEnvelopeKinds[][3] = {
    {"стен", nullptr, nullptr},               // external walls
    {"покрыт", "чердач", nullptr},            // roofs and attic floors
    {"проезд", nullptr, nullptr},             // floors over passages
    {"подвал", "подпол", nullptr},            // floors over basements and undergrounds
    {"окн", "окон", "фонар"},                 // windows, balcony doors, skylights
};

QVector<int> envelopeKinds(const QString& name)
{
    const QString lower = name.toLower();
    QVector<int> kinds;
    for (int k = 0; k < int(std::size(kEnvelopeKinds)); ++k) {
        for (const char* stem : kEnvelopeKinds[k])
            if (stem && lower.contains(QString::fromUtf8(stem))) {
                kinds.append(k);
                break;
            }
    }
    return kinds;
}

}  // namespace

int normativeRowOf(const QString& envelopeType, const NormativeResistanceTable& table)
{
    const QVector<int> wanted = envelopeKinds(envelopeType);
    if (wanted.isEmpty())
        return -1;
    int found = -1;
    for (int r = 0; r < table.size(); ++r) {
        const QVector<int> kinds = envelopeKinds(table[r].name);
        if (!std::all_of(wanted.begin(), wanted.end(), [&](int k) { return kinds.contains(k); }))
            continue;
        if (found >= 0)
            return -1;  // two rows fit: the user chooses
        found = r;
    }
    return found;
}

MaterialTable readMaterials(const QStringList& lines)
{
    MaterialTable materials;
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        materials.append({splitFields(line)});
    }
    return materials;
}

ClimateTable readClimate(const QStringList& temperatureLines, const QStringList& humidityLines,
                         const QString& temperaturePath, const QString& humidityPath)
{
    // the lines with text and their numbers in the file (1-based)
    auto nonEmpty = [](const QStringList& lines) {
        QVector<std::pair<int, QString>> out;
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (!lines[i].trimmed().isEmpty())
                out.append({int(i) + 1, lines[i]});
        return out;
    };
    const auto temps = nonEmpty(temperatureLines);
    const auto hums = nonEmpty(humidityLines);
    ClimateTable table;
    for (qsizetype i = 0; i < temps.size(); ++i) {
        const QStringList f = splitFields(temps[i].second);
        ClimateRecord r;
        r.name = f.value(0);
        r.temperature = f.mid(1);
        if (i < hums.size()) {
            const QStringList h = splitFields(hums[i].second);
            // a line lost or moved in one file would give a station another's humidity
            if (h.value(0).trimmed() != r.name.trimmed())
                throw AppError(QStringLiteral("Ошибка в файле справочных данных \"%1\", строка %2: станция «%3» не "
                                              "совпадает со станцией «%4» в строке %5 файла \"%6\". Станции в файлах "
                                              "температур и влажностей должны идти в одном порядке, по одной в "
                                              "строке. %7")
                                   .arg(humidityPath)
                                   .arg(hums[i].first)
                                   .arg(h.value(0).trimmed(), r.name.trimmed())
                                   .arg(temps[i].first)
                                   .arg(temperaturePath, kRefFileAdvice));
            r.humidity = h.mid(1);
        }
        table.append(r);
    }
    return table;
}

QStringList referenceFileNames()
{
    QStringList names;
    for (const char* name : {kNormativeFile, kMaterialsFile, kTemperatureFile, kHumidityFile})
        names.append(QString::fromUtf8(name));
    return names;
}

RefTables loadReferenceData(const QString& dataDir, const QHash<QString, QStringList>& replaced)
{
    const QDir dir(dataDir);
    auto path = [&](const char* name) { return dir.filePath(QString::fromUtf8(name)); };
    auto lines = [&](const char* name) {
        const auto it = replaced.constFind(QString::fromUtf8(name));
        return it != replaced.constEnd() ? *it : readTextLines(path(name));
    };
    RefTables t;
    const QString normative = path(kNormativeFile);
    readNormativeTables(lines(kNormativeFile), normative, t);
    t.materials = readMaterials(lines(kMaterialsFile));
    // The user's own materials follow; a missing file holds none, a damaged one is
    // reported and left as it is, and the program works with the shipped materials.
    const QString own = userMaterialsPath(dataDir);
    if (QFileInfo::exists(own)) {
        try {
            t.materials += readUserMaterials(readTextLines(own), own, int(t.materials.size()) + 1);
        } catch (const AppError& e) {
            t.userMaterialsProblem =
                e.message() + QStringLiteral("\rФайл оставлен без изменений; программа работает с материалами ТКП. "
                                             "Свои материалы недоступны, пока файл не исправлен. Исправьте файл "
                                             "в текстовом редакторе и запустите программу снова.");
        }
    }
    t.climate = readClimate(lines(kTemperatureFile), lines(kHumidityFile), path(kTemperatureFile), path(kHumidityFile));
    // table 5.1 is optional: without its file no normative resistance is known
    const QString norms = path(kNormativeResistanceFile);
    if (replaced.contains(QString::fromUtf8(kNormativeResistanceFile)) || QFileInfo::exists(norms))
        t.normativeResistances = readNormativeResistances(lines(kNormativeResistanceFile), norms);
    readProvenance(dataDir, t);
    return t;
}

void readProvenance(const QString& dataDir, RefTables& tables)
{
    tables.provenance = Provenance{};
    tables.provenanceProblem.clear();
    const QString file = QDir(dataDir).filePath(QString::fromUtf8(kProvenanceFile));
    if (!QFileInfo::exists(file))
        return;  // the user's own files: no information, and nothing to say about it
    try {
        tables.provenance = Provenance::fromJson(readFileBytes(file, qint64(16) * 1024 * 1024), file);
    } catch (const AppError& e) {
        tables.provenanceProblem = e.message();
    }
}

}  // namespace ogrado
