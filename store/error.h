#pragma once

#include <QString>
#include <stdexcept>

namespace store {

// An engine failure: the SQLite extended result code and the engine's own text.
class Error : public std::runtime_error {
public:
    Error(int code, const QString& message);

    int code() const noexcept { return code_; }
    int primaryCode() const noexcept { return code_ & 0xff; }
    const QString& message() const noexcept { return message_; }

    // "エラー番号 N: text", for reports that show the engine's own words.
    QString report() const;

private:
    int code_;
    QString message_;
};

}  // namespace store
