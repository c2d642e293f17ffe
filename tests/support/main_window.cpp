#include "support/main_window.h"

#include <QTest>

namespace testing_support {

Workstation::Workstation(Engine engine) : office(engine) {
    state.Ws_Main = store::Workspace{std::chrono::milliseconds(500)};
    state.iniPath = office.iniPath();
}

void Workstation::prepare(const std::optional<QString>& name, const std::optional<QString>& folder,
                          bool makeData) {
    if (makeData && !office.hasDataFile()) {
        office.makeDataFile();
    }
    office.makeSettings(name, folder);
}

void Workstation::start() {
    form = std::make_unique<Form1>(state, prompts);
    form->Form_Load();
}

void Workstation::startAs(const QString& name) {
    prepare(name, office.dataPath());
    start();
}

void Workstation::tick() {
    form->Timer1_Timer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !state.dataThread.busy(); }, 30000));
}

}  // namespace testing_support
