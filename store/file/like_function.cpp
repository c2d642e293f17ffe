#include "store/file/like_function.h"

#include <sqlite3.h>

#include <memory>
#include <optional>

#include "store/like.h"

namespace store::file {
namespace {

QString argText(sqlite3_value* v) {
    const void* data = sqlite3_value_text16(v);
    const int bytes = sqlite3_value_bytes16(v);
    return QString(reinterpret_cast<const QChar*>(data), bytes / 2);
}

void deletePattern(void* pattern) {
    delete static_cast<LikePattern*>(pattern);
}

// like(pattern, text). The pattern is read once per statement (kept by the engine while the
// bound pattern stays the same); the text is read in the file's own encoding, UTF-8, without
// a copy. Any text that is not well-formed UTF-8, and any value that is not text, is read as
// UTF-16 through the engine's own conversion, as it always was.
void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc < 2) {
        sqlite3_result_error(ctx, "like() needs a pattern and a text", -1);
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    auto* pattern = static_cast<const LikePattern*>(sqlite3_get_auxdata(ctx, 0));
    std::optional<LikePattern> local;
    if (pattern == nullptr) {
        auto compiled = std::make_unique<LikePattern>(argText(argv[0]));
        const LikePattern* raw = compiled.get();
        sqlite3_set_auxdata(ctx, 0, compiled.release(), deletePattern);
        // The engine keeps it until this call returns at least, unless it failed to.
        pattern = static_cast<const LikePattern*>(sqlite3_get_auxdata(ctx, 0));
        if (pattern != raw) {
            local.emplace(argText(argv[0]));
            pattern = &*local;
        }
    }
    std::optional<bool> m;
    bool done = false;
    if (sqlite3_value_type(argv[1]) == SQLITE_TEXT) {
        const unsigned char* text = sqlite3_value_text(argv[1]);
        const int bytes = sqlite3_value_bytes(argv[1]);
        if (text != nullptr) {
            m = pattern->matchUtf8(text, size_t(bytes), done);
        }
    }
    if (!done) {
        m = pattern->match(argText(argv[1]));
    }
    if (!m) {
        sqlite3_result_error(ctx, "invalid pattern string in Like", -1);
        return;
    }
    sqlite3_result_int(ctx, *m ? 1 : 0);
}

}  // namespace

void installLike(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_function_v2(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr,
                               nullptr);
}

}  // namespace store::file
