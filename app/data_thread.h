#pragma once

#include <QEventLoop>
#include <QObject>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>
#include <utility>

namespace app {

// The thread that works the program's data: every operation on the settings file and the data
// file runs here, one at a time, so that a connection is only ever used by this thread while
// the windows run. The caller waits for each operation in a local event loop, so its thread
// goes on handling events (timers, painting) meanwhile; what it does with input while it waits
// is the caller's business (see ui/off_window.h).
class DataThread {
public:
    DataThread() = default;
    // Ends the thread once the operation it runs (if any) has ended.
    ~DataThread();
    DataThread(const DataThread&) = delete;
    DataThread& operator=(const DataThread&) = delete;

    // Runs work on the thread and waits for it in a local event loop; returns what work
    // returned, or throws what it threw. Throws std::logic_error, running nothing, while
    // another operation waits: one operation at a time.
    template <class Work>
    auto call(Work work) -> std::invoke_result_t<Work&> {
        using Result = std::invoke_result_t<Work&>;
        if constexpr (std::is_void_v<Result>) {
            run(std::function<void()>(std::move(work)));
        } else {
            std::optional<Result> result;
            run([&] { result.emplace(work()); });
            return std::move(*result);
        }
    }

    // Runs work on the thread in the background: the caller goes on at once, and done is called
    // later on the caller's thread, from its event loop, with what work threw (null when it
    // ended well). An operation asked for with call() meanwhile waits for it first. Throws
    // std::logic_error, running nothing, while another operation runs or waits.
    void post(std::function<void()> work, std::function<void(std::exception_ptr)> done);

    // Whether an operation runs now or waits to run, in the background or for a caller.
    bool busy() const { return busy_ || background_; }

private:
    void run(const std::function<void()>& work);
    void serve();
    // Hands work to the thread.
    void hand(std::function<void()> work);

    // Read and written by the caller's thread only.
    bool busy_ = false;        // a caller waits for its operation
    bool background_ = false;  // work posted in the background has not ended yet
    QEventLoop* waitingForBackground_ = nullptr;
    // Receives the background work's end on the caller's thread; what it was sent goes with it.
    QObject receiver_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::function<void()> next_;  // the operation handed over, until the thread takes it
    bool ending_ = false;
    std::thread thread_;  // started with the first operation
};

}  // namespace app
