#include "store/error.h"

namespace store {
namespace {

// The codes the data file's engine gives a file it cannot open and a request it cannot carry
// out, so that the log tells these failures as it tells the engine's own.
const QString kCannotOpen = QStringLiteral("14");
const QString kMisuse = QStringLiteral("21");

}  // namespace

Error::Error(Kind kind, const QString& message, const QString& engineCode)
    : std::runtime_error(message.toStdString()),
      kind_(kind),
      code_(engineCode.toInt()),
      message_(message),
      engineCode_(engineCode) {}

Error Error::notOpen(const QString& message) {
    return Error(Kind::Missing, message, kCannotOpen);
}

Error Error::misuse(const QString& message) {
    return Error(Kind::Other, message, kMisuse);
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
