#include "tools/admin/cli.h"

namespace admin {

Arguments::Arguments(QStringList args, const QStringList& flags, const QStringList& valueOptions,
                     int positionalCount) {
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (!arg.startsWith(QLatin1String("--"))) {
            positional_ << arg;
        } else if (flags.contains(arg)) {
            flags_ << arg;
        } else if (valueOptions.contains(arg)) {
            if (args.isEmpty()) {
                throw UsageError(Text::tr("%1 needs a value").arg(arg));
            }
            options_.insert(arg, args.takeFirst());
        } else {
            throw UsageError(Text::tr("unknown option %1").arg(arg));
        }
    }
    if (positional_.size() != positionalCount) {
        throw UsageError(Text::tr("expected %1 argument(s), got %2")
                             .arg(positionalCount)
                             .arg(positional_.size()));
    }
}

void reportProblems(Io& io, const QStringList& problems) {
    constexpr int kShown = 50;
    for (const QString& p : problems.mid(0, kShown)) {
        io.err << "dulvane-admin: " << p << "\n";
    }
    if (problems.size() > kShown) {
        io.err << "dulvane-admin: " << Text::tr("... and %1 more").arg(problems.size() - kShown)
               << "\n";
    }
    io.err.flush();
}

}  // namespace admin
