#pragma once

#include <QString>

#include "store/error.h"

namespace store::file {

// What kind of failure an extended result code of the engine is.
Error::Kind kindOfCode(int code);

// A failure the engine reported: its kind told by its extended result code, which is kept as
// the failure's engine code ("14").
Error engineError(int code, const QString& message);

}  // namespace store::file
