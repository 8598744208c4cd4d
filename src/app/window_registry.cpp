// The window of each form model other than the main window.
#include "app/application.h"
#include "common/form_view.h"
#include "library/library_windows.h"

namespace ogrado {

void registerWindows(GuiHost& host, Application& app)
{
    Q_UNUSED(app);
    // host.registerWindow("frmX", [](FormModel& f, QWidget* main) { return new XWindow(static_cast<XForm&>(f), main); });
    host.registerWindow(QStringLiteral("frmPir"),
                        [](FormModel& f, QWidget* main) { return new PirWindow(static_cast<PirForm&>(f), main); });
    host.registerWindow(QStringLiteral("frmOpenPir"),
                        [](FormModel& f, QWidget* main) { return new OpenPirWindow(static_cast<OpenPirForm&>(f), main); });
}

}  // namespace ogrado
