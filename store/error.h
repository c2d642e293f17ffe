#pragma once

#include <QString>
#include <stdexcept>

namespace store {

// A failure of the data store: what kind of failure it is, as far as anything above the store
// tells failures apart, a message that names the cause for whoever reads the log or a report,
// and the engine's own code (the file engine's extended result code, or the server's SQLSTATE).
class Error : public std::runtime_error {
public:
    // What went wrong, as far as the callers tell failures apart.
    enum class Kind {
        Missing,         // no data at the location: no file there, no such database, none open
        NoPermission,    // the user may not open the file, search or write its folder, or reach
                         // the server's data
        ReadOnly,        // the file (or the file system, or the server) refuses writing
        Locked,          // another workstation's lock did not clear in time
        NotADataFile,    // the file or database is not a data file (a settings file, another
                         // kind of file, no message table)
        ConnectionLost,  // the server cannot be reached, or went away
        TimedOut,        // the server did not answer in time
        TextRefused,     // a text the engine cannot hold
        Other,
    };

    // A failure of a known kind; engineCode is the engine's code as text ("" when none).
    Error(Kind kind, const QString& message, const QString& engineCode = {});

    // A file that is not there or not open.
    static Error notOpen(const QString& message);
    // A request the store cannot carry out as asked (a count below zero, ...).
    static Error misuse(const QString& message);

    Kind kind() const noexcept { return kind_; }
    const QString& message() const noexcept { return message_; }
    // The engine's own code as text: the file engine's extended result code ("14"), the
    // server's SQLSTATE ("42501"); "" when the failure did not come with one.
    const QString& engineCode() const noexcept { return engineCode_; }
    // The engine's code as a number (the file engine's extended result code), 0 for a failure
    // that did not come with one.
    int code() const noexcept { return code_; }
    int primaryCode() const noexcept { return code_ & 0xff; }

    // "エラー番号 N: text" (or the text alone without a code), for reports that show the
    // engine's own words.
    QString report() const;

private:
    Kind kind_;
    int code_ = 0;
    QString message_;
    QString engineCode_;
};

// A short name of each kind, for logs and reports ("missing", "no-permission", ...).
QString kindName(Error::Kind kind);

}  // namespace store
