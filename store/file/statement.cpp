#include "store/file/statement.h"
#include "store/file/engine_error.h"

#include <sqlite3.h>

#include "store/utf8_text.h"

namespace store::file {

void execScript(sqlite3* db, const char* sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
        sqlite3_free(message);
        throw engineError(sqlite3_extended_errcode(db), text);
    }
}

void throwEngineError(sqlite3* db, int rc) {
    int code = rc;
    QString text = QString::fromUtf8(sqlite3_errstr(rc));
    if (db != nullptr && sqlite3_errcode(db) != SQLITE_OK) {
        code = sqlite3_extended_errcode(db);
        text = QString::fromUtf8(sqlite3_errmsg(db));
    }
    throw engineError(code, text);
}

Statement::Statement(sqlite3* db, const QString& sql) : db_(db) {
    const int rc = sqlite3_prepare16_v3(db, sql.utf16(), int(sql.size() * 2), 0, &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        fail(rc);
    }
    if (stmt_ == nullptr) {
        throw engineError(SQLITE_MISUSE, QStringLiteral("空のステートメントです。"));
    }
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

void Statement::fail(int rc) const {
    throwEngineError(db_, rc);
}

void Statement::bind(const Params& params) {
    if (int(params.size()) != sqlite3_bind_parameter_count(stmt_)) {
        throw engineError(SQLITE_RANGE, QStringLiteral("パラメータの数が合いません。"));
    }
    for (size_t i = 0; i < params.size(); ++i) {
        const int index = int(i) + 1;
        int rc = SQLITE_OK;
        if (const auto* param = std::get_if<QString>(&params[i])) {
            // The engine's UTF-16 reader takes any surrogate for the first half of a pair and
            // swallows the character after it.
            const QString text = utf8::withoutLoneSurrogates(*param);
            // An empty text stays an empty text, never a null.
            const void* data = text.isNull() ? static_cast<const void*>(u"") : text.utf16();
            rc = sqlite3_bind_text16(stmt_, index, data, int(text.size() * 2), SQLITE_TRANSIENT);
        } else if (const auto* number = std::get_if<std::int64_t>(&params[i])) {
            rc = sqlite3_bind_int64(stmt_, index, *number);
        } else {
            rc = sqlite3_bind_null(stmt_, index);
        }
        if (rc != SQLITE_OK) {
            fail(rc);
        }
    }
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    fail(rc);
}

}  // namespace store::file
