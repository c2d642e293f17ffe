#include "tools/render/picture.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPainter>
#include <QTextStream>
#include <QWidget>
#include <algorithm>
#include <memory>

#include "ui/qt_prompts.h"

namespace render {
namespace {

constexpr int kTitleHeight = 26;
constexpr int kBorder = 1;
constexpr int kShadow = 6;

QImage withFrame(const QImage& client, const QString& caption, const QIcon& icon) {
    QImage picture(client.width() + 2 * kBorder, client.height() + kTitleHeight + kBorder,
                   QImage::Format_ARGB32_Premultiplied);
    picture.fill(QColor(58, 68, 84));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    int textLeft = 8;
    if (!icon.isNull()) {
        icon.paint(&p, QRect(6, (kTitleHeight - 16) / 2, 16, 16));
        textLeft = 28;
    }
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(Qt::white);
    const QRect titleText(textLeft, 0, picture.width() - textLeft - 30, kTitleHeight);
    p.drawText(titleText, Qt::AlignVCenter | Qt::AlignLeft, caption);
    // The close button's cross.
    const QPoint c(picture.width() - 15, kTitleHeight / 2);
    p.setPen(QPen(QColor(220, 224, 230), 1.5));
    p.drawLine(c + QPoint(-4, -4), c + QPoint(4, 4));
    p.drawLine(c + QPoint(-4, 4), c + QPoint(4, -4));
    p.drawImage(QPoint(kBorder, kTitleHeight), client);
    return picture;
}

void settle(QWidget& window) {
    window.show();
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
    }
}

}  // namespace

QImage framed(QWidget& window) {
    settle(window);
    const QImage client = window.grab().toImage();
    return withFrame(client, window.windowTitle(), window.windowIcon());
}

QImage messageBox(const QString& text, bool question) {
    const std::unique_ptr<QMessageBox> box = makeMessageBox(text, question);
    settle(*box);
    box->adjustSize();
    const QImage client = box->grab().toImage();
    // A box carries the program's title and no icon of its own.
    return withFrame(client, box->windowTitle(), QIcon());
}

QImage laidOver(const QImage& back, const QImage& front, QPoint at) {
    const QRect backRect(QPoint(0, 0), back.size());
    const QRect frontRect(at, front.size());
    const QRect whole = backRect.united(frontRect.adjusted(0, 0, kShadow, kShadow));
    QImage picture(whole.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.translate(-whole.topLeft());
    p.drawImage(QPoint(0, 0), back);
    // A shadow of a few soft steps below and to the right.
    p.setPen(Qt::NoPen);
    for (int i = kShadow; i > 0; --i) {
        p.setBrush(QColor(0, 0, 0, 14));
        p.drawRect(frontRect.translated(i, i));
    }
    p.drawImage(at, front);
    return picture;
}

QImage centredOver(const QImage& back, const QImage& front) {
    const QPoint at((back.width() - front.width()) / 2,
                    std::max(0, (back.height() - front.height()) / 2));
    return laidOver(back, front, at);
}

bool save(const QImage& picture, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name);
    const bool ok = !picture.isNull() && picture.save(path, "PNG");
    QTextStream(ok ? stdout : stderr) << (ok ? "wrote " : "cannot write ") << path << Qt::endl;
    return ok;
}

}  // namespace render
