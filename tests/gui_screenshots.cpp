// The documents' pictures: every picture that the README and the guides show is made by the
// screenshot command, run as a process, and is a real picture of a window.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

namespace {

const QDir kSourceRoot(QStringLiteral(SOURCE_ROOT));

// The file names of every docs/screenshots picture that README.md or a docs/*.md links to.
QStringList picturesTheDocumentsShow() {
    QStringList documents{kSourceRoot.filePath(QStringLiteral("README.md"))};
    const QDir docs(kSourceRoot.filePath(QStringLiteral("docs")));
    for (const QString& name : docs.entryList({QStringLiteral("*.md")}, QDir::Files)) {
        documents << docs.filePath(name);
    }
    static const QRegularExpression link(QStringLiteral(R"(screenshots/([A-Za-z0-9_.-]+\.png))"));
    QSet<QString> names;
    for (const QString& path : documents) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "cannot read " << path.toStdString();
            continue;
        }
        const QString text = QString::fromUtf8(file.readAll());
        for (auto it = link.globalMatch(text); it.hasNext();) {
            names.insert(it.next().captured(1));
        }
    }
    QStringList sorted(names.begin(), names.end());
    sorted.sort();
    return sorted;
}

// A blank or unpainted picture has one or two colours; a window drawn with text has many.
int distinctColours(const QImage& image, int enough) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            colours.insert(image.pixel(x, y));
            if (colours.size() >= enough) {
                return int(colours.size());
            }
        }
    }
    return int(colours.size());
}

}  // namespace

TEST(Screenshots, EveryPictureTheDocumentsShowIsRenderedAndCommitted) {
    const QStringList pictures = picturesTheDocumentsShow();
    // The user guide alone shows more than a dozen steps.
    ASSERT_GE(pictures.size(), 12) << pictures.join(QLatin1Char(' ')).toStdString();

    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    QProcess render;
    render.start(QStringLiteral(RENDER_PATH), {out.path()});
    ASSERT_TRUE(render.waitForFinished(120000));
    ASSERT_EQ(render.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();

    const QDir committed(kSourceRoot.filePath(QStringLiteral("docs/screenshots")));
    for (const QString& name : pictures) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(committed.exists(name)) << "the documents link to a picture not committed";
        const QImage image(out.filePath(name));
        if (image.isNull()) {
            ADD_FAILURE() << "not rendered, or not a picture";
            continue;
        }
        EXPECT_GE(image.width(), 200);
        EXPECT_GE(image.height(), 60);
        EXPECT_GE(distinctColours(image, 16), 16) << "blank picture";
    }
}
