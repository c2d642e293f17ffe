#pragma once

#include "ui/prompts.h"

// Prompts for benchmarks: every question is answered Yes, every message box closed at once,
// every file dialog cancelled, every modal window (the settings window) closed unchanged. Nothing
// is recorded, so thousands of iterations cost no memory.
class SilentPrompts : public Prompts {
public:
    void inform(const QString&) override { ++informed; }
    bool ask(const QString&) override { return true; }
    std::optional<QString> openFile(const QString&, const QString&) override {
        return std::nullopt;
    }
    void showModal(QDialog&) override {}

    long informed = 0;
};
