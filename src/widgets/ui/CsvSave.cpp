#include "widgets/ui/CsvSave.h"

#include "widgets/ui/FileDialogs.h"
#include "widgets/ui/QtUserInteraction.h"

#include <filesystem>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace widgets {

namespace {

// What this run chose last: the folder of the last file saved and the file type.
QString& LastFolder() {
    static QString folder;
    return folder;
}
QString& LastFilter() {
    static QString filter;
    return filter;
}

QString StartFolder() {
    if (!LastFolder().isEmpty() && QFileInfo(LastFolder()).isDir()) {
        return LastFolder();
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

} // namespace

QStringList CsvNameFilters() {
    return {QStringLiteral("CSV UTF-8(BOM) (*.csv)"), QStringLiteral("CSV Shift-JIS (*.csv)")};
}

files::TCsvEncoding CsvEncodingOfFilter(const QString& filter) {
    return filter == CsvNameFilters().at(1) ? files::TCsvEncoding::ShiftJis
                                            : files::TCsvEncoding::Utf8Bom;
}

bool WriteTableAsCsv(IUserInteraction& interaction, const files::TTextTable& table,
                     const QString& file, files::TCsvEncoding encoding) {
    const std::filesystem::path path(file.toStdU16String());
    if (const std::error_code error = files::WriteCsvFile(path, table, encoding)) {
        interaction.ErrorBox(files::CsvWriteFailureText(path, error));
        return false;
    }
    return true;
}

bool SaveTableAsCsv(QWidget* parent, const files::TTextTable& table, const QString& suggestedName) {
    QtUserInteraction interaction(parent);
    return SaveTableAsCsv(parent, table, suggestedName, interaction);
}

bool SaveTableAsCsv(QWidget* parent, const files::TTextTable& table, const QString& suggestedName,
                    IUserInteraction& interaction) {
    const QStringList filters = CsvNameFilters();
    const auto dialog = MakeSaveFileDialog(parent, QStringLiteral("CSVファイルに保存"),
                                           QDir(StartFolder()).filePath(suggestedName),
                                           filters.join(QStringLiteral(";;")));
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    if (filters.contains(LastFilter())) {
        dialog->selectNameFilter(LastFilter());
    }
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return false;
    }
    const QString file = dialog->selectedFiles().constFirst();
    const QString filter = dialog->selectedNameFilter();
    LastFilter() = filter;
    LastFolder() = QFileInfo(file).absolutePath();
    return WriteTableAsCsv(interaction, table, file, CsvEncodingOfFilter(filter));
}

} // namespace widgets
