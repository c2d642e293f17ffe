#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <memory>

#include "store/database.h"

struct pg_conn;
class QSocketNotifier;

namespace store::server {

// The channel a send tells of itself on, and what it tells: "=" and the addressee, or nothing
// when the addressee is too long for a notice (the server takes under 8000 bytes).
inline constexpr char kArrivalChannel[] = "dulvane_arrival";
Arrival arrivalOf(const QByteArray& payload);

// Listens for sends on a connection of its own, kept apart from the one the operations use:
// that one belongs to the data thread and serves one operation at a time, while this one waits
// on the window's thread, read through a QSocketNotifier only when the server has something to
// say. Nothing here waits for the server on the window's thread: the connection is opened and
// its LISTEN sent on a thread of its own, then handed over whole. A connection lost is opened
// again after a pause that grows while the server stays away.
class ArrivalListener final : public QObject, public ArrivalWatch {
public:
    ArrivalListener(QString uri, std::chrono::milliseconds timeout, ArrivalHeard heard);
    ~ArrivalListener() override;

    bool listening() const override { return conn_ != nullptr; }

    // The name the listening connection carries on the server (application_name).
    static QString connectionName();

private:
    struct Handover;
    struct Finish {
        void operator()(pg_conn* c) const;
    };
    using Owned = std::unique_ptr<pg_conn, Finish>;

    void connectInBackground();
    void adopt(Owned conn);
    void failedToConnect();
    void readSocket();
    void lose();

    QString uri_;
    std::chrono::milliseconds timeout_;
    ArrivalHeard heard_;
    Owned conn_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::shared_ptr<Handover> handover_;
    QTimer retry_;
    std::chrono::milliseconds pause_;
};

}  // namespace store::server
