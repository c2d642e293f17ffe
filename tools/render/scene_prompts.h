#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "ui/prompts.h"
#include "ui/settings/frm_set.h"

namespace render {

// The prompts the windows are given while their pictures are taken: instead of waiting for
// a user, each box or settings window the program shows is handed to the scene's hook, which
// takes its picture and plays the user's part. A box without a hook is closed at once, a
// question without one answered No.
class ScenePrompts : public Prompts {
public:
    void inform(const QString& text) override {
        if (onInform) {
            onInform(text);
        }
    }
    bool ask(const QString& text) override { return onAsk ? onAsk(text) : false; }
    std::optional<QString> openFile(const QString&, const QString&) override {
        return std::nullopt;
    }
    void showModal(QDialog& window) override {
        if (auto* settings = qobject_cast<Frm_set*>(&window); settings && onSettings) {
            onSettings(*settings);
        }
    }

    std::function<void(const QString&)> onInform;
    std::function<bool(const QString&)> onAsk;
    std::function<void(Frm_set&)> onSettings;
};

}  // namespace render
