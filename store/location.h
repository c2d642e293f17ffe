#pragma once

#include <QString>

namespace store {

// Whether a data location names a database server (a postgresql:// or postgres:// URI)
// rather than a file path.
bool isServerLocation(const QString& location);

// The location as it may be shown or logged: a URI's password (in its user part or as a
// password= parameter) becomes "***"; a file path stays as it is.
QString maskedLocation(const QString& location);

// A server's URI with its database (the path after the authority) replaced by database; the
// authority and the parameters stay as they are.
QString withDatabase(const QString& uri, const QString& database);

}  // namespace store
