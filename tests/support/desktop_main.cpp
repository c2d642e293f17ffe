#include <gtest/gtest.h>

#include <QApplication>
#include <cstring>
#include <memory>

#include "support/desktop_session.h"
#include "ui/fonts.h"
#include "ui/pictures.h"

namespace testing_support {
namespace {
DesktopSession* session = nullptr;
}

DesktopSession& desktopSession() {
    return *session;
}

}  // namespace testing_support

// The desktop's tests run on an X server and a session bus of their own (DesktopSession),
// started before the application and removed after it; listing the tests starts neither.
int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i) {
        listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    if (listing) {
        return RUN_ALL_TESTS();
    }
    auto session = std::make_unique<testing_support::DesktopSession>();
    int result = 1;
    {
        QApplication app(argc, argv);
        ui::registerFontSubstitutes();
        ui::loadPictures();
        testing_support::session = session.get();
        session->serve();
        result = RUN_ALL_TESTS();
    }
    session.reset();
    return result;
}
