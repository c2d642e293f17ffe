#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "ui/prompts.h"

// The box that QtPrompts::inform (question false: OK only) or QtPrompts::ask (question true:
// Yes and No) shows, built but not yet shown. The screenshot command draws the same boxes.
std::unique_ptr<QMessageBox> makeMessageBox(const QString& text, bool question,
                                            QWidget* parent = nullptr);

// Prompts shown with QMessageBox and QFileDialog.
class QtPrompts : public Prompts {
public:
    void setParent(QWidget* parent) { parent_ = parent; }

    void inform(const QString& text) override;
    bool ask(const QString& text) override;
    std::optional<QString> openFile(const QString& dir, const QString& fileName) override;
    void showModal(QDialog& window) override;

private:
    QPointer<QWidget> parent_;
};
