#include "store/error.h"

#include <sqlite3.h>

namespace store {

Error::Error(int code, const QString& message)
    : std::runtime_error(message.toStdString()), code_(code), message_(message) {}

Error Error::notOpen(const QString& message) {
    return Error(SQLITE_CANTOPEN, message);
}

Error Error::misuse(const QString& message) {
    return Error(SQLITE_MISUSE, message);
}

Error::Kind Error::kind() const noexcept {
    switch (primaryCode()) {
        case SQLITE_CANTOPEN:
            return Kind::NotFound;
        case SQLITE_READONLY:
            return Kind::ReadOnly;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return Kind::Locked;
        case SQLITE_NOTADB:
            return Kind::NotADatabase;
        default:
            return Kind::Other;
    }
}

QString Error::report() const {
    return QStringLiteral("エラー番号 %1: %2").arg(code_).arg(message_);
}

}  // namespace store
