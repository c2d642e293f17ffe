#pragma once

#include <QCoreApplication>
#include <QString>

// Texts that more than one handler of the main window puts into its fields.
namespace texts {

inline QString defaultMemo() {
    return QCoreApplication::translate("Form1", "お電話をさしあげてください。");
}

}  // namespace texts
