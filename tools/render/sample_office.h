#pragma once

#include <QString>
#include <QTemporaryDir>

// A made-up office for the documents' pictures: a data file with a few days of messages
// around 山田, who is the user in every picture, in a temporary folder.
namespace render {

class SampleOffice {
public:
    SampleOffice();

    bool isValid() const { return dir_.isValid(); }
    QString dataPath() const { return dir_.filePath(QStringLiteral("dulvane.mdb")); }
    QString path(const QString& name) const { return dir_.filePath(name); }

    // A settings file at path(fileName) with the given name and data-file path; an empty
    // text is stored as Null, as on a workstation that has not been set up yet.
    QString makeSettings(const QString& fileName, const QString& name, const QString& folder) const;

    // The user of the pictures, and the moment the pictures show on the clock.
    static QString user() { return QStringLiteral("山田"); }
    static QString now() { return QStringLiteral("2026/04/10 09:30"); }

    // The message 山田 writes in the pictures: for 佐藤, from 青葉工業 高橋, outside line.
    // The sample data already holds it, sent at now(), so that the lists agree with it.
    static QString writtenTo() { return QStringLiteral("佐藤"); }
    static QString writtenFrom() { return QStringLiteral("青葉工業 高橋"); }
    static QString writtenMemo() {
        return QStringLiteral("見積書をＦＡＸで送ったので確認してほしいとのことです。");
    }
    static QString writtenPhone() { return QStringLiteral("03-5555-0123"); }

private:
    QTemporaryDir dir_;
};

}  // namespace render
