#include "ui/qt_prompts.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

QString programTitle() {
    return QStringLiteral("dulvane");
}

std::unique_ptr<QMessageBox> makeMessageBox(const QString& text, bool question, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(
        QMessageBox::NoIcon, programTitle(), text,
        question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    if (question) {
        // The answers read in Japanese even where the toolkit's translation is missing.
        box->button(QMessageBox::Yes)->setText(QStringLiteral("はい"));
        box->button(QMessageBox::No)->setText(QStringLiteral("いいえ"));
    }
    return box;
}

void QtPrompts::inform(const QString& text) {
    const Showing showing(*this);
    makeMessageBox(text, false, parent_)->exec();
}

bool QtPrompts::ask(const QString& text) {
    const Showing showing(*this);
    return makeMessageBox(text, true, parent_)->exec() == QMessageBox::Yes;
}

std::optional<QString> QtPrompts::openFile(const QString& dir, const QString& fileName) {
    const Showing showing(*this);
    QFileDialog dialog(parent_);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDirectory(dir);
    // A proposed path in another folder would take the dialog there: propose its name in dir.
    const QFileInfo proposed(fileName);
    const bool elsewhere =
        proposed.isAbsolute() && proposed.absolutePath() != dialog.directory().absolutePath();
    dialog.selectFile(elsewhere ? proposed.fileName() : fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

void QtPrompts::showModal(QDialog& window) {
    const Showing showing(*this);
    window.exec();
}
