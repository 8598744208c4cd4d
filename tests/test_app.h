// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole program on the shipped data, for the tests of form models and windows.
#include "program/application.h"
#include "refdata/ref_reader.h"
#include "session/settings.h"
#include "session/app_context.h"
#include "test_support.h"
#include "test_tables.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace ogrado::test {

// The program on the shipped data with its main window loaded, as at start-up.
struct AppFixture {
    AppFixture() : ctx(prompter)
    {
        ctx.tables = shippedTables();
        ctx.host = &host;
        app = std::make_unique<Application>(ctx);
        app->mainForm().loadForm();
    }
    MainForm& main() { return app->mainForm(); }

    RecordingPrompter prompter;
    FakeHost host;
    AppContext ctx;
    std::unique_ptr<Application> app;
};

// A working folder of its own: the shipped reference data, Isx and Результаты.
struct Workdir {
    Workdir()
    {
        root = dir.path();
        for (const QString& f : QDir(OGRADO_SHIPPED_DATA).entryList({"*.txt"}))
            QFile::copy(QStringLiteral(OGRADO_SHIPPED_DATA "/") + f, root + u'/' + f);
        QDir(root).mkpath("Isx");
        QDir(root).mkpath(QStringLiteral("Результаты"));
    }
    QString isx(const QString& name) const { return root + QStringLiteral("/Isx/") + name + QStringLiteral(".isx"); }
    QString write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(isx(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    }
    QByteArray read(const QString& name) const
    {
        QFile f(isx(name));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

    QTemporaryDir dir;
    QString root;
};

// The windowed program started in a working folder (its settings, its reference data).
struct WorkdirProgram {
    explicit WorkdirProgram(const QString& root, const QString& recentStore = {}) : ctx(prompter)
    {
        ctx.settings = defaultDirectories(root);
        ctx.tables = loadReferenceData(root);
        ctx.host = &host;
        ctx.recentFilesStore = recentStore;
        app = std::make_unique<Application>(ctx);
        app->mainForm().loadForm();
    }
    MainForm& main() { return app->mainForm(); }

    RecordingPrompter prompter;
    FakeHost host;
    AppContext ctx;
    std::unique_ptr<Application> app;
};

}  // namespace ogrado::test
