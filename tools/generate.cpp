#include "tools/generate.h"

namespace tools {

int generateCommand(QStringList, QTextStream&, QTextStream& err) {
    err << "dulvane-admin: generate is not available in this build\n";
    return 2;
}

}  // namespace tools
