// The PDF save dialog's file list writes the folder type, sizes and dates in Japanese, whatever
// the system's locale.
#include "support/TestSupport.h"
#include "support/ui/QtPrinters.h"
#include "widgets/ui/FileDialogs.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QLocale>

namespace {

TEST(SaveFileDialog, FileListColumnsFollowTheProgramsLocaleNotTheSystems) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    keiba::test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "DATA");
    std::ofstream(dir.path() / "day.pdf") << std::string(2048, 'x');
    const QString folder = QString::fromStdString(dir.path().string());

    const auto dialog = widgets::MakeSaveFileDialog(nullptr, QStringLiteral("PDFファイルに印刷"),
                                                    folder, QStringLiteral("PDF (*.pdf)"));
    const QAbstractProxyModel* list = dialog->proxyModel();
    ASSERT_NE(list, nullptr);
    const auto* files = qobject_cast<const QFileSystemModel*>(list->sourceModel());
    ASSERT_NE(files, nullptr);
    // The folder is read in the background.
    QElapsedTimer waited;
    waited.start();
    const QModelIndex root = list->mapFromSource(files->index(folder));
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
        if (info.isDir()) {
            EXPECT_EQ(cell(2), QCoreApplication::translate("QFileDialog", "Folder"));
        } else {
            EXPECT_EQ(cell(1), QLocale().formattedDataSize(2048));
        }
    }
    QLocale::setDefault(before);
}

} // namespace
