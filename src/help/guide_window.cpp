// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/guide_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace ogrado {

GuideWindow::GuideWindow(GuideForm& form, QWidget* parent) : FormWindow(form, parent)
{
    setWindowFlags(Qt::Window | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(6, 6, 6, 6);
    auto* text = new QTextBrowser(this);
    text->setObjectName(QStringLiteral("txtGuide"));
    text->setOpenExternalLinks(false);
    text->setMarkdown(form.markdown());
    root->addWidget(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button(QStringLiteral("cmdCancel"), QStringLiteral("Закрыть")));
    root->addLayout(buttons);
    setScrollable(false);  // the text scrolls itself
    bindControls();
}

}  // namespace ogrado
