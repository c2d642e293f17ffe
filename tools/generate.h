#pragma once

#include <QStringList>
#include <QTextStream>

namespace tools {

// "generate PATH COUNT [--seed N] [--unread N]": a new data file with COUNT made-up messages.
int generateCommand(QStringList args, QTextStream& out, QTextStream& err);

}  // namespace tools
