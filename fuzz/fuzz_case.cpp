// SPDX-License-Identifier: GPL-3.0-or-later
// The case-file reader of ogrado_calc on arbitrary bytes, followed by what "Расчет"
// runs on the main window it filled (with the moisture balance when the case ticks it)
// and the JSON output. Refusals and stops may only end in messages.
#include "batch/batch_output.h"
#include "batch/case_file.h"
#include "common/app_error.h"
#include "common/window_host.h"
#include "program/application.h"
#include "refdata/ref_reader.h"

#include <cstddef>
#include <cstdint>

using namespace ogrado;

namespace {

class SilentPrompter : public Prompter {
public:
    MessageAnswer message(const QString&, const QString&, MessageIcon, MessageButtons buttons) override
    {
        return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? MessageAnswer::Yes
                                                                                            : MessageAnswer::Ok;
    }
    void beep() override {}
};

const RefTables& tables()
{
    static const RefTables t = loadReferenceData(QStringLiteral(OGRADO_SHIPPED_DATA));
    return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QJsonObject caseObject;
    try {
        caseObject =
            parseJsonObject(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), QStringLiteral("fuzz"));
    } catch (const AppError&) {
        return 0;
    }
    SilentPrompter prompter;
    LoadingHost host;
    AppContext ctx(prompter);
    ctx.host = &host;
    ctx.tables = tables();
    Application app(ctx);
    MainForm& form = app.mainForm();
    form.loadForm();
    try {
        applyCase(form, caseObject);
    } catch (const AppError&) {
        return 0;
    }
    form.userClick(QStringLiteral("cmdOk"));
    calcJson(form, ctx.report, ctx.lastCalc, QString());
    return 0;
}
