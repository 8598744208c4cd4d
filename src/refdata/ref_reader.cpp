#include "refdata/ref_reader.h"

#include "common/app_error.h"
#include "common/number_text.h"
#include "common/text_file.h"
#include "refdata/material_catalogue.h"

#include <QDir>
#include <QFileInfo>

namespace ogrado {

const char* const kNormativeFile = "СтенарийТКП.txt";
const char* const kMaterialsFile = "Стенарий материалы ТКП.txt";
const char* const kTemperatureFile = "СтенарийКлиматТемпература.txt";
const char* const kHumidityFile = "СтенарийКлиматВлажность.txt";

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

class LineCursor {
public:
    LineCursor(const QStringList& lines, const QString& path) : lines_(lines), path_(path) {}

    // The next line, trimmed; a file that ends too early is reported with the section.
    QString next(const QString& section)
    {
        if (pos_ >= lines_.size())
            throw AppError(QStringLiteral("Ошибка в файле справочных данных \"%1\": файл закончился раньше, "
                                          "чем раздел «%2» (строка %3).")
                               .arg(path_, section)
                               .arg(pos_ + 1));
        return lines_[pos_++].trimmed();
    }
    bool atEnd() const { return pos_ >= lines_.size(); }
    int lineNumber() const { return int(pos_); }  // of the line read last

    QStringList fields(const QString& section, int needed)
    {
        const QString line = next(section);
        QStringList f = splitFields(line);
        if (f.size() < needed)
            throw AppError(QStringLiteral("Ошибка в файле справочных данных \"%1\", строка %2 (раздел «%3»): "
                                          "нужно не менее %4 полей, разделенных \";\", найдено %5.")
                               .arg(path_)
                               .arg(lineNumber())
                               .arg(section)
                               .arg(needed)
                               .arg(f.size()));
        return f;
    }

    [[noreturn]] void fail(const QString& what) const
    {
        throw AppError(QStringLiteral("Ошибка в файле справочных данных \"%1\", строка %2: %3")
                           .arg(path_)
                           .arg(lineNumber())
                           .arg(what));
    }

private:
    const QStringList& lines_;
    const QString& path_;
    qsizetype pos_ = 0;
};

void readSaturationSection(LineCursor& cur, SaturationTable& table)
{
    // Every line with two numbers is a row; the first other line closes the section.
    while (!cur.atEnd()) {
        const QString line = cur.next(QString());
        const QStringList f = line.split(u';');
        const auto t = parseNumber(f.value(0));
        if (f.size() < 2 || !t)
            break;
        const auto e = parseNumber(f.mid(1).join(u';'));
        if (!e)
            cur.fail(QStringLiteral("в таблице максимальных парциальных давлений водяного пара значение "
                                    "«%1» не является числом.")
                         .arg(f.mid(1).join(u';').trimmed()));
        if (!table.rows.isEmpty() && float(*t) <= table.rows.last().t)
            cur.fail(QStringLiteral("температуры таблицы максимальных парциальных давлений водяного пара "
                                    "должны возрастать (%1 после %2).")
                         .arg(f.value(0).trimmed(), generalTextSingle(table.rows.last().t)));
        table.rows.append({float(*t), float(*e)});
    }
    if (table.rows.size() < 2)
        throw AppError(QStringLiteral("Ошибка в файле справочных данных: таблица максимальных парциальных "
                                      "давлений водяного пара должна содержать не менее двух строк."));
}

}  // namespace

void readNormativeTables(const QStringList& lines, const QString& path, RefTables& t)
{
    LineCursor cur(lines, path);
    const QString s1 = QStringLiteral("типы зданий");
    cur.next(s1);
    t.buildingTypes.clear();
    for (int i = 0; i < 5; ++i) {
        const QStringList f = cur.fields(s1, 3);
        t.buildingTypes.append({f[0], f[1], f[2]});
    }

    const QString s2 = QStringLiteral("расчетные температуры наружного воздуха");
    cur.next(s2);
    t.designTemperatures.clear();
    for (int i = 0; i < 4; ++i)
        t.designTemperatures.append(cur.fields(s2, 6).mid(0, 6));

    const QString s3 = QStringLiteral("области");
    cur.next(s3);
    t.regions.clear();
    for (int i = 0; i < 6; ++i) {
        const QStringList f = cur.fields(s3, 9);
        t.regions.append({f[0], f.mid(1, 4), f.mid(5, 4)});
    }

    auto readNamed = [&](const QString& section, int count) {
        cur.next(section);
        QVector<NamedValue> v;
        for (int i = 0; i < count; ++i) {
            const QStringList f = cur.fields(section, 2);
            v.append({f[0], f[1]});
        }
        return v;
    };
    t.coefficientN = readNamed(QStringLiteral("коэффициент n"), 5);
    t.innerCoefficients = readNamed(QStringLiteral("коэффициент теплоотдачи внутренней поверхности"), 2);

    const QString s6 = QStringLiteral("графы таблицы температурных перепадов");
    cur.next(s6);
    t.tempDiffColumns.clear();
    for (int i = 0; i < 3; ++i)
        t.tempDiffColumns.append(cur.next(s6));

    const QString s7 = QStringLiteral("типы ограждающих конструкций");
    t.envelopeTypes.clear();
    for (int i = 0; i < 8; ++i) {
        const QStringList f = cur.fields(s7, 4);
        t.envelopeTypes.append({f[0], f.mid(1, 3)});
    }

    t.outerCoefficients = readNamed(QStringLiteral("коэффициент теплоотдачи наружной поверхности"), 4);

    cur.next(QStringLiteral("максимальные парциальные давления водяного пара"));
    t.saturation.rows.clear();
    readSaturationSection(cur, t.saturation);
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

ClimateTable readClimate(const QStringList& temperatureLines, const QStringList& humidityLines)
{
    auto nonEmpty = [](const QStringList& lines) {
        QStringList out;
        for (const QString& l : lines)
            if (!l.trimmed().isEmpty())
                out.append(l);
        return out;
    };
    const QStringList temps = nonEmpty(temperatureLines);
    const QStringList hums = nonEmpty(humidityLines);
    ClimateTable table;
    for (qsizetype i = 0; i < temps.size(); ++i) {
        const QStringList f = splitFields(temps[i]);
        ClimateRecord r;
        r.name = f.value(0);
        r.temperature = f.mid(1);
        if (i < hums.size())
            r.humidity = splitFields(hums[i]).mid(1);
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

RefTables loadReferenceData(const QString& dataDir)
{
    const QDir dir(dataDir);
    auto path = [&](const char* name) { return dir.filePath(QString::fromUtf8(name)); };
    RefTables t;
    const QString normative = path(kNormativeFile);
    readNormativeTables(readTextLines(normative), normative, t);
    t.materials = readMaterials(readTextLines(path(kMaterialsFile)));
    // The user's own materials follow; a missing file holds none, a damaged one is
    // reported and left as it is, and the program works with the shipped materials.
    const QString own = userMaterialsPath(dataDir);
    if (QFileInfo::exists(own)) {
        try {
            t.materials += readUserMaterials(readTextLines(own), own, int(t.materials.size()) + 1);
        } catch (const AppError& e) {
            t.userMaterialsProblem =
                e.message() + QStringLiteral("\rФайл оставлен без изменений; программа работает с материалами ТКП. "
                                             "Свои материалы недоступны, пока файл не исправлен.");
        }
    }
    const QStringList temperature = readTextLines(path(kTemperatureFile));
    const QStringList humidity = readTextLines(path(kHumidityFile));
    t.climate = readClimate(temperature, humidity);
    return t;
}

}  // namespace ogrado
