#pragma once

#include <QString>
#include <stdexcept>

namespace store {

// A failure of the data store: the engine's extended result code and the engine's own text.
class Error : public std::runtime_error {
public:
    // What went wrong, as far as the callers tell failures apart.
    enum class Kind {
        NotFound,      // no file at the path, or no file open
        ReadOnly,      // the file or its folder refuses writing
        Locked,        // another workstation's lock did not clear in time
        NotADatabase,  // the file is not a data file
        Other,
    };

    Error(int code, const QString& message);

    // A file that is not there or not open.
    static Error notOpen(const QString& message);
    // A request the store cannot carry out as asked (a count below zero, ...).
    static Error misuse(const QString& message);

    int code() const noexcept { return code_; }
    int primaryCode() const noexcept { return code_ & 0xff; }
    Kind kind() const noexcept;
    const QString& message() const noexcept { return message_; }

    // "エラー番号 N: text", for reports that show the engine's own words.
    QString report() const;

private:
    int code_;
    QString message_;
};

}  // namespace store
