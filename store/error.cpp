#include "store/error.h"

#include <sqlite3.h>

namespace store {
namespace {

Error::Kind kindOfEngineCode(int code) {
    switch (code & 0xff) {
        case SQLITE_CANTOPEN:
            return Error::Kind::Missing;
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return Error::Kind::NoPermission;
        case SQLITE_READONLY:
            return Error::Kind::ReadOnly;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return Error::Kind::Locked;
        case SQLITE_NOTADB:
            return Error::Kind::NotADataFile;
        default:
            return Error::Kind::Other;
    }
}

}  // namespace

Error::Error(int engineCode, const QString& message)
    : std::runtime_error(message.toStdString()),
      kind_(kindOfEngineCode(engineCode)),
      code_(engineCode),
      message_(message),
      engineCode_(QString::number(engineCode)) {}

Error::Error(Kind kind, const QString& message, const QString& engineCode)
    : std::runtime_error(message.toStdString()),
      kind_(kind),
      code_(engineCode.toInt()),
      message_(message),
      engineCode_(engineCode) {}

Error Error::notOpen(const QString& message) {
    return Error(SQLITE_CANTOPEN, message);
}

Error Error::misuse(const QString& message) {
    return Error(SQLITE_MISUSE, message);
}

QString Error::report() const {
    if (engineCode_.isEmpty()) {
        return message_;
    }
    return QStringLiteral("エラー番号 %1: %2").arg(engineCode_, message_);
}

QString kindName(Error::Kind kind) {
    switch (kind) {
        case Error::Kind::Missing:
            return QStringLiteral("missing");
        case Error::Kind::NoPermission:
            return QStringLiteral("no-permission");
        case Error::Kind::ReadOnly:
            return QStringLiteral("read-only");
        case Error::Kind::Locked:
            return QStringLiteral("locked");
        case Error::Kind::NotADataFile:
            return QStringLiteral("not-a-data-file");
        case Error::Kind::ConnectionLost:
            return QStringLiteral("connection-lost");
        case Error::Kind::TimedOut:
            return QStringLiteral("timed-out");
        case Error::Kind::TextRefused:
            return QStringLiteral("text-refused");
        case Error::Kind::Other:
            break;
    }
    return QStringLiteral("other");
}

}  // namespace store
