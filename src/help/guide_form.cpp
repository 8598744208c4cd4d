// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/guide_form.h"

#include "common/guide_text.h"

namespace ogrado {

GuideForm::GuideForm(Prompter& prompter, QObject* parent)
    : FormModel(windowName(), prompter, parent), markdown_(guideMarkdown())
{
    setCaption(QStringLiteral("Руководство пользователя"));
    setSizeTwips(12000, 12000);
    if (markdown_.isEmpty())
        markdown_ = QStringLiteral("Руководство не найдено: программа собрана без него.");
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Закрыть"));
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] { unloadForm(); });
}

}  // namespace ogrado
