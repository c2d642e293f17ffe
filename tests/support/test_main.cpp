#include <gtest/gtest.h>

#include <QApplication>

#include "ui/fonts.h"
#include "ui/pictures.h"

int main(int argc, char** argv) {
    // Widgets are real, on the offscreen platform unless a display is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ui::registerFontSubstitutes();
    ui::loadPictures();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
