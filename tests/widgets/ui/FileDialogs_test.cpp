// The save dialog's file list in the program's Japanese locale, whatever the system's.
#include "support/TestSupport.h"
#include "support/ui/QtPrinters.h"
#include "widgets/ui/FileDialogs.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileSystemModel>

namespace {

TEST(SaveFileDialog, FolderTypeAndDatesFollowTheProgramsLocale) {
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    keiba::test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "DATA");
    const QString folder = QString::fromStdString(dir.path().string());
    const auto dialog = widgets::MakeSaveFileDialog(nullptr, {}, folder, {});
    const QAbstractProxyModel* list = dialog->proxyModel();
    const auto* files = qobject_cast<const QFileSystemModel*>(list->sourceModel());
    const QModelIndex root = list->mapFromSource(files->index(folder));
    for (int wait = 0; wait < 100 && list->rowCount(root) < 1; ++wait) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50); // read in the background
    }
    const QModelIndex name = list->index(0, 0, root);
    const QFileInfo info = files->fileInfo(list->mapToSource(name));
    EXPECT_EQ(name.siblingAtColumn(2).data().toString(),
              QCoreApplication::translate("QFileDialog", "Folder"));
    EXPECT_EQ(name.siblingAtColumn(3).data().toString(),
              QLocale().toString(info.lastModified(), QLocale::ShortFormat));
    QLocale::setDefault(QLocale::system());
}

} // namespace
