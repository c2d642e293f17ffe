#include "tools/admin/failures.h"

#include <QFileInfo>

#include "store/database.h"
#include "store/location.h"
#include "store/settings_table.h"
#include "tools/admin/cli.h"

namespace admin {
namespace {

QString causeOf(const store::Error& e, const QStringList& arguments) {
    using Kind = store::Error::Kind;
    switch (e.kind()) {
        case Kind::Missing:
            return Text::tr(
                "not found: no such file or folder, or no such database, at the "
                "location given");
        case Kind::NoPermission:
            return Text::tr(
                "no permission: this user may not use the file, a folder on its "
                "path, or the server's data");
        case Kind::ReadOnly:
            return Text::tr("cannot write: the file, its file system or the server is read-only");
        case Kind::Locked:
            return Text::tr(
                "another workstation's lock did not clear in time; try again in a "
                "moment");
        case Kind::NotADataFile:
            for (const QString& argument : arguments) {
                if (isSettingsFile(argument)) {
                    return Text::tr("%1 is a settings file, not a data file").arg(argument);
                }
            }
            return Text::tr(
                "not a data file: another kind of file, or no message table MEMO_T "
                "with all its columns");
        case Kind::ConnectionLost:
            return Text::tr(
                "the database server cannot be reached, or the connection to it "
                "was lost");
        case Kind::TimedOut:
            return Text::tr("the database server did not answer in time");
        case Kind::TextRefused:
            return Text::tr("a text that the data cannot hold");
        case Kind::Other:
            break;
    }
    return Text::tr("the operation failed");
}

}  // namespace

QString storeFailureText(const store::Error& e, const QStringList& arguments) {
    const QString detail = e.engineCode().isEmpty()
                               ? e.message()
                               : Text::tr("engine code %1: %2").arg(e.engineCode(), e.message());
    return causeOf(e, arguments) + QStringLiteral("\n  ") + detail;
}

bool isSettingsFile(const QString& path) {
    if (store::isServerLocation(path) || !QFileInfo(path).isFile()) {
        return false;
    }
    try {
        store::Workspace{}.openDatabase(path, store::settings::tableName(),
                                        store::settings::requiredColumns());
        return true;
    } catch (const store::Error&) {
        return false;
    }
}

}  // namespace admin
