// SPDX-License-Identifier: GPL-3.0-or-later
// Switching between two constructions of a project, each the 8-layer wall with 90
// points calculated (its results shown again, nothing recalculated): in the form models
// alone and with the main window drawn on the offscreen platform. And «Рассчитать все»
// over 20 such constructions.
#include "mainwindow/main_window.h"
#include "common/window_host.h"
#include "program/application.h"
#include "refdata/ref_reader.h"

#include <QApplication>
#include <QFile>
#include <QJsonDocument>

#include <benchmark/benchmark.h>

using namespace ogrado;

namespace {

class SilentPrompter : public Prompter {
public:
    MessageAnswer message(const QString&, const QString&, MessageIcon, MessageButtons buttons) override
    {
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    void beep() override {}
};

// The program with `count` constructions of the 8-layer wall, each calculated.
struct Program {
    explicit Program(int count) : ctx(prompter)
    {
        ctx.tables = loadReferenceData(QStringLiteral(OGRADO_SHIPPED_DATA));
        ctx.host = &host;
        app = std::make_unique<Application>(ctx);
        MainForm& m = app->mainForm();
        m.loadForm();
        QFile f(QStringLiteral(OGRADO_TEST_DATA "/wall_8_layers_90_points.json"));
        f.open(QIODevice::ReadOnly);
        applyCase(m, QJsonDocument::fromJson(f.readAll()).object());
        m.userClick(QStringLiteral("cmdOk"));
        for (int k = 1; k < count; ++k)
            m.userClick(QStringLiteral("cmdConstrCopy"));
    }
    SilentPrompter prompter;
    LoadingHost host;
    AppContext ctx;
    std::unique_ptr<Application> app;
};

void switchForms(benchmark::State& state)
{
    Program p(2);
    MainForm& m = p.app->mainForm();
    int i = 0;
    for (auto _ : state)
        m.showConstruction(i ^= 1);
    state.counters["points"] = double(p.ctx.lastCalc->state.pointCount());
}

void switchWindow(benchmark::State& state)
{
    Program p(2);
    MainForm& m = p.app->mainForm();
    MainWindow window(m, p.host);
    window.show();
    QApplication::processEvents();
    int i = 0;
    for (auto _ : state) {
        m.showConstruction(i ^= 1);
        QApplication::processEvents();
    }
}

void calculateAll20(benchmark::State& state)
{
    Program p(20);
    MainForm& m = p.app->mainForm();
    for (auto _ : state)
        m.calculateAll();
    state.counters["constructions"] = double(m.project().count());
}

}  // namespace

BENCHMARK(switchForms)->Unit(benchmark::kMillisecond);
BENCHMARK(switchWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(calculateAll20)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
