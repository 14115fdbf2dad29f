#pragma once

#include <QString>

#include <stdexcept>

// The one error type the program's own code raises. It carries a text fit for a
// message box; a command handler that does not catch it ends, and the
// application's error report shows the text.
class TolvaneError : public std::runtime_error
{
public:
    explicit TolvaneError(const QString &message);

    [[nodiscard]] QString message() const { return m_message; }

private:
    QString m_message;
};
