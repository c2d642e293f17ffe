#include "store/error.h"

namespace store {

Error::Error(int code, const QString& message)
    : std::runtime_error(message.toStdString()), code_(code), message_(message) {}

QString Error::report() const {
    return QStringLiteral("エラー番号 %1: %2").arg(code_).arg(message_);
}

}  // namespace store
