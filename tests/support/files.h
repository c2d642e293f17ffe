#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>

#include "app/module1.h"
#include "store/database.h"
#include "support/printers.h"

namespace testing_support {

// A temporary folder with a program folder's files: settings file and data file.
class Office {
public:
    Office();

    QString path(const QString& name) const { return dir_.filePath(name); }
    QString dataPath() const { return path(QStringLiteral("dulvane.mdb")); }
    QString iniPath() const { return path(QStringLiteral("DULVANE.INI")); }

    // A new empty data file at dataPath().
    void makeDataFile();
    // A settings file with row ＮＯ = 1; nullopt is stored as Null.
    void makeSettings(const std::optional<QString>& name, const std::optional<QString>& folder);

    // A second connection to the data file, as another workstation has.
    std::unique_ptr<store::Database> openData(int busyMs = 2000) const;

    // Inserts a message row directly; returns its ＮＯ.
    qint64 addMessage(const QString& to, const QString& from, const QString& taker,
                      const QString& memo = QStringLiteral("お電話をさしあげてください。"),
                      const std::optional<QString>& readOn = std::nullopt,
                      const QString& at = QStringLiteral("2026/12/01 09:30"));

    // Every row of MEMO_T, ordered by ＮＯ, columns joined with '|' (null as "<null>").
    QStringList rows() const;
    int rowCount() const;

    // A state with the settings read and the data file open, like after a good start-up.
    std::unique_ptr<Module1> startedState(const QString& name);

private:
    QTemporaryDir dir_;
};

}  // namespace testing_support
