// SPDX-License-Identifier: GPL-3.0-or-later
// Where the reference values come from, and values changed in their files: the shipped
// provenance, the statuses a value takes, a field replaced byte for byte, edits checked
// as the readers check the files.
#include "common/app_error.h"
#include "common/text_file.h"
#include "refdata/provenance.h"
#include "refdata/ref_reader.h"
#include "refdata/ref_table_files.h"
#include "test_support.h"
#include "test_tables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace ogrado;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A copy of the shipped data (with or without its provenance file) in a folder of its own.
struct DataCopy {
    explicit DataCopy(bool withProvenance = true)
    {
        const QDir shipped(QStringLiteral(OGRADO_SHIPPED_DATA));
        for (const QString& name : shipped.entryList(QDir::Files)) {
            if (!withProvenance && name == QString::fromUtf8(kProvenanceFile))
                continue;
            QFile::copy(shipped.filePath(name), dir.filePath(name));
        }
        tables = loadReferenceData(path());
    }
    QString path() const { return dir.path(); }
    QString file(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    // every file of the folder with its bytes
    QHash<QString, QByteArray> snapshot() const
    {
        QHash<QString, QByteArray> files;
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
            files.insert(name, readAll(dir.filePath(name)));
        return files;
    }

    QTemporaryDir dir;
    RefTables tables;
};

const RefTableLayout& layout(const char* id)
{
    const RefTableLayout* s = refTableLayout(QLatin1String(id));
    if (!s)
        qFatal("no table %s", id);
    return *s;
}

// The origin of a cell of a table as the tables hold it now.
ValueOrigin originOf(const RefTables& t, const char* id, int row, int column)
{
    const RefTableLayout& s = layout(id);
    const QVector<QStringList> cells = s.cells(t);
    return t.provenance.origin(s.id, s.rowKey(cells, row), s.columns[column].heading, cells[row][column]);
}

int rowNamed(const RefTables& t, const char* id, const QString& key)
{
    const RefTableLayout& s = layout(id);
    const QVector<QStringList> cells = s.cells(t);
    for (int r = 0; r < cells.size(); ++r)
        if (s.rowKey(cells, r) == key)
            return r;
    return -1;
}

const QDate kDay(2025, 3, 14);

}  // namespace

class TestRefTables : public QObject {
    Q_OBJECT
private slots:
    // Every value of the shipped tables has its status, and the statuses say what
    // data/README.md says: a table edited without its provenance fails here.
    void shippedProvenanceDescribesEveryShippedValue()
    {
        const RefTables t = test::shippedTables();
        QVERIFY(t.provenanceProblem.isEmpty());
        for (const RefTableLayout& s : refTableLayouts()) {
            const QVector<QStringList> cells = s.cells(t);
            QVERIFY2(!cells.isEmpty(), qPrintable(s.id));
            for (int r = 0; r < cells.size(); ++r) {
                for (int c = 0; c < s.columns.size(); ++c) {
                    if (c == s.keyColumn || s.columns[c].kind == CellKind::Fixed || c >= cells[r].size())
                        continue;
                    const ValueOrigin o = originOf(t, qPrintable(s.id), r, c);
                    QVERIFY2(o.status != DataStatus::Unknown && !o.source.isEmpty(),
                             qPrintable(s.id + u' ' + s.rowKey(cells, r) + u' ' + s.columns[c].heading));
                    // nothing shipped was read from the printed code
                    QVERIFY(needsChecking(o.status));
                }
            }
        }
        const int minsk = rowNamed(t, "climateHumidity", QStringLiteral("Минск"));
        QCOMPARE(originOf(t, "climateHumidity", minsk, 1).status, DataStatus::Placeholder);
        QCOMPARE(originOf(t, "climateTemperature", minsk, 1).status, DataStatus::CheckAgainstCode);
        QCOMPARE(originOf(t, "climateTemperature", rowNamed(t, "climateTemperature", QStringLiteral("Могилев")), 1).status,
                 DataStatus::Placeholder);
        QCOMPARE(originOf(t, "buildingTypes", 0, 1).status, DataStatus::CheckAgainstCode);
        QCOMPARE(originOf(t, "buildingTypes", 3, 1).status, DataStatus::Placeholder);
        QCOMPARE(originOf(t, "designTemperatures", 4, 1).status, DataStatus::Placeholder);     // T1(0,98)
        QCOMPARE(originOf(t, "designTemperatures", 4, 3).status, DataStatus::Derived);         // T3(0,92)
        QCOMPARE(originOf(t, "designTemperatures", 4, 4).status, DataStatus::CheckAgainstCode);  // T5(0,92)
        QCOMPARE(originOf(t, "regions", 4, 1).status, DataStatus::Placeholder);  // t(от.)
        QCOMPARE(originOf(t, "regions", 4, 2).status, DataStatus::Derived);      // фи(от.)
        QCOMPARE(originOf(t, "regions", 4, 8).status, DataStatus::Derived);      // z(от.) up to 10 °С
        QCOMPARE(originOf(t, "envelopeTypes", 0, 1).status, DataStatus::Placeholder);
        QCOMPARE(originOf(t, "envelopeTypes", 1, 1).status, DataStatus::CheckAgainstCode);
        QCOMPARE(originOf(t, "envelopeTypes", 7, 3).status, DataStatus::Placeholder);
        QCOMPARE(originOf(t, "saturation", 0, 1).status, DataStatus::Derived);
        QCOMPARE(originOf(t, "materials", 27, 2).status, DataStatus::Placeholder);  // 28 Газосиликат D=500
        QCOMPARE(originOf(t, "materials", 30, 2).status, DataStatus::CheckAgainstCode);
    }

