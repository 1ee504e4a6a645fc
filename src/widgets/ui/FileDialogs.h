// The program's file dialogs, Japanese in every column.
//
// Qt's own file dialog (the one used where the system offers none) takes its words from Qt's
// translations, which lack the type of a folder, and writes sizes and dates in the system's
// locale, which is not the program's Japanese one on a system set up in English ("Folder",
// "9 Dec 2026 04:54:05"). The list of files is therefore shown through a model that writes
// those columns as the rest of the program does: the folder type from the dialog's own
// translated word ("フォルダ"), sizes and dates in the default locale ("2026/12/09 4:54").
// On Windows the system's own dialog is used as it is.
#pragma once

#include <memory>

#include <QFileDialog>
#include <QIdentityProxyModel>
#include <QString>
#include <QWidget>

namespace widgets {

// The file list of the dialog with its type, size and date columns written in the default
// locale and the program's translations. The source model is the dialog's QFileSystemModel.
class TLocalFileListModel : public QIdentityProxyModel {
    Q_OBJECT

public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

// A dialog that asks for a file to save, in folder or file (the proposed name), offering
// filter ("PDF (*.pdf)").
std::unique_ptr<QFileDialog> MakeSaveFileDialog(QWidget* parent, const QString& caption,
                                                const QString& file, const QString& filter);

// The file chosen in that dialog, shown modally; empty when cancelled.
QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& file,
                        const QString& filter);

} // namespace widgets
