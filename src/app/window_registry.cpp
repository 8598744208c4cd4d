// The window of each form model other than the main window.
#include "app/application.h"
#include "common/form_view.h"
#include "tools/dew_point_window.h"
#include "tools/limits_window.h"

namespace ogrado {

void registerWindows(GuiHost& host, Application& app)
{
    Q_UNUSED(app);
    // host.registerWindow("frmX", [](FormModel& f, QWidget* main) { return new XWindow(static_cast<XForm&>(f), main); });
    host.registerWindow(QStringLiteral("frmTrosa"), [](FormModel& f, QWidget* main) {
        return new DewPointWindow(static_cast<DewPointForm&>(f), main);
    });
    host.registerWindow(QStringLiteral("frmVariant"), [](FormModel& f, QWidget* main) {
        return new LimitsWindow(static_cast<LimitsForm&>(f), main);
    });
}

}  // namespace ogrado
