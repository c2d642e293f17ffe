#include "store/server/arrival_listener.h"

#include <libpq-fe.h>

#include <QByteArray>
#include <QMetaObject>
#include <QSocketNotifier>
#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

#include "store/server/connection.h"

namespace store::server {
namespace {

// The pause before the listening is tried again, doubled at each failure up to the longest.
constexpr std::chrono::milliseconds kFirstPause(1000);
constexpr std::chrono::milliseconds kLongestPause(60000);
// A listening connection whose server has gone silent is found lost after about a minute.
constexpr std::chrono::seconds kKeepAliveIdle(30);

}  // namespace

// The connection on its way from the thread that opened it; to is none once the listener went,
// and the connection is then finished where it is.
struct ArrivalListener::Handover {
    std::mutex mutex;
    ArrivalListener* to = nullptr;
};

Arrival arrivalOf(const QByteArray& payload) {
    if (payload.startsWith('=')) {
        return {QString::fromUtf8(payload.mid(1))};
    }
    return {};
}

void ArrivalListener::Finish::operator()(pg_conn* c) const {
    // The connection is non-blocking: saying goodbye never waits for the server.
    PQfinish(c);
}

QString ArrivalListener::connectionName() {
    return QStringLiteral("dulvane arrivals");
}

ArrivalListener::ArrivalListener(QString uri, std::chrono::milliseconds timeout, ArrivalHeard heard)
    : uri_(std::move(uri)), timeout_(timeout), heard_(std::move(heard)), pause_(kFirstPause) {
    retry_.setSingleShot(true);
    QObject::connect(&retry_, &QTimer::timeout, this, [this] { connectInBackground(); });
    connectInBackground();
}

ArrivalListener::~ArrivalListener() {
    if (handover_) {
        const std::lock_guard lock(handover_->mutex);
        handover_->to = nullptr;
    }
}

void ArrivalListener::connectInBackground() {
    handover_ = std::make_shared<Handover>();
    handover_->to = this;
    // The connect and the LISTEN wait for the server (bounded by the busy timeout, as every
    // operation's), so they run on a thread of their own; the connection is used by no other
    // thread until it is handed over, and by none but this listener's after.
    std::thread([handover = handover_, uri = uri_, timeout = timeout_] {
        auto opened = std::make_shared<Owned>();
        try {
            Connection c(uri, timeout);
            // It only ever waits to be told: a server host cut off would otherwise leave it
            // waiting for hours, while sends go unheard.
            c.keepAlive(kKeepAliveIdle);
            c.connect();
            c.exec(QStringLiteral("SET application_name = '%1'").arg(connectionName()));
            c.exec(QStringLiteral("LISTEN %1").arg(QLatin1String(kArrivalChannel)));
            opened->reset(c.release());
        } catch (...) {
            // Not listening this time: tried again after a pause.
        }
        const std::lock_guard lock(handover->mutex);
        if (handover->to == nullptr) {
            return;
        }
        // Posted while the listener is known to live: a listener that goes before it runs
        // takes the posted call with it, and the connection is finished then.
        ArrivalListener* to = handover->to;
        QMetaObject::invokeMethod(
            to,
            [to, opened] {
                to->handover_.reset();
                if (*opened) {
                    to->adopt(std::move(*opened));
                } else {
                    to->failedToConnect();
                }
            },
            Qt::QueuedConnection);
    }).detach();
}

void ArrivalListener::adopt(Owned conn) {
    conn_ = std::move(conn);
    pause_ = kFirstPause;
    // The server's farewell when it ends the connection is no one's business on stderr.
    PQsetNoticeProcessor(
        conn_.get(), [](void*, const char*) {}, nullptr);
    notifier_ =
        std::make_unique<QSocketNotifier>(qintptr(PQsocket(conn_.get())), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { readSocket(); });
    // What came with the LISTEN's answer is read at once.
    readSocket();
}

void ArrivalListener::failedToConnect() {
    retry_.start(pause_);
    pause_ = std::min(pause_ * 2, kLongestPause);
}

void ArrivalListener::lose() {
    // Lost while its own signal is being handled: the notifier goes once that is over.
    notifier_->setEnabled(false);
    notifier_.release()->deleteLater();
    conn_.reset();
    failedToConnect();
}

void ArrivalListener::readSocket() {
    if (!conn_) {
        return;
    }
    // The end of the stream, or a connection the server ended, is a connection lost.
    if (PQconsumeInput(conn_.get()) == 0 || PQstatus(conn_.get()) != CONNECTION_OK) {
        lose();
        return;
    }
    std::vector<Arrival> heard;
    while (PGnotify* notice = PQnotifies(conn_.get())) {
        heard.push_back(arrivalOf(QByteArray(notice->extra)));
        PQfreemem(notice);
    }
    // Told from the event loop, once nothing here is in the middle of reading: whoever hears
    // may open a box and wait in it.
    for (const Arrival& arrival : heard) {
        QMetaObject::invokeMethod(
            this, [this, arrival] { heard_(arrival); }, Qt::QueuedConnection);
    }
}

}  // namespace store::server
