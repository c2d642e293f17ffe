#pragma once

#include <QObject>
#include <utility>

#include "app/data_thread.h"
#include "ui/busy_cursor.h"

namespace ui {

// While this lives the program's windows take no input: mouse presses, releases and double
// clicks, keys, the wheel, the input method and shortcuts are dropped, not queued for later,
// and each refused press (or close through a window's frame) beeps once. Painting, timers and
// everything else go on. A mouse button held down when the refusal began may still be
// released, so that nothing is left believing it is held.
class InputRefusal : public QObject {
public:
    InputRefusal();
    ~InputRefusal() override;
    InputRefusal(const InputRefusal&) = delete;
    InputRefusal& operator=(const InputRefusal&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Qt::MouseButtons heldAtStart_;
};

// Runs work (an operation on the settings or data file) on the data thread and waits for it
// without stopping the window: it repaints, shows the busy cursor and refuses input (see
// InputRefusal) until the operation has ended; then returns what work returned, or throws what
// it threw. work runs on another thread: it may touch no widget, and takes what it needs from
// the window as copies.
template <class Work>
auto offWindow(app::DataThread& data, Work work) {
    const BusyCursor busy;
    const InputRefusal refusal;
    return data.call(std::move(work));
}

}  // namespace ui
