// The window of each form model other than the main window.
#include "app/application.h"
#include "common/form_view.h"

namespace ogrado {

void registerWindows(GuiHost& host, Application& app)
{
    Q_UNUSED(host);
    Q_UNUSED(app);
}

}  // namespace ogrado
