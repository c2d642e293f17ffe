#pragma once

#include <QString>

// Hints for the usual mistakes in the order of a command's arguments. Each throws UsageError
// saying which argument is which and showing the command's form; nothing is touched before.
namespace admin {

// backup DATAFILE COPY: COPY is the new file to make, not the folder to make it in.
void checkBackupCopy(const QString& dataFile, const QString& copy);

// import DATAFILE IN.csv and export DATAFILE OUT.csv: a CSV or other text file where the data
// file goes, or a data file where the CSV file goes. csvForm is "IN.csv" or "OUT.csv".
void checkDataFileAndCsv(const QString& command, const QString& csvForm, const QString& dataFile,
                         const QString& csv);

}  // namespace admin
