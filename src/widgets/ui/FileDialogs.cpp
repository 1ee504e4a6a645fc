#include "widgets/ui/FileDialogs.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLocale>

namespace widgets {

namespace {

// The columns of the dialog's file list (QFileSystemModel's).
constexpr int kSizeColumn = 1;
constexpr int kTypeColumn = 2;
constexpr int kDateColumn = 3;

} // namespace

QVariant TLocalFileListModel::data(const QModelIndex& index, int role) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr || !index.isValid()) {
        return QIdentityProxyModel::data(index, role);
    }
    const QModelIndex source = mapToSource(index);
    const QLocale locale;
    switch (index.column()) {
    case kSizeColumn:
        if (!files->isDir(source)) {
            return locale.formattedDataSize(files->size(source));
        }
        break;
    case kTypeColumn:
        if (files->isDir(source)) {
            // The word Qt's translations carry for a folder in the file dialog itself.
            return QCoreApplication::translate("QFileDialog", "Folder");
        }
        break;
    case kDateColumn: {
        const QDateTime modified = files->lastModified(source);
        if (modified.isValid()) {
            return locale.toString(modified, QLocale::ShortFormat);
        }
        break;
    }
    default:
        break;
    }
    return QIdentityProxyModel::data(index, role);
}

std::unique_ptr<QFileDialog> MakeSaveFileDialog(QWidget* parent, const QString& caption,
                                                const QString& file, const QString& filter) {
    auto dialog = std::make_unique<QFileDialog>(parent, caption, file, filter);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
#ifndef Q_OS_WIN
    // Qt's own dialog: its list through the model that writes every column in Japanese.
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setProxyModel(new TLocalFileListModel(dialog.get()));
#endif
    if (!QFileInfo(file).isDir()) {
        dialog->selectFile(file);
    }
    return dialog;
}

QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& file,
                        const QString& filter) {
    const auto dialog = MakeSaveFileDialog(parent, caption, file, filter);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog->selectedFiles().constFirst();
}

} // namespace widgets
