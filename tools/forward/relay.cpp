#include "tools/forward/relay.h"

#include <QDateTime>

#include "store/date_time_text.h"
#include "store/staff.h"
#include "store/transaction.h"
#include "tools/forward/smtp_sender.h"
#include "tools/forward/telephone_mail.h"

namespace forward {
namespace {

// Messages read at a time.
constexpr int kBatch = 200;

QString text(const store::MessageTexts& texts, int column) {
    return texts[std::size_t(column)].value_or(QString());
}

// The mail for a message and the person it goes to.
TelephoneMessage telephoneMessage(const store::ForwardCandidate& c,
                                  const store::StaffMember& member) {
    TelephoneMessage m;
    m.number = c.no;
    m.addressee = {member.name, *member.mail};
    m.caller = text(c.texts, 1);
    m.taker = text(c.texts, 2);
    m.memo = text(c.texts, 3);
    m.line = text(c.texts, 4);
    m.phone = text(c.texts, 5);
    m.receivedAt = text(c.texts, 6);
    m.urgent = c.urgent;
    return m;
}

const store::StaffMember* memberNamed(const std::vector<store::StaffMember>& members,
                                      const std::optional<QString>& name) {
    for (const store::StaffMember& m : members) {
        if (name && m.name == *name) {
            return &m;
        }
    }
    return nullptr;
}

}  // namespace

Relay::Relay(Config config, Log log, bool dryRun)
    : config_(std::move(config)), log_(std::move(log)), dryRun_(dryRun) {}

void Relay::outage(bool down, const QString& what) {
    if (down != mailServerDown_) {
        log_(what);
    }
    mailServerDown_ = down;
}

RoundEnd Relay::round(store::Database& db) {
    std::optional<store::ForwardMark> mark = db.forwardMark();
    if (!mark) {
        // The first start: what is there already is the office's history, never sent.
        const std::int64_t newest = db.highestEverNumbered();
        if (!dryRun_) {
            db.setForwardMark({newest, 0, 0});
        }
        log_(Text::tr("first start: messages after ＮＯ %1 will be forwarded").arg(newest));
        return RoundEnd::Done;
    }
    const std::vector<store::StaffMember> members = store::staff::directory(db);
    const QStringList names = store::staff::names(members);
    store::ForwardMark at = *mark;
    // Moves the mark past the messages that needed no mail; a sent one moves it with its 転送日時.
    auto keepMark = [&] {
        if (!dryRun_ && at.examined != mark->examined) {
            db.setForwardMark(at);
            mark = at;
        }
    };
    for (;;) {
        const std::vector<store::ForwardCandidate> batch = db.messagesAbove(at.examined, kBatch);
        if (batch.empty()) {
            break;
        }
        for (const store::ForwardCandidate& c : batch) {
            const store::StaffMember* member =
                memberNamed(members, store::staff::ownerOf(names, text(c.texts, 0)));
            if (c.forwarded || !member || !member->forward || !member->mail) {
                at = {c.no, 0, 0};
                continue;
            }
            const Mail mail = composeMail(config_.from, telephoneMessage(c, *member), config_.data,
                                          QDateTime::currentDateTime());
            if (dryRun_) {
                log_(Text::tr("would send ＮＯ %1 to %2 <%3>")
                         .arg(c.no)
                         .arg(member->name, *member->mail));
                at = {c.no, 0, 0};
                continue;
            }
            const SendResult result = sendMail(config_, mail);
            switch (result.outcome) {
                case Outcome::Accepted: {
                    outage(false, Text::tr("the mail server takes mail again"));
                    store::Transaction transaction(db, store::Transaction::Kind::Write);
                    db.setForwardedAt(c.no, store::dateTimeText(QDateTime::currentDateTime()));
                    at = {c.no, 0, 0};
                    db.setForwardMark(at);
                    transaction.commit();
                    mark = at;
                    ++sent_;
                    log_(Text::tr("sent ＮＯ %1 to %2").arg(c.no).arg(*member->mail));
                    continue;
                }
                case Outcome::ServerUnavailable:
                    keepMark();
                    outage(true, Text::tr("the mail server takes no mail (%1); retrying, nothing "
                                          "is lost")
                                     .arg(result.detail));
                    return RoundEnd::MailServerDown;
                case Outcome::ConfigurationFault:
                    keepMark();
                    outage(true, Text::tr("the mail server refuses the relay (%1); mend the "
                                          "configuration")
                                     .arg(result.detail));
                    return RoundEnd::ConfigurationFault;
                case Outcome::RecipientRefused: {
                    outage(false, Text::tr("the mail server takes mail again"));
                    const std::int64_t attempts = (at.trying == c.no ? at.attempts : 0) + 1;
                    if (attempts >= kRefusalsTried) {
                        log_(Text::tr("FAILED: ＮＯ %1 to %2 refused %3 times (%4); skipped")
                                 .arg(c.no)
                                 .arg(*member->mail)
                                 .arg(attempts)
                                 .arg(result.detail));
                        at = {c.no, 0, 0};
                        continue;
                    }
                    log_(Text::tr("ＮＯ %1 to %2 refused (%3); trying again")
                             .arg(c.no)
                             .arg(*member->mail, result.detail));
                    at.trying = c.no;
                    at.attempts = attempts;
                    db.setForwardMark(at);
                    mark = at;
                    return RoundEnd::Refused;
                }
            }
        }
    }
    keepMark();
    return RoundEnd::Done;
}

}  // namespace forward
