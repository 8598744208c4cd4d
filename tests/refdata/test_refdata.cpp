// SPDX-License-Identifier: GPL-3.0-or-later
// The reference file readers and the shipped data.
#include "common/app_error.h"
#include "common/number_text.h"
#include "common/text_file.h"
#include "refdata/material_catalogue.h"
#include "refdata/ref_reader.h"
#include "test_support.h"
#include "test_tables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace ogrado;

namespace {

// A normative tables file in the layout of the reader: `sep` follows each ";".
QStringList normativeLines(const QString& sep, bool closingLine, int saturationRows = 3)
{
    auto row = [&](QStringList f) { return f.join(QStringLiteral(";") + sep); };
    QStringList l;
    l << QStringLiteral("Типы зданий");
    for (int i = 1; i <= 5; ++i)
        l << row({QStringLiteral("Здание %1").arg(i), QStringLiteral("18"), QStringLiteral("55")});
    l << QStringLiteral("Температуры");
    for (int i = 1; i <= 4; ++i)
        l << row({QString::number(-20 - i), "-21", "-22", "-23", "-24", "-25"});
    l << QStringLiteral("Области");
    for (int i = 1; i <= 6; ++i)
        l << row({QStringLiteral("Область %1").arg(i), "-1,6", "83", "444", "202", "-0,4", "82", "490", "223"});
    l << QStringLiteral("n");
    for (int i = 1; i <= 5; ++i)
        l << row({QStringLiteral("n %1").arg(i), "1"});
    l << QStringLiteral("альфа(в)");
    l << row({"Стены", "8,7"}) << row({"Потолки", "7,6"});
    l << QStringLiteral("Графы");
    l << QStringLiteral("Графа 1; с точкой с запятой") << QStringLiteral("Графа 2") << QStringLiteral("Графа 3");
    for (int i = 1; i <= 8; ++i)
        l << row({QStringLiteral("Тип %1").arg(i), "6", "4,5", "7"});
    l << QStringLiteral("альфа(н)");
    for (int i = 1; i <= 4; ++i)
        l << row({QStringLiteral("Наружная %1").arg(i), "23"});
    l << QStringLiteral("E");
    for (int i = 0; i < saturationRows; ++i)
        l << row({QString::number(i), QString::number(600 + 50 * i)});
    if (closingLine)
        l << QStringLiteral("Конец таблицы");
    return l;
}

void writeFile(const QString& path, const QStringList& lines, bool utf8)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    f.write(utf8 ? text.toUtf8() : encodeCp1251(text));
}

}  // namespace

class TestRefData : public QObject {
    Q_OBJECT
private slots:
    void normativeFileWithAndWithoutBlanks_data()
    {
        QTest::addColumn<QString>("sep");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("blank, cp1251") << QStringLiteral(" ") << false;
        QTest::newRow("no blank, utf8") << QString() << true;
    }
    void normativeFileWithAndWithoutBlanks()
    {
        QFETCH(QString, sep);
        QFETCH(bool, utf8);
        QTemporaryDir dir;
        const QString path = dir.filePath("n.txt");
        writeFile(path, normativeLines(sep, true), utf8);
        RefTables t;
        readNormativeTables(readTextLines(path), path, t);
        QCOMPARE(t.buildingTypes.size(), 5);
        QCOMPARE(t.buildingTypes[0].name, QStringLiteral("Здание 1"));
        QCOMPARE(t.buildingTypes[0].tIn, QStringLiteral("18"));  // "; 18" and ";18" alike
        QCOMPARE(t.buildingTypes[0].phiIn, QStringLiteral("55"));
        QCOMPARE(t.designTemperatures[3][0], QStringLiteral("-24"));
        QCOMPARE(t.regions[5].name, QStringLiteral("Область 6"));
        QCOMPARE(t.regions[0].set2, (QStringList{"-0,4", "82", "490", "223"}));
        QCOMPARE(t.tempDiffColumns[0], QStringLiteral("Графа 1; с точкой с запятой"));
        QCOMPARE(t.envelopeTypes[7].tempDiff, (QStringList{"6", "4,5", "7"}));
        QCOMPARE(t.outerCoefficients[3].value, QStringLiteral("23"));
        QCOMPARE(t.saturation.rows.size(), 3);
        QCOMPARE(t.saturation.rows[2].E, 700.0f);
    }

