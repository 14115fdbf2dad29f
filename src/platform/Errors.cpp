#include "Errors.h"

TolvaneError::TolvaneError(const QString &message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{
}
