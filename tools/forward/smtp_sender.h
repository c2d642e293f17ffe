#pragma once

#include <QString>

#include "tools/forward/forward_config.h"
#include "tools/forward/telephone_mail.h"

namespace forward {

// What became of one mail, as the relay decides on it.
enum class Outcome {
    // The mail server took the mail.
    Accepted,
    // The mail server could not be reached, no secure connection came about, or it answered
    // 4xx: nothing was sent; try again later.
    ServerUnavailable,
    // The mail server answered 5xx for this mail's recipient or its content: permanent for
    // this mail, the next one may go.
    RecipientRefused,
    // The user name and password or the sender were refused, or the configuration cannot
    // work: permanent for the relay until its configuration is mended.
    ConfigurationFault,
};

struct SendResult {
    Outcome outcome = Outcome::ServerUnavailable;
    // The mail server's last reply code (250, 451, 550 ...), 0 when it never answered.
    int reply = 0;
    // For the relay's log: what happened, with the mail server's own words. Never the password.
    QString detail;
};

// Hands mail to the configured mail server over one connection of its own, STARTTLS required
// unless the configuration turns it off, and waits for the server's answer.
SendResult sendMail(const Config& config, const Mail& mail);

}  // namespace forward
