#pragma once

#include <QFileDevice>
#include <QString>
#include <QTemporaryFile>

namespace admin {

// A new file that appears under its name only when complete: the content goes to a temporary
// file in the same folder, which takes the final name at commit(), never over an existing
// file. Until then, and when the work fails, nothing is left under the final name.
class NewFile {
public:
    // Throws Failure when path exists already or its folder takes no new file.
    explicit NewFile(const QString& path);

    const QString& path() const { return path_; }
    QString temporaryPath() const { return temp_.fileName(); }
    QFile& file() { return temp_; }

    // Closes the file, gives it these permissions and its final name. Throws Failure when
    // another file took the name meanwhile (the temporary file is then removed).
    void commit(QFileDevice::Permissions permissions);

private:
    QString path_;
    QTemporaryFile temp_;
};

// Owner read-write, everyone else read: a file others in the office may read.
QFileDevice::Permissions sharedReadable();

}  // namespace admin
