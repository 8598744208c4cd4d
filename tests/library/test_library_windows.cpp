// The library windows build every named control of their form models, and the
// user's clicks reach the models.
#include "app/application.h"
#include "library/library_windows.h"
#include "test_support.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace ogrado;

class TestLibraryWindows : public QObject {
    Q_OBJECT
private slots:
    void windowsBuildAndForwardClicks()
    {
        QTemporaryDir dir;
        {
            QFile f(libraryFilePath(dir.path()));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("\\A\r\n\r\nx;1;0;1;1;1;1;1\r\nEND\r\n");
        }
        test::RecordingPrompter prompter;
        test::FakeHost host;
        AppContext ctx(prompter);
        ctx.tables = test::shippedTables();
        ctx.host = &host;
        ctx.settings.dataDir = dir.path();
        Application app(ctx);
        app.mainForm().loadForm();
        app.mainForm().userClick("cmdSp");
        app.mainForm().userClick("cmdOp");
        auto& pir = static_cast<PirForm&>(*app.form("frmPir"));
        auto& open = static_cast<OpenPirForm&>(*app.form("frmOpenPir"));

        PirWindow pirWindow(pir);
        for (const Control& c : pir.controls())
            QVERIFY2(pirWindow.findChild<QWidget*>(c.name), qPrintable(c.name));
        QCOMPARE(pirWindow.windowTitle(), QStringLiteral("Запись и редактирование пирожков"));
        auto* combo = pirWindow.findChild<QComboBox*>("cbo1");
        QVERIFY(combo->isEditable());
        QCOMPARE(combo->currentText(), QStringLiteral("A"));
        pirWindow.show();
        QTest::mouseDClick(combo->lineEdit(), Qt::LeftButton);
        QCOMPARE(app.mainForm().text(MainForm::cellName(1, 0)), QStringLiteral("x"));
        QTest::mouseClick(pirWindow.findChild<QPushButton*>("cmdSave"), Qt::LeftButton);
        QCOMPARE(combo->count(), 2);

        OpenPirWindow openWindow(open);
        for (const Control& c : open.controls())
            QVERIFY2(openWindow.findChild<QWidget*>(c.name), qPrintable(c.name));
        QCOMPARE(openWindow.windowTitle(), QStringLiteral("Загрузить пирожок"));
        QCOMPARE(openWindow.findChild<QListWidget*>("lst1")->count(), 1);
        openWindow.show();
        QTest::mouseClick(openWindow.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
        QVERIFY(!open.isLoaded());
        QVERIFY(!openWindow.isVisible());
        QVERIFY(prompter.shown.isEmpty());
    }
};

QTEST_MAIN(TestLibraryWindows)
#include "test_library_windows.moc"
