// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How form models talk to the user: messages, questions and the beep. Windows show
// message boxes, tests record and answer, the batch front end prints to stderr.
#include <QString>

namespace ogrado {

enum class MessageIcon { None, Information, Exclamation, Critical, Question };
// YesNoDefaultNo: "Да" and "Нет" with "Нет" as the default button (Enter), for a question
// whose "Да" goes on with something the user may not have meant.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class Prompter {
public:
    virtual ~Prompter() = default;
    // A line break inside `text` is the single character CR (13).
    virtual MessageAnswer message(const QString& text, const QString& title, MessageIcon icon,
                                  MessageButtons buttons) = 0;
    virtual void beep() = 0;

    // Asks for a file to open or to write: `path` is the folder or the proposed file,
    // `filter` the file types ("Исх. данные (*.isx)", several joined by ";;"). Returns
    // the chosen path, or an empty text when the user cancels (the default here: a
    // front end without file dialogs chooses nothing).
    enum class FileChoice { Open, Save };
    virtual QString chooseFile(FileChoice kind, const QString& title, const QString& path, const QString& filter)
    {
        Q_UNUSED(kind);
        Q_UNUSED(title);
        Q_UNUSED(path);
        Q_UNUSED(filter);
        return {};
    }

    void error(const QString& text, const QString& title = QStringLiteral("Ошибка"))
    {
        message(text, title, MessageIcon::Exclamation, MessageButtons::Ok);
    }
};

}  // namespace ogrado
