#include "app/data_thread.h"

#include <QEventLoop>
#include <QMetaObject>
#include <semaphore>
#include <stdexcept>

namespace app {

DataThread::~DataThread() {
    if (!thread_.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void DataThread::serve() {
    for (;;) {
        std::function<void()> work;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return ending_ || next_; });
            if (!next_) {
                return;
            }
            work = std::move(next_);
            next_ = nullptr;
        }
        work();
    }
}

void DataThread::hand(std::function<void()> work) {
    if (!thread_.joinable()) {
        thread_ = std::thread([this] { serve(); });
    }
    {
        const std::lock_guard lock(mutex_);
        next_ = std::move(work);
    }
    wake_.notify_one();
}

void DataThread::post(std::function<void()> work, std::function<void(std::exception_ptr)> done) {
    if (busy()) {
        throw std::logic_error("another operation on the data is still running");
    }
    background_ = true;
    hand([this, work = std::move(work), done = std::move(done)] {
        std::exception_ptr failure;
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(
            &receiver_,
            [this, done, failure] {
                background_ = false;
                if (waitingForBackground_ != nullptr) {
                    waitingForBackground_->quit();
                }
                done(failure);
            },
            Qt::QueuedConnection);
    });
}

void DataThread::run(const std::function<void()>& work) {
    if (busy_) {
        throw std::logic_error("another operation on the data is still running");
    }
    busy_ = true;
    struct Idle {
        bool& busy;
        ~Idle() { busy = false; }
    } idle{busy_};

    if (background_) {
        // Work posted in the background goes first; its end is told through this loop too.
        QEventLoop loop;
        waitingForBackground_ = &loop;
        loop.exec();
        waitingForBackground_ = nullptr;
    }
    QEventLoop loop;
    std::exception_ptr failure;
    std::binary_semaphore ended(0);
    hand([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        // The quit is posted before the release: once the waiting side returns, nothing
        // here touches the loop any more (its posted events go with it).
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        ended.release();
    });
    loop.exec();
    // At once after the loop's own quit; the loop ends early only when the whole program is
    // made to quit, and then this waits without handling events.
    ended.acquire();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

}  // namespace app
