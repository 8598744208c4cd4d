#pragma once
// The one error type of the program: a Russian message for the user.
#include <QString>
#include <exception>

namespace ogrado {

class AppError : public std::exception {
public:
    explicit AppError(QString message, QString title = QStringLiteral("Ошибка"))
        : message_(std::move(message)), title_(std::move(title)), utf8_(message_.toUtf8()) {}
    const QString& message() const { return message_; }
    const QString& title() const { return title_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QString title_;
    QByteArray utf8_;
};

}  // namespace ogrado
