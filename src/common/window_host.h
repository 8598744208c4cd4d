// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How form models open windows: the windows build views; tests and the batch front end
// only load the forms.
namespace ogrado {

class FormModel;

class WindowHost {
public:
    virtual ~WindowHost() = default;
    // Shows the form's window, loading the form when it is not loaded.
    virtual void showForm(FormModel& form) = 0;
    // Shows the form's window modally and returns when it is closed.
    virtual void showModal(FormModel& form) = 0;
    // Ends the program at once.
    virtual void quit() = 0;
};

// Windows are not shown; a form only loads (ogrado_calc, benchmarks, fuzzing).
class LoadingHost : public WindowHost {
public:
    void showForm(FormModel& form) override;
    void showModal(FormModel& form) override;
    void quit() override {}
};

}  // namespace ogrado
