#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

#include "ui/prompts.h"

class Frm_set;

namespace testing_support {

// Records every text shown and answers from scripts, in order. With no answer scripted, a
// question is answered No, a file dialog is cancelled and a modal window is closed.
class ScriptedPrompts : public Prompts {
public:
    void inform(const QString& text) override;
    bool ask(const QString& text) override;
    std::optional<QString> openFile(const QString& dir, const QString& fileName) override;
    void showModal(QDialog& window) override;

    // Everything shown, in order; questions are prefixed "?", file dialogs "open:", settings
    // windows "settings", other modal windows by their object name.
    QStringList shown;
    // Messages only (inform), in order.
    QStringList messages;

    std::deque<bool> answers;
    std::deque<std::optional<QString>> files;
    // What the user does in the settings window while it is shown modally.
    std::deque<std::function<void(Frm_set&)>> settingsScripts;
    // Runs while a message box is open (a nested event loop), for example a timer tick.
    std::function<void(const QString&)> whileInformOpen;
    // The same while anything is open: a message box, a question, a file dialog or the
    // settings window; given what shown records for it.
    std::function<void(const QString&)> whileOpen;
    // What shown records for everything that opened under an override cursor (the busy one).
    QStringList shownWhileBusy;

    QString lastOpenDir;
    QString lastOpenName;

private:
    void opened(const QString& entry);
};

}  // namespace testing_support
