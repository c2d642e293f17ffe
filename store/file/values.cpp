#include "store/file/values.h"

#include <sqlite3.h>

#include <string_view>

#include "store/message.h"
#include "store/utf8_text.h"

namespace store::file {
namespace {

// The engine's conversion of a value to UTF-16.
QString convertedText(sqlite3_stmt* stmt, int column) {
    const void* data = sqlite3_column_text16(stmt, column);
    const int bytes = sqlite3_column_bytes16(stmt, column);
    if (data == nullptr) {
        return QStringLiteral("");
    }
    return QString(reinterpret_cast<const QChar*>(data), bytes / 2);
}

// A value that is not Null is never read as a null string.
QString nonNull(QString text) {
    return text.isNull() ? QStringLiteral("") : text;
}

}  // namespace

QString textValue(sqlite3_stmt* stmt, int column, const unsigned char* data, int bytes) {
    if (bytes == 0) {
        return QStringLiteral("");
    }
    bool ok = false;
    QString text = utf8::toQString(data, size_t(bytes), ok);
    return ok ? text : convertedText(stmt, column);
}

QString columnText(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_INTEGER:
            // The engine's own text for a whole number.
            return QString::number(sqlite3_column_int64(stmt, column));
        case SQLITE_TEXT: {
            const unsigned char* data = sqlite3_column_text(stmt, column);
            if (data != nullptr) {
                return textValue(stmt, column, data, sqlite3_column_bytes(stmt, column));
            }
            break;
        }
        default:
            break;
    }
    return convertedText(stmt, column);
}

QString sharedText(sqlite3_stmt* stmt, int column, RepeatedTexts& repeated) {
    const int type = sqlite3_column_type(stmt, column);
    if (type == SQLITE_NULL) {
        return QString();
    }
    const unsigned char* data = nullptr;
    if (type == SQLITE_TEXT && (data = sqlite3_column_text(stmt, column)) != nullptr) {
        const int bytes = sqlite3_column_bytes(stmt, column);
        return repeated.get(std::string_view(reinterpret_cast<const char*>(data), size_t(bytes)),
                            [&] { return textValue(stmt, column, data, bytes); });
    }
    return nonNull(columnText(stmt, column));
}

QString sharedText(sqlite3_stmt* stmt, int column, RepeatedTexts& repeated, std::uint64_t& hash) {
    const int type = sqlite3_column_type(stmt, column);
    if (type == SQLITE_NULL) {
        hash = keptTextHash(nullptr);
        return QString();
    }
    const unsigned char* data = nullptr;
    if (type == SQLITE_TEXT && (data = sqlite3_column_text(stmt, column)) != nullptr) {
        const int bytes = sqlite3_column_bytes(stmt, column);
        return repeated.hashed(
            std::string_view(reinterpret_cast<const char*>(data), size_t(bytes)),
            [&] { return textValue(stmt, column, data, bytes); },
            [](const QString& text) { return keptTextHash(&text); }, hash);
    }
    QString text = nonNull(columnText(stmt, column));
    hash = keptTextHash(&text);
    return text;
}

std::optional<QString> optionalText(sqlite3_stmt* stmt, int column) {
    if (sqlite3_column_type(stmt, column) == SQLITE_NULL) {
        return std::nullopt;
    }
    return nonNull(columnText(stmt, column));
}

}  // namespace store::file
