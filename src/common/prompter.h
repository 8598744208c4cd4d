#pragma once
// How form models talk to the user: messages, questions and the beep. Windows show
// message boxes, tests record and answer, the batch front end prints to stderr.
#include <QString>

namespace ogrado {

enum class MessageIcon { None, Information, Exclamation, Critical, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class Prompter {
public:
    virtual ~Prompter() = default;
    // A line break inside `text` is the single character CR (13).
    virtual MessageAnswer message(const QString& text, const QString& title, MessageIcon icon,
                                  MessageButtons buttons) = 0;
    virtual void beep() = 0;

    void error(const QString& text, const QString& title = QStringLiteral("Ошибка"))
    {
        message(text, title, MessageIcon::Exclamation, MessageButtons::Ok);
    }
};

}  // namespace ogrado
