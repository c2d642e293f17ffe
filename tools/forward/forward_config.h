#pragma once

#include <QCoreApplication>
#include <QString>
#include <stdexcept>

#include "tools/forward/mail_text.h"

// The relay's configuration file, an INI file with one section [forward]:
//
//   [forward]
//   data = /srv/dulvane/dulvane.mdb          ; the office's data file or server URI
//   smtp = smtp://mail.example.jp:587        ; or smtps://HOST:PORT
//   from = 伝言メモ <dulvane@example.jp>
//   user = dulvane                           ; optional, with password-file
//   password-file = /etc/dulvane/smtp.pass   ; readable by the relay's user only
//   starttls = required                      ; or off, for a mail server on this machine
//   interval = 5                             ; seconds between looks for new messages
//   ca-file = /etc/dulvane/mail-ca.pem       ; optional: a private mail server's CA
namespace forward {

// The texts the configuration's refusals and the sending's outcomes are told in: English in
// the code, Japanese in the administration command's translation.
struct Text {
    Q_DECLARE_TR_FUNCTIONS(forward)
};

enum class StartTls { Required, Off };

struct Config {
    QString data;
    bool smtps = false;  // TLS from the first byte rather than STARTTLS
    QString host;
    int port = 0;
    Mailbox from;
    QString user;
    QString password;  // read from password-file
    StartTls startTls = StartTls::Required;
    QString caFile;
    int interval = 5;
};

// Why a configuration file is refused, in words for its administrator.
class ConfigError : public std::runtime_error {
public:
    explicit ConfigError(const QString& why) : std::runtime_error(why.toStdString()), why_(why) {}
    const QString& why() const { return why_; }

private:
    QString why_;
};

// Reads and checks the configuration file at path, and the password file it names (a path
// relative to the configuration file's folder). Throws ConfigError for the first fault.
Config readConfig(const QString& path);

}  // namespace forward
