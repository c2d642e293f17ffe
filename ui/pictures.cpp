#include "ui/pictures.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace ui {

void loadPictures() {
    static const bool loaded = [] {
        initResources();
        return true;
    }();
    (void)loaded;
}

}  // namespace ui
