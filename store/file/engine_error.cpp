#include "store/file/engine_error.h"

#include <sqlite3.h>

namespace store::file {

Error::Kind kindOfCode(int code) {
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

Error engineError(int code, const QString& message) {
    return Error(kindOfCode(code), message, QString::number(code));
}

}  // namespace store::file
