// Draws the three windows as their forms build them and saves each as a PNG:
//   dulvane-render [folder]   (default: the current folder)
// writes form1.png, frm_set.png and frm_memo2.png. Runs without a display.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QTextStream>
#include <QWidget>

#include "ui/fonts.h"
#include "ui/main/spread_grid.h"
#include "ui/pictures.h"
#include "ui_Form1.h"
#include "ui_Frm_Memo2.h"
#include "ui_Frm_set.h"

namespace {

bool save(QWidget& window, const QDir& folder, const QString& fileName) {
    window.show();
    QApplication::processEvents();
    const QString path = folder.filePath(fileName);
    const bool ok = window.grab().save(path, "PNG");
    QTextStream(ok ? stdout : stderr) << (ok ? "wrote " : "cannot write ") << path << Qt::endl;
    window.hide();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ui::registerFontSubstitutes();
    ui::loadPictures();

    const QStringList args = QCoreApplication::arguments();
    const QDir folder(args.size() > 1 ? args.at(1) : QStringLiteral("."));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        QTextStream(stderr) << "cannot make " << folder.path() << Qt::endl;
        return 1;
    }

    bool ok = true;
    {
        // The main window as it opens: the grid's sample row cleared, as start-up does.
        QWidget window;
        Ui::Form1 form;
        form.setupUi(&window);
        form.SS1->blockClear();
        form.Txt_Time->setText(QStringLiteral("2025/04/01 09:30"));
        ok = save(window, folder, QStringLiteral("form1.png")) && ok;
    }
    {
        QDialog dialog;
        Ui::Frm_set form;
        form.setupUi(&dialog);
        ok = save(dialog, folder, QStringLiteral("frm_set.png")) && ok;
    }
    {
        QWidget window;
        Ui::Frm_Memo2 form;
        form.setupUi(&window);
        ok = save(window, folder, QStringLiteral("frm_memo2.png")) && ok;
    }
    return ok ? 0 : 1;
}
