// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the programs: Qt's own standard windows speak Russian after it, a machine
// without Qt's catalogue still starts (the window programs with a note on stderr), and
// ogrado_calc gives Qt's part of a message in Russian too, with and without its
// drawing module.
#include "app/gui_startup.h"
#include "test_support.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace ogrado;

namespace {

QString buttonText(QDialogButtonBox::StandardButton which)
{
    QDialogButtonBox box(which);
    return box.button(which)->text();
}

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    // Runs first, while no catalogue is installed in this process.
    void missingCatalogueLeavesQtEnglishAndSaysSo()
    {
        QTemporaryDir empty;
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("qtbase_ru\\.qm не найден в .*Установите пакет "
                                                               "qt6-translations-l10n\\.")));
        QVERIFY(!prepareGuiApplication(false, empty.path()));
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("ogrado_n"));
        QCOMPARE(buttonText(QDialogButtonBox::Cancel), QStringLiteral("Cancel"));
    }

    void startUpGivesQtsRussianTexts()
    {
        QVERIFY2(prepareGuiApplication(true),
                 qPrintable(QStringLiteral("qtbase_ru.qm не загружен из %1 (пакет %2)")
                                .arg(qtTranslationFolder(), QLatin1String(kQtTranslationPackage))));
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("ogrado"));
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("ogrado"));
        QCOMPARE(buttonText(QDialogButtonBox::Cancel), QStringLiteral("Отмена"));
        QCOMPARE(buttonText(QDialogButtonBox::Save), QStringLiteral("Сохранить"));
        QCOMPARE(buttonText(QDialogButtonBox::Open), QStringLiteral("Открыть"));
    }

    void calcGivesQtsPartOfAMessageInRussian_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("plain run") << QStringList{};
        QTest::newRow("drawing module") << QStringList{"--chart", "wall.png"};
    }

    void calcGivesQtsPartOfAMessageInRussian()
    {
        QFETCH(QStringList, options);
        QTemporaryDir dir;
        QFile broken(dir.filePath("broken.json"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("{\"txtTv\": ");
        broken.close();
        QProcess calc;
        calc.setWorkingDirectory(dir.path());
        QVERIFY(test::runCalcWithoutDisplay(calc, OGRADO_CALC,
                                            QStringList{"--data", OGRADO_SHIPPED_DATA} + options + QStringList{broken.fileName()}));
        QCOMPARE(calc.exitCode(), 2);
        const QString err = QString::fromUtf8(calc.readAllStandardError());
        // "… не является объектом JSON: " and then Qt's description of the fault
        QVERIFY2(QRegularExpression(QStringLiteral("JSON: \\p{Cyrillic}")).match(err).hasMatch(), qPrintable(err));
        QVERIFY(!QFileInfo::exists(dir.filePath("wall.png")));
    }
};

}  // namespace

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