    void saturationSectionWithoutClosingLineKeepsEveryRow()
    {
        RefTables t;
        readNormativeTables(normativeLines(QStringLiteral(" "), false, 57), QStringLiteral("n.txt"), t);
        QCOMPARE(t.saturation.rows.size(), 57);
        readNormativeTables(normativeLines(QStringLiteral(" "), true, 57), QStringLiteral("n.txt"), t);
        QCOMPARE(t.saturation.rows.size(), 57);
    }

    void malformedNormativeFileNamesFileAndLine()
    {
        QStringList lines = normativeLines(QStringLiteral(" "), true);
        lines[3] = QStringLiteral("Здание без значений");  // line 4: a building type without fields
        RefTables tables;
        EXPECT_APP_ERROR(readNormativeTables(lines, QStringLiteral("/d/СтенарийТКП.txt"), tables), "no error",
                         [&](const AppError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("/d/СтенарийТКП.txt")) &&
                         e.message().contains(QStringLiteral("строка 4")),
                     qPrintable(e.message()));
            // the start-up stops: the message says how to get going again
            QVERIFY2(e.message().endsWith(QStringLiteral(" Исправьте файл или восстановите его из поставки программы и "
                                                         "запустите программу снова.")),
                     qPrintable(e.message()));
        });
        QStringList bad = normativeLines(QStringLiteral(" "), true);
        bad[bad.size() - 2] = QStringLiteral("2; много");
        QVERIFY_THROWS_EXCEPTION(AppError, [&] {
            RefTables t;
            readNormativeTables(bad, QStringLiteral("n"), t);
        }());
        QVERIFY_THROWS_EXCEPTION(AppError, [&] {
            RefTables t;
            readNormativeTables(normativeLines(QStringLiteral(" "), true).mid(0, 20), QStringLiteral("n"), t);
        }());
    }

    // A line that is not a row inside the saturation table stops start-up when rows
    // follow it; the rows rise in t and E and hold finite numbers.
    void saturationTableErrorsNameTheLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("said");
        QTest::newRow("typo") << "1S; 650" << "не является строкой таблицы";
        QTest::newRow("empty line between rows") << "" << "не является строкой таблицы";
        QTest::newRow("temperature not rising") << "0; 650" << "возрастать";
        QTest::newRow("E not rising") << "1; 600" << "возрастать";
        QTest::newRow("E beyond single precision") << "1; 1e39" << "конечным числом";
        QTest::newRow("three values") << "1; 650; 7" << "не является строкой таблицы";
    }
    void saturationTableErrorsNameTheLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, said);
        QStringList lines = normativeLines(QStringLiteral(" "), true, 4);
        const qsizetype second = lines.size() - 4;  // rows 0..3, then the closing line
        lines[second] = line;
        RefTables t;
        EXPECT_APP_ERROR(readNormativeTables(lines, QStringLiteral("/d/СтенарийТКП.txt"), t), "no error",
                         [&](const AppError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("/d/СтенарийТКП.txt")) &&
                         e.message().contains(QStringLiteral("строка %1").arg(second + 1)) && e.message().contains(said),
                     qPrintable(e.message()));
        });
    }

    // Deleting or doubling one line of a section of fixed length shifts every later
    // section: start-up stops instead, naming the file and a line.
    void shiftedSectionsStopStartUp()
    {
        const QString path = QStringLiteral(OGRADO_SHIPPED_DATA "/СтенарийТКП.txt");
        const QStringList lines = readTextLines(path);
        qsizetype saturationHeader = 0;
        for (qsizetype i = 0; i < lines.size() && !saturationHeader; ++i)
            if (lines[i].trimmed().startsWith(QStringLiteral("-40;")))
                saturationHeader = i - 1;
        QVERIFY(saturationHeader > 40);
        auto refused = [&](const QStringList& changed) {
            try {
                RefTables t;
                readNormativeTables(changed, path, t);
                return false;
            } catch (const AppError& e) {
                return e.message().contains(path) && e.message().contains(QStringLiteral("строка"));
            }
        };
        for (qsizetype i = 0; i <= saturationHeader; ++i) {
            QStringList deleted = lines;
            deleted.removeAt(i);
            QVERIFY2(refused(deleted), qPrintable(QStringLiteral("deleted line %1").arg(i + 1)));
            QStringList doubled = lines;
            doubled.insert(i, lines[i]);
            QVERIFY2(refused(doubled), qPrintable(QStringLiteral("doubled line %1").arg(i + 1)));
        }
        QStringList doubledRow = lines;
        doubledRow.insert(saturationHeader + 10, lines[saturationHeader + 10]);
        QVERIFY(refused(doubledRow));
        RefTables t;
        readNormativeTables(lines, path, t);  // the file itself is sound
        QCOMPARE(t.saturation.rows.first().t, -40.0f);
    }

    void materialAndClimateLines()
    {
        const MaterialTable m = readMaterials({QStringLiteral("1 Бетон;1800;0,7;0,81;8,69;9,76;0,12"),
                                               QStringLiteral("2 Кирпич; 1700 ;0,6;0,7;8;9;0,11;"), QString(),
                                               QStringLiteral("3 Без полей")});
        QCOMPARE(m.size(), 3);
        QCOMPARE(m[0].field(7), QStringLiteral("0,12"));
        QCOMPARE(m[1].field(2), QStringLiteral("1700"));
        QCOMPARE(m[1].fields.size(), 7);  // the final ";" starts no field
        QCOMPARE(m[2].field(3), QString());
        const ClimateTable c =
            readClimate({QStringLiteral("Минск;-6,9;-6,2;-2;5,5;12,7;16;17,7;16,3;11,6;5,8;0,2;-4,3;5,5")},
                        {QStringLiteral("Минск;86;84;79;72;68;71;74;76;80;84;88;88")}, QStringLiteral("t.txt"),
                        QStringLiteral("f.txt"));
        QCOMPARE(c[0].name, QStringLiteral("Минск"));
        QCOMPARE(c[0].monthTemperature(1), QStringLiteral("-6,9"));
        QCOMPARE(c[0].monthTemperature(12), QStringLiteral("-4,3"));
        QCOMPARE(c[0].monthHumidity(12), QStringLiteral("88"));
    }

    // The two climate files pair their stations by order: a humidity line moved or lost
    // would give a station another's humidity, so a station named differently stops the
    // reading, naming both files and lines (blank lines are not counted as stations).
    void climateStationsArePairedByName()
    {
        QTemporaryDir dir;
        for (const QString& name : QDir(OGRADO_SHIPPED_DATA).entryList({"*.txt"}, QDir::Files))
            QVERIFY(QFile::copy(QDir(OGRADO_SHIPPED_DATA).filePath(name), dir.filePath(name)));
        const QString humidity = dir.filePath(QStringLiteral("СтенарийКлиматВлажность.txt"));
        const QString temperature = dir.filePath(QStringLiteral("СтенарийКлиматТемпература.txt"));
        QStringList lines = readTextLines(humidity);
        QCOMPARE(lines.value(4).section(u';', 0, 0), QStringLiteral("Минск"));
        const RefTables shipped = loadReferenceData(dir.path());

        // a blank line between stations changes nothing
        QStringList withBlank = lines;
        withBlank.insert(2, QString());
        writeTextLines(humidity, withBlank);
        QCOMPARE(loadReferenceData(dir.path()).climate[4].humidity, shipped.climate[4].humidity);

        // Минск moved to the first line
        QStringList moved = lines;
        moved.move(4, 0);
        writeTextLines(humidity, moved);
        EXPECT_APP_ERROR(loadReferenceData(dir.path()), "Минск's humidity under Брест", [&](const AppError& e) {
            QCOMPARE(e.message(), QStringLiteral("Ошибка в файле справочных данных \"%1\", строка 1: станция «Минск» "
                                                 "не совпадает со станцией «Брест» в строке 1 файла \"%2\". Станции "
                                                 "в файлах температур и влажностей должны идти в одном порядке, по "
                                                 "одной в строке. Исправьте файл или восстановите его из поставки "
                                                 "программы и запустите программу снова.")
                                      .arg(humidity, temperature));
        });
        // a line lost in the middle
        QStringList lost = lines;
        lost.removeAt(1);
        writeTextLines(humidity, lost);
        EXPECT_APP_ERROR(loadReferenceData(dir.path()), "a lost line", [&](const AppError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("строка 2: станция «Гомель» не совпадает со станцией «Витебск»")),
                     qPrintable(e.message()));
        });
    }

    void missingReferenceFileNamesIt()
    {
        QTemporaryDir dir;
        EXPECT_APP_ERROR(loadReferenceData(dir.path()), "no error", [&](const AppError& e) {
            QVERIFY(e.message().contains(QStringLiteral("СтенарийТКП.txt")));
        });
    }

    void shippedDataAgreesWithTheStartTexts()
    {
        const RefTables t = test::shippedTables();
        QCOMPARE(t.buildingTypes.size(), 5);
        QCOMPARE(t.buildingTypes[0].tIn, QStringLiteral("18"));
        QCOMPARE(t.buildingTypes[0].phiIn, QStringLiteral("55"));
        QCOMPARE(t.regions.size(), 6);
        const QStringList regions = {"Брестская",   "Витебская", "Гомельская",
                                     "Гродненская", "Минская",   "Могилевская"};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(t.regions[i].name, regions[i]);
        QCOMPARE(t.coefficientN.size(), 5);
        QCOMPARE(t.coefficientN[0].value, QStringLiteral("1"));
        QCOMPARE(t.innerCoefficients[0].value, QStringLiteral("8,7"));
        QCOMPARE(t.outerCoefficients[0].value, QStringLiteral("23"));
        QCOMPARE(t.tempDiffColumns.size(), 3);
        QCOMPARE(t.envelopeTypes.size(), 8);
        QCOMPARE(t.envelopeTypes[0].tempDiff[0], QStringLiteral("6"));
        // five-day temperatures (fact sheet 2a) and the heating period of Минская, set 1
        QCOMPARE(t.designTemperatures[3], (QStringList{"-20", "-25", "-24", "-22", "-24", "-25"}));
        QCOMPARE(t.regions[4].set1[0], QStringLiteral("-1,6"));
        QCOMPARE(t.regions[4].set1[3], QStringLiteral("202"));
        // appendix Е from -40 to +40 °С in steps of 1 °С
        QCOMPARE(t.saturation.rows.size(), 81);
        QCOMPARE(t.saturation.rows.first().t, -40.0f);
        QCOMPARE(t.saturation.rows.first().E, 12.6f);
        QCOMPARE(t.saturation.rows[58].E, 2064.0f);  // +18 °С
        QCOMPARE(t.saturation.rows.last().E, 7375.0f);
        QCOMPARE(t.climate.size(), 8);
        QCOMPARE(t.climate[4].name, QStringLiteral("Минск"));
        QCOMPARE(t.climate[4].monthTemperature(7), QStringLiteral("17,7"));
        QCOMPARE(t.climate[0].monthHumidity(1), QStringLiteral("86"));
    }

    void shippedMaterialsHoldTheExampleWall()
    {
        const RefTables t = test::shippedTables();
        QVERIFY(t.materials.size() > 100);
        auto find = [&](const QString& name) -> const Material* {
            for (const Material& m : t.materials)
                if (m.name().section(u' ', 1) == name)
                    return &m;
            return nullptr;
        };
        const Material* lime = find(QStringLiteral("Раствор известково-песчаный"));
        QVERIFY(lime);
        QCOMPARE(lime->fields.mid(1, 6), (QStringList{"1600", "0,7", "0,81", "8,69", "9,76", "0,12"}));
        const Material* cement = find(QStringLiteral("Раствор цементно-песчаный"));
        QVERIFY(cement);
        QCOMPARE(cement->fields.mid(2, 5), (QStringList{"0,76", "0,93", "9,6", "11,09", "0,09"}));
        QVERIFY(find(QStringLiteral("Газосиликат D=500")));
        QVERIFY(find(QStringLiteral("Белтеп ПП100")));
        for (const Material& m : t.materials) {
            QCOMPARE(m.fields.size(), 7);
            for (int k = 2; k <= 7; ++k)
                QVERIFY2(parseNumber(m.field(k)), qPrintable(m.name()));
        }
    }

    void findMaterialsBySubstringCaseAndYo()
    {
        const MaterialTable t = readMaterials({"1 Маты минераловатные;75;1;1;1;1;1", "2 Бетон;2400;1;1;1;1;1",
                                               "3 Плиты полужёсткие МИНЕРАЛОВАТНЫЕ;200;1;1;1;1;1",
                                               "4 Плита жесткая;100;1;1;1;1;1", "5 Ёлка;500;1;1;1;1;1"});
        QCOMPARE(findMaterials(t, "мин"), (QVector<int>{0, 2}));
        QCOMPARE(findMaterials(t, "МиН"), (QVector<int>{0, 2}));
        // "е" and "ё" are one letter, whichever the name or the text holds
        QCOMPARE(findMaterials(t, "жест"), (QVector<int>{2, 3}));
        QCOMPARE(findMaterials(t, "ЖЁСТ"), (QVector<int>{2, 3}));
        QCOMPARE(findMaterials(t, "елк"), (QVector<int>{4}));
        QCOMPARE(findMaterials(t, "3 пл"), (QVector<int>{2}));  // the number is part of the name shown
        QCOMPARE(findMaterials(t, "стекло"), QVector<int>{});
        QCOMPARE(findMaterials(t, ""), (QVector<int>{0, 1, 2, 3, 4}));
        QCOMPARE(findMaterials(t, "  "), (QVector<int>{0, 1, 2, 3, 4}));
        QCOMPARE(findMaterials(t, "мин жёст"), (QVector<int>{2}));
        QCOMPARE(findMaterials(t, "мин бетон"), QVector<int>{});

        // several words: each must occur, in any order, blanks around them ignored; the
        // density the shipped names carry in brackets is a word like any other
        const MaterialTable plates = readMaterials(
            {"89 Плиты мягкие, полужёсткие и жёсткие минераловатные (СП 23-101-2004) (150);150;1;1;1;1;1",
             "90 Плиты мягкие, полужёсткие и жёсткие минераловатные (СП 23-101-2004) (125);125;1;1;1;1;1",
             "125 Плиты пенополистирольные (25);25;1;1;1;1;1"});
        QCOMPARE(findMaterials(plates, "плиты 125"), (QVector<int>{1, 2}));  // "125" is also a number
        QCOMPARE(findMaterials(plates, "плиты (125)"), (QVector<int>{1}));
        QCOMPARE(findMaterials(plates, "  (150)   МИНЕРАЛОВАТНЫЕ "), (QVector<int>{0}));
        QCOMPARE(findMaterials(plates, "жест 23-101 мин"), (QVector<int>{0, 1}));
        QCOMPARE(findMaterials(plates, "плиты стекло"), QVector<int>{});
    }

    void ownMaterialEntryIsChecked_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("message");
        const QStringList good{"Плита XYZ", "110", "0,037", "0,04", "0,6", "0,7", "0,3"};
        auto with = [&](int k, const QString& v) {
            QStringList t = good;
            t[k] = v;
            return t;
        };
        QTest::newRow("empty name") << with(0, "  ") << "Поле «Наименование» не заполнено. Введите наименование материала.";
        QTest::newRow("separator") << with(0, "Плита; XYZ")
                                   << "Поле «Наименование»: знак «;» не допускается — он разделяет поля в файле "
                                      "материалов. Уберите этот знак.";
        QTest::newRow("line break") << with(0, "Плита\rXYZ")
                                    << "Поле «Наименование»: перевод строки и другие управляющие знаки не допускаются. "
                                       "Уберите их.";
        QTest::newRow("outside cp1251")
            << with(0, "Плита €XYZ ✓") << "Поле «Наименование»: знак «✓» нельзя записать в файл материалов (кодировка "
                                          "Windows-1251). Уберите этот знак.";
        // the shipped "31 Раствор известково-песчаный", by another case and blanks
        QTest::newRow("name taken") << with(0, " раствор  ИЗВЕСТКОВО-песчаный ")
                                    << "Поле «Наименование»: материал «Раствор известково-песчаный» уже есть в "
                                       "каталоге (№ 31). Введите другое наименование.";
        QTest::newRow("name taken, е for ё")
            << with(0, "Сосна и ель поперек волокон")
            << "Поле «Наименование»: материал «Сосна и ель поперёк волокон» уже есть в каталоге (№ 56). Введите "
               "другое наименование.";
        QTest::newRow("density empty") << with(1, "") << "Поле «Объемная масса, кг/м3» не заполнено. Введите число.";
        QTest::newRow("density text") << with(1, "сто") << "Поле «Объемная масса, кг/м3»: «сто» не является числом. Введите "
                                                             "число.";
        QTest::newRow("density zero")
            << with(1, "0") << "Поле «Объемная масса, кг/м3»: значение «0» недопустимо. Укажите значение больше нуля.";
        QTest::newRow("λА negative") << with(2, "-0,04")
                                     << "Поле «Коэффициент теплопроводности λА»: значение «-0,04» недопустимо. "
                                        "Укажите значение больше нуля.";
        QTest::newRow("λБ zero") << with(3, "0,0")
                                 << "Поле «Коэффициент теплопроводности λБ»: значение «0,0» недопустимо. Укажите "
                                    "значение больше нуля.";
        QTest::newRow("λБ two commas") << with(3, "0,0,4")
                                       << "Поле «Коэффициент теплопроводности λБ»: «0,0,4» не является числом. "
                                          "Введите число.";
        QTest::newRow("sА negative") << with(4, "-1")
                                     << "Поле «Коэффициент теплоусвоения sА»: значение «-1» недопустимо. Укажите "
                                        "значение не меньше нуля.";
        QTest::newRow("sБ empty") << with(5, "") << "Поле «Коэффициент теплоусвоения sБ» не заполнено. Введите число.";
        QTest::newRow("μ negative") << with(6, "-0,1")
                                    << "Поле «Коэффициент паропроницания μ»: значение «-0,1» недопустимо. Укажите "
                                       "значение не меньше нуля.";
        QTest::newRow("μ overflow") << with(6, "1e999") << "Поле «Коэффициент паропроницания μ»: «1e999» не является "
                                                           "числом. Введите число.";
    }

    void ownMaterialEntryIsChecked()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, message);
        EXPECT_APP_ERROR(checkMaterialEntry(texts, test::shippedTables().materials), "accepted",
                         [&](const AppError& e) {
            QCOMPARE(e.message(), message);
        });
    }

    void ownMaterialsAreNumberedOnAndWrittenBack()
    {
        MaterialTable t = test::shippedTables().materials;
        const int shipped = int(t.size());
        QCOMPARE(shipped, 136);
        // zero s and μ pass; a decimal point is stored as a comma, blanks go
        const QStringList a = checkMaterialEntry({" Плита А ", "110", "0.037", "0,04", "0", "0,7", "0"}, t);
        QCOMPARE(a, (QStringList{"Плита А", "110", "0,037", "0,04", "0", "0,7", "0"}));
        addOwnMaterial(t, a);
        addOwnMaterial(t, checkMaterialEntry({"Блок Б", "450", "0,11", "0,12", "2", "2,1", "0,2"}, t));
        addOwnMaterial(t, checkMaterialEntry({"Плита В", "30", "0,033", "0,035", "0,3", "0,35", "0,01"}, t));
        QCOMPARE(t[136].name(), QStringLiteral("137 Плита А"));
        QCOMPARE(t[138].name(), QStringLiteral("139 Плита В"));
        QVERIFY(t[137].own && !t[135].own);
        // a name already taken is refused, except by the material that holds it
        QVERIFY_THROWS_EXCEPTION(AppError, checkMaterialEntry({"плита а", "1", "1", "1", "1", "1", "1"}, t));
        replaceOwnMaterial(t, 136, checkMaterialEntry({"Плита А", "120", "0,038", "0,041", "0,6", "0,7", "0,3"}, t, 136));
        QCOMPARE(t[136].fields, (QStringList{"137 Плита А", "120", "0,038", "0,041", "0,6", "0,7", "0,3"}));
        removeOwnMaterial(t, 137);
        QCOMPARE(t.size(), shipped + 2);
        QCOMPARE(t[137].name(), QStringLiteral("138 Плита В"));  // numbered on again
        QVERIFY_THROWS_EXCEPTION(AppError, removeOwnMaterial(t, 0));  // a shipped material stays
        QVERIFY_THROWS_EXCEPTION(AppError, replaceOwnMaterial(t, 5, a));
        QCOMPARE(t.size(), shipped + 2);

        const QStringList lines = userMaterialLines(t);
        QCOMPARE(lines, (QStringList{"137 Плита А;120;0,038;0,041;0,6;0,7;0,3", "138 Плита В;30;0,033;0,035;0,3;0,35;0,01"}));
        // read back after a data update that brought two more shipped materials
        const MaterialTable back = readUserMaterials(lines, "u.txt", 139);
        QCOMPARE(back.size(), 2);
        QCOMPARE(back[0].name(), QStringLiteral("139 Плита А"));
        QCOMPARE(back[1].fields.mid(1), t[137].fields.mid(1));
        QVERIFY(back[0].own);
    }

    void userFileLines_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("error");  // empty: read
        QTest::newRow("written by hand") << QStringList{"", "Утеплитель ABC; 35 ;0.036;0,038;0,3;0,33;0,4;", "  "} << "";
        QTest::newRow("too few fields") << QStringList{"1 Плита;100;1;1;1;1;1", "", "Блок;500;0,1;0,1;2"}
                                        << "строка 3: нужно не менее 7 полей, разделенных \";\", найдено 5.";
        QTest::newRow("not a number") << QStringList{"Блок;500;0,1;0,1;2;2;мю"}
                                      << "строка 1: Поле «Коэффициент паропроницания μ»: «мю» не является числом. "
                                         "Введите число.";
        QTest::newRow("zero λ") << QStringList{"Блок;500;0;0,1;2;2;0,1"}
                                << "строка 1: Поле «Коэффициент теплопроводности λА»: значение «0» недопустимо. "
                                   "Укажите значение больше нуля.";
        QTest::newRow("no name") << QStringList{";500;0,1;0,1;2;2;0,1"} << "строка 1: нет наименования материала.";
    }

    void userFileLines()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, error);
        try {
            const MaterialTable t = readUserMaterials(lines, "/d/Стенарий материалы пользователя.txt", 137);
            QVERIFY2(error.isEmpty(), "accepted");
            QCOMPARE(t.size(), 1);
            // no number in front: the whole first field is the name
            QCOMPARE(t[0].fields, (QStringList{"137 Утеплитель ABC", "35", "0,036", "0,038", "0,3", "0,33", "0,4"}));
            QCOMPARE(t[0].plainName(), QStringLiteral("Утеплитель ABC"));
        } catch (const AppError& e) {
            QVERIFY2(!error.isEmpty(), qPrintable(e.message()));
            QCOMPARE(e.message(), "Файл своих материалов \"/d/Стенарий материалы пользователя.txt\", " + error);
        }
    }

    void shippedAndOwnMaterialsAreReadTogether()
    {
        QTemporaryDir dir;
        for (const QString& name : QDir(OGRADO_SHIPPED_DATA).entryList({"*.txt"}, QDir::Files))
            QVERIFY(QFile::copy(QDir(OGRADO_SHIPPED_DATA).filePath(name), dir.filePath(name)));
        // no file of own materials: none, and nothing to report
        RefTables t = loadReferenceData(dir.path());
        QCOMPARE(t.materials.size(), 136);
        QVERIFY(t.userMaterialsProblem.isEmpty());

        const QString own = userMaterialsPath(dir.path());
        QCOMPARE(QFileInfo(own).fileName(), QStringLiteral("Стенарий материалы пользователя.txt"));
        writeFile(own, {"5 Плита А;120;0,038;0,041;0,6;0,7;0,3", "", "Блок Б;450;0,11;0,12;2;2,1;0,2"}, false);
        t = loadReferenceData(dir.path());
        QCOMPARE(t.materials.size(), 138);
        QCOMPARE(t.materials[135].name(), QStringLiteral("136 Стекло оконное"));
        QVERIFY(!t.materials[135].own);
        QCOMPARE(t.materials[136].name(), QStringLiteral("137 Плита А"));
        QCOMPARE(t.materials[137].name(), QStringLiteral("138 Блок Б"));
        QCOMPARE(t.materials[137].field(7), QStringLiteral("0,2"));
        QVERIFY(t.materials[136].own && t.materials[137].own);

        // a damaged file: reported with its line, left as it was, the shipped materials only
        writeFile(own, {"Плита А;120;0,038;0,041;0,6;0,7;0,3", "Блок Б;450;0,11"}, false);
        QFile f(own);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        t = loadReferenceData(dir.path());
        QCOMPARE(t.materials.size(), 136);
        QVERIFY2(t.userMaterialsProblem.startsWith("Файл своих материалов \"" + QDir::toNativeSeparators(own) +
                                                   "\", строка 2: "),
                 qPrintable(t.userMaterialsProblem));
        QVERIFY(t.userMaterialsProblem.contains("программа работает с материалами ТКП"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }

    // Table 5.1: the shipped rows; no file, no values and no message; a damaged file
    // stops start-up naming the file and the line, as the other files do.
    void normativeResistanceFile()
    {
        const NormativeResistanceTable shipped = test::shippedTables().normativeResistances;
        QCOMPARE(shipped.size(), 4);
        QCOMPARE(shipped[0].name, QStringLiteral("Наружные стены"));
        const QStringList values = {"3,2", "6,0", "2,5", "1,0"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(shipped[i].value, values[i]);

        QTemporaryDir dir;
        const QDir shippedDir(QStringLiteral(OGRADO_SHIPPED_DATA));
        for (const QString& name : referenceFileNames())
            QVERIFY(QFile::copy(shippedDir.filePath(name), dir.filePath(name)));
        QVERIFY(loadReferenceData(dir.path()).normativeResistances.isEmpty());

        const QString file = dir.filePath(QString::fromUtf8(kNormativeResistanceFile));
        const QString header = QStringLiteral("Таблица 5.1");
        // an empty line is no row; a last line without its CR LF is one
        writeFile(file, {header, "Стены; 3,2", "", "Покрытия;6"}, false);
        const NormativeResistanceTable read = loadReferenceData(dir.path()).normativeResistances;
        QCOMPARE(read.size(), 2);
        QCOMPARE(read[1].name, QStringLiteral("Покрытия"));
        QCOMPARE(read[1].value, QStringLiteral("6"));

        const struct {
            QStringList lines;
            int line;
            const char* what;
        } damaged[] = {
            {{header, "Стены; 3,2", "Покрытия 6,0"}, 3, "не похожа на строку раздела"},
            {{header, "Стены; 3,2", "Покрытия; шесть"}, 3, "не похожа на строку раздела"},
            {{header, "Стены; 0"}, 2, "больше 0"},
            {{header, "Стены; -3,2"}, 2, "больше 0"},
            {{header, "Стены; 3,2", "Окна; 1,0", "Стены; 3,5"}, 4, "уже есть выше"},
            {{"Стены; 3,2", "Окна; 1,0"}, 1, "на месте заголовка"},
        };
        for (const auto& d : damaged) {
            writeFile(file, d.lines, false);
            EXPECT_APP_ERROR(loadReferenceData(dir.path()), qPrintable(d.lines.join(u'|')), [&](const AppError& e) {
                QVERIFY2(e.message().contains(QStringLiteral("\"%1\", строка %2").arg(file).arg(d.line)),
                         qPrintable(e.message()));
                QVERIFY2(e.message().contains(QString::fromUtf8(d.what)), qPrintable(e.message()));
            });
        }
    }

    // «Тип констр.» preselects the row of table 5.1 of its kind; a type whose name
    // covers two kinds with different rows (over passages and over basements) gets none.
    void normativeRowOfEachEnvelopeType()
    {
        const RefTables t = test::shippedTables();
        QCOMPARE(t.envelopeTypes.size(), 8);
        // walls 3,2; roofs and attic floors 6,0; passages and basements: none; skylights
        // 1,0; walls and roofs of wet rooms and of rooms with large heat gains
        const int expected[8] = {0, 1, -1, 3, 0, 1, 0, 1};
        for (int i = 0; i < 8; ++i)
            QVERIFY2(normativeRowOf(t.envelopeTypes[i].name, t.normativeResistances) == expected[i],
                     qPrintable(t.envelopeTypes[i].name));
        QCOMPARE(normativeRowOf(QStringLiteral("Перекрытия над неотапливаемыми подвалами"), t.normativeResistances), 2);
        QCOMPARE(normativeRowOf(QStringLiteral("Прочее"), t.normativeResistances), -1);
        QCOMPARE(normativeRowOf(QStringLiteral("Наружные стены"), {}), -1);
        // two rows of the same kind: the user chooses
        const NormativeResistanceTable twice = {{"Наружные стены из кирпича", "3,2"}, {"Наружные стены панельные", "2,5"}};
        QCOMPARE(normativeRowOf(QStringLiteral("Наружные стены"), twice), -1);
    }
};

QTEST_GUILESS_MAIN(TestRefData)
#include "test_refdata.moc"
