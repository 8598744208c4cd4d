#pragma once
// Helpers shared by the test programs: a prompter that records and answers, a window
// host that only loads forms, and the shipped reference data.
#include "session/app_context.h"
#include "program/application.h"
#include "common/form_model.h"
#include "refdata/ref_reader.h"

#include <QProcess>
#include <QStringList>
#include <QVector>

#include <functional>

namespace ogrado::test {

struct Shown {
    QString text;
    QString title;
    MessageIcon icon;
};

class RecordingPrompter : public Prompter {
public:
    MessageAnswer message(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons) override
    {
        shown.append({text, title, icon});
        if (!answers.isEmpty())
            return answers.takeFirst();
        // an unanswered three-way question changes nothing
        if (buttons == MessageButtons::YesNoCancel)
            return MessageAnswer::Cancel;
        return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
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

inline RefTables shippedTables()
{
    static const RefTables tables = loadReferenceData(QStringLiteral(OGRADO_SHIPPED_DATA));
    return tables;
}

// The program on the shipped data with its main window loaded, as at start-up.
struct AppFixture {
    AppFixture() : ctx(prompter)
    {
        ctx.tables = shippedTables();
        ctx.host = &host;
        app = std::make_unique<Application>(ctx);
        app->mainForm().loadForm();
    }
    MainForm& main() { return app->mainForm(); }

    RecordingPrompter prompter;
    FakeHost host;
    AppContext ctx;
    std::unique_ptr<Application> app;
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

}  // namespace ogrado::test
