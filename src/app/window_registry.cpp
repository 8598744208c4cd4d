// The window of each form model other than the main window.
#include "app/application.h"
#include "common/form_view.h"

namespace ogrado {

void registerWindows(GuiHost& host, Application& app)
{
    Q_UNUSED(app);
    // host.registerWindow("frmX", [](FormModel& f, QWidget* main) { return new XWindow(static_cast<XForm&>(f), main); });
    Q_UNUSED(host);
}

}  // namespace ogrado
