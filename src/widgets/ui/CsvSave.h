// Saving a list as a CSV file from a window: the program's save dialog asks for the file and,
// through its file types, for the encoding ("CSV UTF-8(BOM)" or "CSV Shift-JIS"); the table is
// written by files::WriteCsvFile, and a failure is told to the user in Japanese.
//
// The folder and the encoding last chosen are offered again the next time in the same run.
#pragma once

#include "files/CsvText.h"
#include "files/TextTable.h"
#include "widgets/UserInteraction.h"

#include <QString>
#include <QStringList>
#include <QWidget>

namespace widgets {

// The dialog's file types, UTF-8 with BOM first: "CSV UTF-8(BOM) (*.csv)",
// "CSV Shift-JIS (*.csv)".
QStringList CsvNameFilters();
// The encoding of one of those file types; UTF-8 with BOM for any other text.
files::TCsvEncoding CsvEncodingOfFilter(const QString& filter);

// Writes table to file in encoding. On failure the user is shown the file and the reason in an
// error box and false is returned; nothing of an earlier file of that name is lost.
bool WriteTableAsCsv(IUserInteraction& interaction, const files::TTextTable& table,
                     const QString& file, files::TCsvEncoding encoding);

// Asks for the file (suggestedName: a file name, proposed in the folder last used, else the
// user's documents) and the encoding, then writes table. False when cancelled or not written
// (the failure already told).
bool SaveTableAsCsv(QWidget* parent, const files::TTextTable& table, const QString& suggestedName);
// The same, telling a failure through the window's user interaction.
bool SaveTableAsCsv(QWidget* parent, const files::TTextTable& table, const QString& suggestedName,
                    IUserInteraction& interaction);

} // namespace widgets
