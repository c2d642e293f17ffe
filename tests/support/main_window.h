#pragma once

#include <memory>

#include "app/module1.h"
#include "support/files.h"
#include "support/scripted_prompts.h"
#include "ui/main/form1.h"

namespace testing_support {

// A main window over real files in a temporary office folder (its messages on the engine
// given), answered by scripted prompts.
class Workstation {
public:
    explicit Workstation(Engine engine = Engine::File);

    // The settings file with name and path (nullopt = Null); the data file is made first
    // unless makeData is false.
    void prepare(const std::optional<QString>& name, const std::optional<QString>& folder,
                 bool makeData = true);
    // Runs the load handler as the program does at start.
    void start();
    // prepare() with this office's data, then start().
    void startAs(const QString& name);
    // One tick of the watch, waited for until its poll has answered.
    void tick();

    Office office;
    ScriptedPrompts prompts;
    Module1 state;
    std::unique_ptr<Form1> form;
};

}  // namespace testing_support
