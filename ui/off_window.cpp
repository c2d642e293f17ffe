#include "ui/off_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace ui {

InputRefusal::InputRefusal() : heldAtStart_(QGuiApplication::mouseButtons()) {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->installEventFilter(this);
    }
}

InputRefusal::~InputRefusal() {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->removeEventFilter(this);
    }
}

bool InputRefusal::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType() && !watched->isWindowType()) {
        return false;
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            QApplication::beep();
            return true;
        case QEvent::KeyPress:
            if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
                QApplication::beep();
            }
            return true;
        case QEvent::MouseButtonRelease: {
            const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
            if (heldAtStart_.testFlag(button)) {
                heldAtStart_.setFlag(button, false);
                return false;
            }
            return true;
        }
        case QEvent::Close:
            // The program ends only once the operation has ended: the user closes again then.
            event->ignore();
            QApplication::beep();
            return true;
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::InputMethod:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
            return true;
        default:
            return false;
    }
}

}  // namespace ui
