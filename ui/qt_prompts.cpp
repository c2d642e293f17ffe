#include "ui/qt_prompts.h"

#include <QFileDialog>
#include <QMessageBox>

#include "ui/settings/frm_set.h"

QString programTitle() {
    return QStringLiteral("dulvane");
}

void QtPrompts::inform(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, programTitle(), text, QMessageBox::Ok, parent_);
    box.exec();
}

bool QtPrompts::ask(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, programTitle(), text, QMessageBox::Yes | QMessageBox::No,
                    parent_);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtPrompts::openFile(const QString& dir, const QString& fileName) {
    QFileDialog dialog(parent_);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDirectory(dir);
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

void QtPrompts::showSettings(Frm_set& window) {
    window.exec();
}
