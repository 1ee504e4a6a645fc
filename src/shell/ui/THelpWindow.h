// The program's own help window, for systems without HTML Help: the help's table of contents
// on the left, the page on the right, with working links and back and forward, like the
// HTML Help window it stands in for.
#pragma once

#include "shell/HelpContents.h"

#include <filesystem>
#include <string>

#include <QUrl>
#include <QWidget>

class QAction;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace shell::ui {

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // Reads the help pages of the folder (the contents file and the contents page
    // index.html) and shows the contents page. Empty on success, else the CP932 message for
    // the user. Without a contents file the list holds the contents page alone.
    std::string Open(const std::filesystem::path& helpFolder);

    // The page shown and the contents' lines, for tests.
    QUrl Page() const;
    QTreeWidget* ContentsList() const { return contents_; }
    QTextBrowser* Browser() const { return browser_; }
    QAction* BackAction() const { return back_; }
    QAction* ForwardAction() const { return forward_; }

private:
    void FillContents(const std::vector<THelpContentsEntry>& entries);
    void FollowLink(const QUrl& url);
    void SelectPage(const QUrl& page);

    std::filesystem::path folder_;
    QTreeWidget* contents_ = nullptr;
    QTextBrowser* browser_ = nullptr;
    QAction* back_ = nullptr;
    QAction* forward_ = nullptr;
    QAction* home_ = nullptr;
};

} // namespace shell::ui
