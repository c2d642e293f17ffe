#pragma once

#include <QDir>
#include <QImage>
#include <QPoint>
#include <QString>

class QWidget;

// Pictures of windows for the documents: a window drawn with a plain frame (its icon and
// caption in a title bar), windows laid over one another, saved as PNG.
namespace render {

// Shows the window (offscreen), lets it lay itself out, and draws it inside a frame with a
// title bar carrying its icon and caption, as a desktop would.
QImage framed(QWidget& window);

// The box that the program shows for text (question: Yes and No, else OK), framed.
QImage messageBox(const QString& text, bool question);

// front laid over back with its top-left corner at `at` (relative to back's top-left), with
// a soft shadow; the picture grows where front reaches past back.
QImage laidOver(const QImage& back, const QImage& front, QPoint at);
// front centred over back, as a box shown over its window appears.
QImage centredOver(const QImage& back, const QImage& front);

// Writes picture as folder/name; says on stdout or stderr what happened.
bool save(const QImage& picture, const QDir& folder, const QString& name);

}  // namespace render
