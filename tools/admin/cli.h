#pragma once

#include <QCoreApplication>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <stdexcept>

// The command line of dulvane-admin: each command is a function over its own arguments.
namespace admin {

// The command's own texts are English in the code and Japanese under a Japanese locale
// (translations/dulvane-admin_ja.ts): Text::tr("...") in code, QT_TRANSLATE_NOOP("admin", ...)
// where a text is a constant.
struct Text {
    Q_DECLARE_TR_FUNCTIONS(admin)
};

// Why a command stops, in the words it prints.
class Stop : public std::runtime_error {
public:
    explicit Stop(const QString& why) : std::runtime_error(why.toStdString()), why_(why) {}
    const QString& why() const { return why_; }

private:
    QString why_;
};

// Wrong usage: the command prints why and its help, and exits with 2.
class UsageError : public Stop {
public:
    using Stop::Stop;
};

// The operation failed or was refused: the command prints why and exits with 1.
class Failure : public Stop {
public:
    using Stop::Stop;
};

// A command's arguments split into positional ones, flags and options with a value.
class Arguments {
public:
    // Throws UsageError for an unknown "--" argument, an option without its value, or a
    // positional count other than positionalCount.
    Arguments(QStringList args, const QStringList& flags, const QStringList& valueOptions,
              int positionalCount);

    const QString& operator[](int i) const { return positional_.at(i); }
    bool flag(const QString& name) const { return flags_.contains(name); }
    // The option's value, or fallback when it was not given.
    QString option(const QString& name, const QString& fallback = QString()) const {
        return options_.value(name, fallback);
    }
    bool has(const QString& name) const { return options_.contains(name); }

private:
    QStringList positional_;
    QStringList flags_;
    QMap<QString, QString> options_;
};

struct Io {
    QTextStream& out;
    QTextStream& err;
};

// Prints the first few problems on stderr, one a line, and how many more there are.
void reportProblems(Io& io, const QStringList& problems);

struct Command {
    const char* name;
    // "NAME ARGS" and what the command does, indented, for --help; translated when shown.
    const char* help;
    int (*run)(const QStringList& args, Io& io);
};

// The commands, each defined in its own file.
extern const Command kCreateDataCommand;
extern const Command kCreateSettingsCommand;
extern const Command kCheckCommand;
extern const Command kUpgradeCommand;
extern const Command kGenerateCommand;
extern const Command kExportCommand;
extern const Command kImportCommand;
extern const Command kBackupCommand;
extern const Command kPurgeCommand;
extern const Command kSummaryCommand;
extern const Command kCopyCommand;
extern const Command kRestoreCommand;
extern const Command kStaffCommand;
extern const Command kForwardCommand;
extern const Command kPhrasesCommand;

}  // namespace admin
