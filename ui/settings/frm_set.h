#pragma once

#include <QDialog>

#include "app/module1.h"
#include "ui_Frm_set.h"

class Prompts;

// The settings window: the user's name and the shared data file's path. Always shown
// modally; created afresh for each showing.
class Frm_set : public QDialog, public Ui::Frm_set {
    Q_OBJECT

public:
    Frm_set(Module1& state, Prompts& prompts, QWidget* parent = nullptr);

    void Form_Load();
    void Command1_Click();  // 参照: browse
    void Command2_Click();  // 設定: save
    void Command3_Click();  // 閉じる: close

    // Where the file-open dialog starts: the folder of the typed path when that folder exists,
    // else the user's home (a server's URI names no folder).
    static QString initialFolder(const QString& typed);

protected:
    // Escape presses no button: the window closes only through its buttons or its frame.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // After a save: a warning (nothing refused) when the office's staff directory holds names
    // and not this one, whose messages may then be listed as a colleague's.
    void warnOutsideDirectory(const QString& name);

    Module1& state_;
    Prompts& prompts_;
    // The file-open dialog's file name: proposed at the first browse, then the last pick.
    QString cdFileName_ = QStringLiteral("dulvane.mdb");
};
