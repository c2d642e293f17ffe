#pragma once

#include <QString>
#include <QStringList>

#include "store/error.h"

namespace admin {

// What a command prints for a failure of the store: a sentence of the command's own, in the
// command line's language, naming the cause by the failure's kind, and on the next line the
// store's detail (its message names the file or folder and keeps the engine's own words).
// arguments are the command's: a settings file among them is named as the cause of a refusal
// to take it as a data file.
QString storeFailureText(const store::Error& e, const QStringList& arguments);

// Whether path is one of the program's settings files (INI_T with its columns), as opposed to
// a data file; false for a server's URI and for anything that is not there.
bool isSettingsFile(const QString& path);

}  // namespace admin
