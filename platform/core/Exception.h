#pragma once
// The one base of every error the program throws. The top-level handler shows Message() as it is.
#include <QString>
#include <exception>

class Exception : public std::exception {
public:
    explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString &Message() const noexcept { return message_; }
    const char *what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// A number or text conversion that failed (e.g. a non-numeric value written into a Float field).
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
