// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole program on the shipped data, for the tests of form models and windows.
#include "program/application.h"
#include "session/app_context.h"
#include "test_support.h"
#include "test_tables.h"

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

}  // namespace ogrado::test
