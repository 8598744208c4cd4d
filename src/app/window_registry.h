// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which view shows which form model: the window classes of the program by form class.
#include "common/form_view.h"

#include <type_traits>

namespace ogrado {

// The window of a `Form` is a `Window`, built on the form model when it is first shown.
// The name comes from the form class, so a window cannot be registered under a wrong one.
template <class Form, class Window>
void registerView(GuiHost& host)
{
    static_assert(std::is_base_of_v<FormModel, Form> && std::is_base_of_v<FormWindow, Window>);
    host.registerWindow(Form::windowName(), [](FormModel& form, QWidget* main) -> FormWindow* {
        return new Window(static_cast<Form&>(form), main);
    });
}

// Registers the view of every window but the main one.
void registerWindows(GuiHost& host);

}  // namespace ogrado
