// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers shared by the test programs of every level: a prompter that records and
// answers, a window host that only loads forms, the check that a call ends in an
// AppError, and ogrado_calc run without a display. Needs the common level only.
#include "common/app_error.h"
#include "common/form_model.h"
#include "common/prompter.h"
#include "common/window_host.h"

#include <QProcess>
#include <QStringList>
#include <QVector>
#include <QtTest>

#include <functional>

namespace ogrado::test {

struct Shown {
    QString text;
    QString title;
    MessageIcon icon;
    MessageButtons buttons = MessageButtons::Ok;
};

class RecordingPrompter : public Prompter {
public:
    MessageAnswer message(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons) override
    {
        shown.append({text, title, icon, buttons});
        if (!answers.isEmpty())
            return answers.takeFirst();
        // an unanswered three-way question changes nothing
        if (buttons == MessageButtons::YesNoCancel)
            return MessageAnswer::Cancel;
        // a yes/no question unanswered goes on, whichever button is the default
        const bool yesNo = buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoDefaultNo;
        return yesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
    void beep() override { ++beeps; }
    QString chooseFile(FileChoice kind, const QString& title, const QString& path, const QString& filter) override
    {
        fileRequests.append({kind, title, path, filter});
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }

    QStringList texts() const
    {
        QStringList t;
        for (const Shown& s : shown)
            t.append(s.text);
        return t;
    }
    void clear()
    {
        shown.clear();
        beeps = 0;
    }

    QVector<Shown> shown;
    QVector<MessageAnswer> answers;  // answers to the next questions, in order
    int beeps = 0;
    struct FileRequest {
        FileChoice kind;
        QString title;
        QString path;
        QString filter;
    };
    QVector<FileRequest> fileRequests;
    QStringList fileAnswers;  // the files chosen in the next file dialogs; none: cancelled
};

class FakeHost : public WindowHost {
public:
    void showForm(FormModel& form) override
    {
        form.loadForm();
        opened.append(form.formName());
    }
    void showModal(FormModel& form) override
    {
        form.loadForm();
        opened.append(form.formName());
        if (onModal)
            onModal(form);
        form.unloadForm();
    }
    void quit() override { ++quits; }

    QStringList opened;
    std::function<void(FormModel&)> onModal;  // what the user does in a modal window
    int quits = 0;
};

// Runs ogrado_calc with these arguments as a user without a display would (no platform
// chosen, no X or Wayland display) and waits up to a minute. False when it did not end.
inline bool runCalcWithoutDisplay(QProcess& calc, const QString& program, const QStringList& args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    calc.setProcessEnvironment(env);
    calc.start(program, args);
    return calc.waitForFinished(60000);
}

// Runs `call`, which must end in an AppError, and gives the error to `check`, which holds
// the test's assertions on it. A call that ends normally fails the test with `failure`.
// False when the test has failed, so that the test stops there, as after QFAIL.
template <typename Call, typename Check>
bool appErrorChecked(Call&& call, Check&& check, const char* failure, const char* file, int line)
{
    try {
        call();
    } catch (const AppError& e) {
        check(e);
        return !QTest::currentTestFailed();
    }
    QTest::qFail(failure, file, line);
    return false;
}

}  // namespace ogrado::test

// EXPECT_APP_ERROR(call, "what it means that nothing was thrown", [&](const AppError& e) { … });
// The call must throw AppError; the last argument checks the error.
#define EXPECT_APP_ERROR(call, failure, ...)                                                                  \
    do {                                                                                                      \
        if (!::ogrado::test::appErrorChecked([&] { (void)(call); }, __VA_ARGS__, failure, __FILE__, __LINE__)) \
            return;                                                                                           \
    } while (false)
