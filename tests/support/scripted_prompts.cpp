#include "support/scripted_prompts.h"

#include "ui/settings/frm_set.h"

namespace testing_support {

void ScriptedPrompts::inform(const QString& text) {
    shown << text;
    messages << text;
    if (whileInformOpen) {
        auto during = whileInformOpen;
        during(text);
    }
}

bool ScriptedPrompts::ask(const QString& text) {
    shown << QStringLiteral("?") + text;
    if (answers.empty()) {
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedPrompts::openFile(const QString& dir, const QString& fileName) {
    shown << QStringLiteral("open:") + dir;
    lastOpenDir = dir;
    lastOpenName = fileName;
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

void ScriptedPrompts::showSettings(Frm_set& window) {
    shown << QStringLiteral("settings");
    window.show();
    if (!settingsScripts.empty()) {
        auto script = settingsScripts.front();
        settingsScripts.pop_front();
        script(window);
    }
    window.close();
}

}  // namespace testing_support
