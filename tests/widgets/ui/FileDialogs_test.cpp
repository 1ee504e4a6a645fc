// The PDF save dialog's file list writes the folder type, sizes and dates as the program's
// Japanese locale does, whatever the system's locale.
#include "support/TestSupport.h"
#include "support/ui/QtPrinters.h"
#include "widgets/ui/FileDialogs.h"

#include <fstream>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileSystemModel>

namespace {

TEST(SaveFileDialog, FileListColumnsFollowTheProgramsLocaleNotTheSystems) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    keiba::test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "DATA");
    std::ofstream(dir.path() / "day.pdf") << std::string(2048, 'x');
    const QString folder = QString::fromStdString(dir.path().string());
    const auto dialog = widgets::MakeSaveFileDialog(nullptr, {}, folder, {});
    const QAbstractProxyModel* list = dialog->proxyModel();
    ASSERT_NE(list, nullptr);
    const auto* files = qobject_cast<const QFileSystemModel*>(list->sourceModel());
    const QModelIndex root = list->mapFromSource(files->index(folder));
    QElapsedTimer waited; // the folder is read in the background
    waited.start();
    while (list->rowCount(root) < 2 && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    ASSERT_EQ(list->rowCount(root), 2);
    for (int row = 0; row < 2; ++row) {
        const QModelIndex name = list->index(row, 0, root);
        const QFileInfo info = files->fileInfo(list->mapToSource(name));
        const auto cell = [&](int column) {
            return name.siblingAtColumn(column).data().toString();
        };
        EXPECT_EQ(cell(3), QLocale().toString(info.lastModified(), QLocale::ShortFormat));
        EXPECT_EQ(cell(info.isDir() ? 2 : 1),
                  info.isDir() ? QCoreApplication::translate("QFileDialog", "Folder")
                               : QLocale().formattedDataSize(2048));
    }
    QLocale::setDefault(before);
}

} // namespace
