#include "support/scripted_prompts.h"

#include <QGuiApplication>

#include "ui/settings/frm_set.h"

namespace testing_support {

void ScriptedPrompts::opened(const QString& entry) {
    shown << entry;
    if (QGuiApplication::overrideCursor() != nullptr) {
        shownWhileBusy << entry;
    }
    if (whileOpen) {
        auto during = whileOpen;
        during(entry);
    }
}

void ScriptedPrompts::inform(const QString& text) {
    const Showing showing(*this);
    messages << text;
    opened(text);
    if (whileInformOpen) {
        auto during = whileInformOpen;
        during(text);
    }
}

bool ScriptedPrompts::ask(const QString& text) {
    const Showing showing(*this);
    opened(QStringLiteral("?") + text);
    if (answers.empty()) {
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedPrompts::openFile(const QString& dir, const QString& fileName) {
    const Showing showing(*this);
    lastOpenDir = dir;
    lastOpenName = fileName;
    opened(QStringLiteral("open:") + dir);
    if (files.empty()) {
        return std::nullopt;
    }
    const bool picked = files.front().has_value();
    const QString file = picked ? *files.front() : QString();
    files.pop_front();
    if (!picked) {
        return std::nullopt;
    }
    return file;
}

void ScriptedPrompts::showModal(QDialog& window) {
    const Showing showing(*this);
    window.show();
    auto* settings = qobject_cast<Frm_set*>(&window);
    opened(settings ? QStringLiteral("settings") : window.objectName());
    if (settings && !settingsScripts.empty()) {
        auto script = settingsScripts.front();
        settingsScripts.pop_front();
        script(*settings);
    }
    window.close();
}

}  // namespace testing_support
