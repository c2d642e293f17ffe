#include "ui/settings/frm_set.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>

#include "app/failure_log.h"
#include "app/settings_store.h"
#include "store/error.h"
#include "store/location.h"
#include "store/staff.h"
#include "ui/off_window.h"
#include "ui/prompts.h"

Frm_set::Frm_set(Module1& state, Prompts& prompts, QWidget* parent)
    : QDialog(parent), state_(state), prompts_(prompts) {
    setupUi(this);
    connect(Command1, &QPushButton::clicked, this, &Frm_set::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Frm_set::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Frm_set::Command3_Click);
    Form_Load();
}

// Only a whole path names a folder: a bare file name, or another system's path, would
// otherwise open wherever the program happened to be started.
QString Frm_set::initialFolder(const QString& typed) {
    const QFileInfo path(typed);
    if (!typed.isEmpty() && !store::isServerLocation(typed) && path.isAbsolute()) {
        // A folder's path opens there; a file's path opens in the file's folder.
        const QString folder = path.isDir() ? path.filePath() : path.path();
        if (QFileInfo(folder).isDir()) {
            return QDir::cleanPath(folder);
        }
    }
    return QDir::homePath();
}

void Frm_set::Form_Load() {
    Txt_Name->setText(state_.My_Name);
    Txt_File->setText(state_.My_Folder);
}

void Frm_set::Command1_Click() {
    // A cancelled dialog changes nothing: what the user typed or picked stays.
    const std::optional<QString> picked =
        prompts_.openFile(initialFolder(Txt_File->text()), cdFileName_);
    if (!picked) {
        return;
    }
    cdFileName_ = QDir::toNativeSeparators(*picked);
    Txt_File->setText(cdFileName_);
}

void Frm_set::Command2_Click() {
    if (Txt_Name->text().isEmpty()) {
        prompts_.inform(tr("あなたの名前が未入力です。"));
        return;
    }
    if (Txt_File->text().isEmpty()) {
        prompts_.inform(tr("データファイルの場所が未入力です。"));
        return;
    }
    try {
        ui::offWindow(state_.dataThread,
                      [&state = state_, name = Txt_Name->text(), folder = Txt_File->text()] {
                          app::saveSettings(state, name, folder);
                      });
    } catch (const store::Error& e) {
        // Nothing was stored and the program keeps its old name and path.
        app::logFailure(state_.logPath, QStringLiteral("settings save"), state_.iniPath, e);
        prompts_.inform(
            tr("設定を保存できませんでした。設定ファイルに書き込めません。\n%1").arg(e.report()));
        return;
    }
    prompts_.inform(tr("変更は次回アプリケーション起動から有効になります。"));
    warnOutsideDirectory(Txt_Name->text());
    accept();
}

void Frm_set::warnOutsideDirectory(const QString& name) {
    if (!state_.Db_Data) {
        return;
    }
    QStringList directory;
    try {
        directory = ui::offWindow(state_.dataThread, [db = state_.Db_Data.get()] {
            return store::staff::names(store::staff::directory(*db));
        });
    } catch (const store::Error&) {
        // Only a warning: data out of reach now says nothing about the name.
        return;
    }
    if (!directory.isEmpty() && !directory.contains(name)) {
        prompts_.inform(tr("「%1」は職員名簿にありません。名簿にある名前で始まる宛名の伝言は、"
                           "その名前の人の受信一覧に出ます。")
                            .arg(name));
    }
}

void Frm_set::Command3_Click() {
    reject();
}

void Frm_set::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
