#include "shell/ui/THelpWindow.h"

#include "files/WholeFile.h"
#include "jvdata/SjisText.h"
#include "shell/HelpFile.h"
#include "shell/ShellTexts.h"
#include "widgets/ui/QtConvert.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace shell::ui {

namespace fs = std::filesystem;

namespace {

using widgets::FromSjis;

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

QString PathText(const fs::path& path) {
    return QString::fromStdU16String(path.u16string());
}

// The page's file without its anchor, so that "racecard.html#grid" selects "出馬表".
QUrl WithoutFragment(const QUrl& url) {
    return url.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery | QUrl::NormalizePathSegments);
}

constexpr int kPageRole = Qt::UserRole;

} // namespace

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(Utf8("Tomberly＆競馬新聞 ヘルプ"));
    resize(900, 640);

    auto* tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    back_ = tools->addAction(Utf8("戻る"));
    forward_ = tools->addAction(Utf8("進む"));
    home_ = tools->addAction(Utf8("目次"));
    back_->setShortcut(QKeySequence::Back);
    forward_->setShortcut(QKeySequence::Forward);
    back_->setEnabled(false);
    forward_->setEnabled(false);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    contents_ = new QTreeWidget(splitter);
    contents_->setObjectName(QStringLiteral("HelpContents"));
    contents_->setHeaderHidden(true);
    contents_->setRootIsDecorated(true);
    browser_ = new QTextBrowser(splitter);
    browser_->setObjectName(QStringLiteral("HelpPage"));
    // Links are followed here: pages of the help in this window, anything else outside.
    browser_->setOpenLinks(false);
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(splitter, 1);

    connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(home_, &QAction::triggered, browser_, &QTextBrowser::home);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::anchorClicked, this, &THelpWindow::FollowLink);
    connect(browser_, &QTextBrowser::sourceChanged, this, &THelpWindow::SelectPage);
    connect(contents_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item, QTreeWidgetItem*) {
                if (item == nullptr) {
                    return;
                }
                const QUrl page = item->data(0, kPageRole).toUrl();
                if (!page.isEmpty() && WithoutFragment(page) != WithoutFragment(Page())) {
                    browser_->setSource(page);
                }
            });
}

std::string THelpWindow::Open(const fs::path& helpFolder) {
    const fs::path index = helpFolder / kHelpHtmlIndexName;
    std::error_code error;
    if (!fs::is_regular_file(index, error)) {
        return HelpFileMissingText(index);
    }
    folder_ = helpFolder;
    std::vector<THelpContentsEntry> entries;
    const files::FileReadResult read = files::ReadWholeFile(helpFolder / kHelpContentsName);
    if (read.status == files::FileReadStatus::Read) {
        entries = ParseHelpContents(read.bytes);
    }
    if (entries.empty()) {
        entries.push_back({Sjis::FromUtf8("目次"), std::string(kHelpHtmlIndexName), 0});
    }
    FillContents(entries);
    browser_->clearHistory();
    browser_->setSearchPaths({PathText(helpFolder)});
    browser_->setSource(QUrl::fromLocalFile(PathText(index)));
    if (browser_->document()->isEmpty()) {
        return HelpOpenFailedText(index);
    }
    return {};
}

QUrl THelpWindow::Page() const {
    return browser_->source();
}

void THelpWindow::FillContents(const std::vector<THelpContentsEntry>& entries) {
    contents_->clear();
    std::vector<QTreeWidgetItem*> parents; // the last line of each depth
    for (const THelpContentsEntry& entry : entries) {
        const auto depth = static_cast<std::size_t>(
            std::min<int>(entry.level, static_cast<int>(parents.size()))); // no depth skipped
        parents.resize(depth);
        auto* item =
            parents.empty() ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(parents.back());
        item->setText(0, FromSjis(entry.name));
        if (!entry.page.empty()) {
            const fs::path page =
                folder_ / fs::path(std::u8string(entry.page.begin(), entry.page.end()));
            item->setData(0, kPageRole, QUrl::fromLocalFile(PathText(page.lexically_normal())));
        }
        parents.push_back(item);
    }
    contents_->expandAll();
}

void THelpWindow::FollowLink(const QUrl& url) {
    const QUrl target = browser_->source().resolved(url);
    if (target.isLocalFile()) {
        // A page of the help, or a picture or file beside it.
        const QString helpFolder = QDir::cleanPath(PathText(folder_));
        const QString file = QDir::cleanPath(target.toLocalFile());
        if (file.startsWith(helpFolder + QLatin1Char('/')) &&
            (file.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) ||
             file.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive))) {
            browser_->setSource(target);
            return;
        }
    }
    if (url.scheme() == QStringLiteral("http") || url.scheme() == QStringLiteral("https") ||
        url.scheme() == QStringLiteral("mailto")) {
        QDesktopServices::openUrl(url); // the web is the desktop's, where it has a browser
    }
}

void THelpWindow::SelectPage(const QUrl& page) {
    const QUrl shown = WithoutFragment(page);
    for (QTreeWidgetItemIterator it(contents_); *it != nullptr; ++it) {
        if (WithoutFragment((*it)->data(0, kPageRole).toUrl()) == shown) {
            if (contents_->currentItem() != *it) {
                const QSignalBlocker quiet(contents_);
                contents_->setCurrentItem(*it);
            }
            return;
        }
    }
    const QSignalBlocker quiet(contents_);
    contents_->clearSelection();
    contents_->setCurrentItem(nullptr);
}

} // namespace shell::ui
