#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/prompts.h"

// Prompts shown with QMessageBox and QFileDialog.
class QtPrompts : public Prompts {
public:
    void setParent(QWidget* parent) { parent_ = parent; }

    void inform(const QString& text) override;
    bool ask(const QString& text) override;
    std::optional<QString> openFile(const QString& dir, const QString& fileName) override;
    void showSettings(Frm_set& window) override;

private:
    QPointer<QWidget> parent_;
};