    // The program writes the provenance file as it is shipped: its first change in the
    // window changes only what the user changed.
    void shippedProvenanceIsWrittenBackAsItIs()
    {
        const QString path = QDir(QStringLiteral(OGRADO_SHIPPED_DATA)).filePath(QString::fromUtf8(kProvenanceFile));
        const QByteArray bytes = readAll(path);
        QCOMPARE(Provenance::fromJson(bytes, path).toJson(), bytes);
    }

    // A status belongs to the value it was given to, cell before row before column before
    // table; another text, or a table or row not named, has no information.
    void statusBelongsToTheDescribedValue()
    {
        const QByteArray json = R"J({"tables": {"t": {"status": "по СНиП/СП (проверить)", "source": "табл.",
            "columns": {"b": {"status": "выведено расчетом"}},
            "rows": [{"key": "r1", "values": {"a": "1", "b": "2", "c": "3"}, "status": "заглушка",
                      "cells": {"c": {"status": "введено пользователем", "date": "2025-03-14"}}},
                     {"key": "r2", "values": {"a": "4", "b": "5"}}]}}})J";
        const Provenance p = Provenance::fromJson(json, QStringLiteral("p.json"));
        QCOMPARE(p.origin("t", "r1", "a", "1").status, DataStatus::Placeholder);  // the row's
        QCOMPARE(p.origin("t", "r1", "b", "2").status, DataStatus::Placeholder);  // the row before the column
        const ValueOrigin cell = p.origin("t", "r1", "c", " 3 ");
        QCOMPARE(cell.status, DataStatus::UserEntered);
        QCOMPARE(cell.date, kDay);
        QCOMPARE(p.origin("t", "r2", "b", "5").status, DataStatus::Derived);           // the column's
        QCOMPARE(p.origin("t", "r2", "a", "4").status, DataStatus::CheckAgainstCode);  // the table's
        QCOMPARE(p.origin("t", "r2", "a", "4").source, QStringLiteral("табл."));
        QCOMPARE(p.origin("t", "r1", "a", "1,5").status, DataStatus::Unknown);  // another value
        QCOMPARE(p.origin("t", "r3", "a", "1").status, DataStatus::Unknown);    // a row not named
        QCOMPARE(p.origin("t", "r2", "c", "").status, DataStatus::Unknown);     // a value not described
        QCOMPARE(p.origin("u", "r1", "a", "1").status, DataStatus::Unknown);    // a table not named

        EXPECT_APP_ERROR(Provenance::fromJson(R"({"tables": {"t": {"status": "проверено"}}})", "p.json"), "no error",
                         [](const AppError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("«проверено»")) && e.message().contains("p.json"),
                     qPrintable(e.message()));
        });
    }

    // Files without a provenance file: no information and nothing to say. A damaged one
    // is said once at start and the values have no information either.
    void missingOrDamagedProvenance()
    {
        DataCopy without(false);
        QVERIFY(without.tables.provenanceProblem.isEmpty());
        QCOMPARE(originOf(without.tables, "climateHumidity", 4, 1).status, DataStatus::Unknown);

        DataCopy damaged;
        QFile f(damaged.file(kProvenanceFile));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("{\"tables\": ");
        f.close();
        const RefTables t = loadReferenceData(damaged.path());
        QVERIFY2(t.provenanceProblem.contains(damaged.file(kProvenanceFile)), qPrintable(t.provenanceProblem));
        QCOMPARE(originOf(t, "climateHumidity", 4, 1).status, DataStatus::Unknown);
        // nothing is changed while the file cannot be read: it would be overwritten
        const auto before = damaged.snapshot();
        EXPECT_APP_ERROR(saveReferenceValue(damaged.path(), t, layout("climateHumidity"), 4, 1, "85", kDay), "saved",
                         [](const AppError&) {});
        QCOMPARE(damaged.snapshot(), before);
    }

    // A field is replaced where it stands: blanks around it, the other fields, the line
    // ends and the encoding stay byte for byte.
    void fieldIsReplacedInPlace()
    {
        const QByteArray cp1251 = encodeCp1251(QStringLiteral("Заголовок\r\nЖилые здания; 18;  55 \r\nПоследняя"));
        QCOMPARE(replaceFileField(cp1251, {1, 2}, QStringLiteral("60"), "f"),
                 encodeCp1251(QStringLiteral("Заголовок\r\nЖилые здания; 18;  60 \r\nПоследняя")));
        QCOMPARE(replaceFileField(cp1251, {1, 0}, QStringLiteral("Общежития"), "f"),
                 encodeCp1251(QStringLiteral("Заголовок\r\nОбщежития; 18;  55 \r\nПоследняя")));
        QCOMPARE(replaceFileField(cp1251, {2, -1}, QStringLiteral("Конец"), "f"),
                 encodeCp1251(QStringLiteral("Заголовок\r\nЖилые здания; 18;  55 \r\nКонец")));
        // UTF-8 with its mark and LF line ends stays UTF-8 with LF
        const QByteArray utf8 = "\xEF\xBB\xBF" + QStringLiteral("Минск;86;84\nБрест;86;84\n").toUtf8();
        QCOMPARE(replaceFileField(utf8, {1, 1}, QStringLiteral("90"), "f"),
                 "\xEF\xBB\xBF" + QStringLiteral("Минск;86;84\nБрест;90;84\n").toUtf8());

        auto refused = [](const QByteArray& bytes, FileCell cell, const QString& text, const char* why) {
            EXPECT_APP_ERROR(replaceFileField(bytes, cell, text, QStringLiteral("f.txt")), why, [&](const AppError& e) {
                QVERIFY2(e.message().contains(QStringLiteral("\"f.txt\", строка %1").arg(cell.line + 1)),
                         qPrintable(e.message()));
            });
        };
        refused(cp1251, {3, 0}, QStringLiteral("1"), "a line past the end");
        refused(cp1251, {1, 3}, QStringLiteral("1"), "a field past the end");
        refused(cp1251, {1, 0}, QStringLiteral("Ω здания"), "a character Windows-1251 cannot hold");
        // a byte of the line that is no letter stays as it was
        QCOMPARE(replaceFileField(QByteArray("a;1\r\nb\x98;2\r\n"), {1, 1}, QStringLiteral("3"), "f"),
                 QByteArray("a;1\r\nb\x98;3\r\n"));
    }

    // A value changed in its file reads back after a restart; every other byte of the
    // file is as it was; the file is kept once before its first change; the value is the
    // user's, dated.
    void editSurvivesARestartByteForByte()
    {
        DataCopy data;
        const QString humidity = data.file(kHumidityFile);
        const QByteArray original = readAll(humidity);
        const int minsk = rowNamed(data.tables, "climateHumidity", QStringLiteral("Минск"));
        QCOMPARE(minsk, 4);
        saveReferenceValue(data.path(), data.tables, layout("climateHumidity"), minsk, 1, QStringLiteral(" 90 "), kDay);

        QByteArray expected = original;
        const QByteArray line = encodeCp1251(QStringLiteral("Минск;86;84;"));
        const qsizetype at = expected.indexOf(line);
        QVERIFY(at > 0);
        expected.replace(at, line.size(), encodeCp1251(QStringLiteral("Минск;90;84;")));
        QCOMPARE(readAll(humidity), expected);
        QCOMPARE(readAll(backupPathOf(humidity)), original);

        const RefTables again = loadReferenceData(data.path());  // the next start
        QCOMPARE(again.climate[minsk].monthHumidity(1), QStringLiteral("90"));
        const ValueOrigin o = originOf(again, "climateHumidity", minsk, 1);
        QCOMPARE(o.status, DataStatus::UserEntered);
        QCOMPARE(o.date, kDay);
        QVERIFY2(o.source.contains(QStringLiteral("«86»")), qPrintable(o.source));  // what it replaced
        QCOMPARE(originOf(again, "climateHumidity", minsk, 2).status, DataStatus::Placeholder);  // February
        QVERIFY(QFileInfo::exists(backupPathOf(data.file(kProvenanceFile))));

        // a second change keeps the backup of the first
        saveReferenceValue(data.path(), again, layout("climateHumidity"), minsk, 2, QStringLiteral("85.5"), kDay);
        QCOMPARE(readAll(backupPathOf(humidity)), original);
        QCOMPARE(loadReferenceData(data.path()).climate[minsk].monthHumidity(2), QStringLiteral("85,5"));
        // the other files are untouched
        QCOMPARE(readAll(data.file(kNormativeFile)),
                 readAll(QDir(OGRADO_SHIPPED_DATA).filePath(QString::fromUtf8(kNormativeFile))));
        QVERIFY(!QFileInfo::exists(backupPathOf(data.file(kNormativeFile))));
    }

    // Each table's cells lie where its file holds them: changing each value of the first
    // and last row of every table reads back as that value and nothing else.
    void everyTableWritesWhereItReads()
    {
        DataCopy data;
        for (const RefTableLayout& s : refTableLayouts()) {
            const int last = int(s.cells(data.tables).size()) - 1;
            for (int r : {0, last}) {
                for (int c = 0; c < s.columns.size(); ++c) {
                    if (s.columns[c].kind == CellKind::Fixed || c == s.keyColumn)
                        continue;
                    const QVector<QStringList> cells = s.cells(data.tables);
                    const QString old = cells[r][c];
                    // a value the readers take in every column: a name, or a number
                    // between its neighbours in the saturation table
                    const bool saturation = s.id == QLatin1String("saturation");
                    const QString next = s.columns[c].kind == CellKind::Name ? old + QStringLiteral(" (изм.)")
                                         : saturation && c == 0 && r == last ? old + QStringLiteral(",5")
                                         : saturation ? old + (old.contains(u',') ? QStringLiteral("01") : QStringLiteral(",01"))
                                                      : QStringLiteral("1,5");
                    const QString what = s.id + u' ' + QString::number(r) + u' ' + s.columns[c].heading;
                    try {
                        saveReferenceValue(data.path(), data.tables, s, r, c, next, kDay);
                    } catch (const AppError& e) {
                        QFAIL(qPrintable(what + u' ' + e.message()));
                    }
                    data.tables = loadReferenceData(data.path());
                    QVector<QStringList> expected = cells;
                    expected[r][c] = next;
                    QVERIFY2(s.cells(data.tables) == expected, qPrintable(what));
                    QCOMPARE(originOf(data.tables, qPrintable(s.id), r, c).status, DataStatus::UserEntered);
                }
            }
        }
    }

    // A value the readers or the calculations would refuse is refused naming its cell,
    // and every file stays as it was.
    void refusedEditLeavesTheFilesUntouched_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("said");
        QTest::newRow("humidity above 100") << "climateHumidity" << 4 << 1 << "101"
                                            << "строка «Минск», столбец «Январь»: значение «101» недопустимо";
        QTest::newRow("not a number") << "climateTemperature" << 4 << 3 << "тепло" << "«тепло» не является числом";
        QTest::newRow("λ of 0") << "materials" << 27 << 2 << "0" << "больше 0";
        QTest::newRow("name with ;") << "buildingTypes" << 0 << 0 << "Жилые; здания" << "знак «;»";
        QTest::newRow("empty name") << "coefficientN" << 1 << 0 << " " << "не заполнено";
        QTest::newRow("name taken") << "regions" << 0 << 0 << "Минская" << "уже есть";
        QTest::newRow("shown from another table") << "climateHumidity" << 4 << 0 << "Минск-2" << "из другой таблицы";
        // the reader wants the saturation table rising
        QTest::newRow("saturation out of order") << "saturation" << 1 << 0 << "-41" << "должны возрастать";
        QTest::newRow("saturation E falling") << "saturation" << 2 << 1 << "1" << "должны возрастать";
    }
    void refusedEditLeavesTheFilesUntouched()
    {
        QFETCH(QString, table);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, said);
        DataCopy data;
        const auto before = data.snapshot();
        EXPECT_APP_ERROR(saveReferenceValue(data.path(), data.tables, *refTableLayout(table), row, column, text, kDay),
                         "accepted", [&](const AppError& e) {
            QVERIFY2(e.message().contains(said), qPrintable(e.message()));
            QVERIFY2(e.message().startsWith(QStringLiteral("Таблица «")), qPrintable(e.message()));
        });
        QCOMPARE(data.snapshot(), before);
    }

    // Files of the user's own without provenance: a changed value is the user's, the
    // others of its row stay without information.
    void editOfFilesWithoutProvenance()
    {
        DataCopy data(false);
        saveReferenceValue(data.path(), data.tables, layout("regions"), 1, 1, QStringLiteral("-2,1"), kDay);
        const RefTables t = loadReferenceData(data.path());
        QVERIFY(t.provenanceProblem.isEmpty());
        QCOMPARE(originOf(t, "regions", 1, 1).status, DataStatus::UserEntered);
        QCOMPARE(originOf(t, "regions", 1, 2).status, DataStatus::Unknown);
        QCOMPARE(originOf(t, "regions", 2, 1).status, DataStatus::Unknown);
        QVERIFY(!QFileInfo::exists(backupPathOf(data.file(kProvenanceFile))));  // there was none to keep
    }

    // "Значения строки проверены": the row's values become the user's; a renamed row
    // keeps what was recorded for it; the data file is not written.
    void confirmedAndRenamedRows()
    {
        DataCopy data;
        const QByteArray file = readAll(data.file(kMaterialsFile));
        confirmReferenceRow(data.path(), data.tables, layout("materials"), 27, kDay);
        QCOMPARE(readAll(data.file(kMaterialsFile)), file);
        RefTables t = loadReferenceData(data.path());
        for (int c = 1; c <= 6; ++c)
            QCOMPARE(originOf(t, "materials", 27, c).status, DataStatus::UserEntered);
        QCOMPARE(originOf(t, "materials", 28, 2).status, DataStatus::CheckAgainstCode);  // the next row as it was

        saveReferenceValue(data.path(), t, layout("materials"), 27, 0, QStringLiteral("28 Газосиликат D500 (автоклавный)"),
                           kDay);
        t = loadReferenceData(data.path());
        QCOMPARE(t.materials[27].name(), QStringLiteral("28 Газосиликат D500 (автоклавный)"));
        QCOMPARE(originOf(t, "materials", 27, 2).status, DataStatus::UserEntered);
        QCOMPARE(originOf(t, "materials", 27, 0).status, DataStatus::UserEntered);
    }

    // The note names the values that need checking, grouped by status in one line.
    void noteGroupsTheUncheckedValues()
    {
        auto used = [](const char* quantity, const char* detail, DataStatus s) {
            return UsedReference{QString::fromUtf8(quantity), QString::fromUtf8(detail), {}, {}, {}, {}, {s, {}, {}}};
        };
        QCOMPARE(uncheckedValuesNote({used("tн", "", DataStatus::UserEntered), used("n", "", DataStatus::Unknown),
                                      used("α(в)", "", DataStatus::Normative)}),
                 QString());
        QCOMPARE(uncheckedValuesNote({used("фи(от.)", "", DataStatus::Derived), used("tн", "", DataStatus::Placeholder),
                                      used("материал «А»", "λ(А)", DataStatus::Placeholder),
                                      used("материал «А»", "μ", DataStatus::Placeholder),
                                      used("материал «А»", "μ", DataStatus::Placeholder),
                                      used("n", "", DataStatus::CheckAgainstCode)}),
                 QStringLiteral("Расчет использует непроверенные справочные значения: заглушка — tн, материал «А» (λ(А), "
                                "μ); выведено расчетом — фи(от.); по СНиП/СП (проверить) — n."));
        // the months of a climate: three in a row and more as a range
        QVector<UsedReference> months;
        for (const char* m : {"январь", "февраль", "март", "апрель", "сентябрь", "октябрь", "декабрь"})
            months.append(used("климат «Минск», фи(н.)", m, DataStatus::Placeholder));
        QCOMPARE(uncheckedValuesNote(months), QStringLiteral("Расчет использует непроверенные справочные значения: "
                                                             "заглушка — климат «Минск», фи(н.) (январь–апрель, "
                                                             "сентябрь, октябрь, декабрь)."));
    }
};

QTEST_GUILESS_MAIN(TestRefTables)
#include "test_ref_tables.moc"
