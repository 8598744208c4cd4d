// The window of each form model other than the main window.
#include "app/application.h"
#include "airlayer/airlayer_window.h"
#include "common/form_view.h"
#include "moisture/moisture_window.h"

namespace ogrado {

void registerWindows(GuiHost& host, Application& app)
{
    Q_UNUSED(app);
    host.registerWindow(QStringLiteral("frmPr"), [](FormModel& f, QWidget* main) {
        return new AirLayerWindow(static_cast<AirLayerForm&>(f), main);
    });
    host.registerWindow(QStringLiteral("frmVlaga"), [](FormModel& f, QWidget* main) {
        return new MoistureWindow(static_cast<MoistureForm&>(f), main);
    });
}

}  // namespace ogrado
