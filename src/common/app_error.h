// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one error type of the program: a Russian message for the user, and the inputs it
// is about, so that the window can put the focus on them and mark them.
#include <QString>
#include <QStringList>
#include <exception>

namespace ogrado {

// The inputs a message names: controls of one window by their control names (the first
// takes the focus), and that window's name (empty: the window that shows the message).
struct FieldRef {
    QString form;
    QStringList controls;

    bool isEmpty() const { return controls.isEmpty(); }
};

// A control of the window `form`.
inline FieldRef fieldOf(const QString& form, const QString& control)
{
    return FieldRef{form, {control}};
}

class AppError : public std::exception {
public:
    explicit AppError(QString message, QString title = QStringLiteral("Ошибка"))
        : message_(std::move(message)), title_(std::move(title)), utf8_(message_.toUtf8()) {}
    AppError(QString message, FieldRef field) : AppError(std::move(message)) { field_ = std::move(field); }
    AppError(QString message, QString title, FieldRef field) : AppError(std::move(message), std::move(title))
    {
        field_ = std::move(field);
    }

    const QString& message() const { return message_; }
    const QString& title() const { return title_; }
    // The inputs the message is about; empty when it names none a window holds.
    const FieldRef& field() const { return field_; }
    // The same error about these inputs, unless it already names some.
    AppError& orField(const FieldRef& field)
    {
        if (field_.isEmpty())
            field_ = field;
        return *this;
    }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QString title_;
    QByteArray utf8_;
    FieldRef field_;
};

}  // namespace ogrado
