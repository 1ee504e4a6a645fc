// A tab strip over a client area: the race tabs (TabControl1) and the horse tabs (TabControl2).
//
// Unlike a page control, the tabs carry no pages of their own: choosing a tab changes what the
// one client area below shows. Tabs are labelled from Shift-JIS texts like every caption.
#pragma once

#include <string_view>

#include <QTabBar>
#include <QWidget>

namespace widgets {

class TTabControl : public QWidget {
    Q_OBJECT

public:
    explicit TTabControl(QWidget* parent = nullptr);

    // The tab strip; its tab texts are the tabs' labels.
    QTabBar* Tabs() const { return tabs_; }
    // The area under the strip; what it holds is laid out to fill it.
    QWidget* Client() const { return client_; }
    // Puts widget into the client area, filling it.
    void SetClientWidget(QWidget* widget);

    // Removes every tab.
    void ClearTabs();
    // Adds a tab labelled with a Shift-JIS text; the first tab added becomes the chosen one.
    void AddTab(std::string_view sjisLabel);
    // The chosen tab, -1 without tabs.
    int TabIndex() const { return tabs_->currentIndex(); }
    // Chooses a tab from code.
    void SetTabIndex(int index);

signals:
    // The user chose another tab (changes made from code raise nothing).
    void Change();

private:
    // Makes the layout take the strip's new height, also while the strip is hidden.
    void StripChanged();

    QTabBar* tabs_;
    QWidget* client_;
};

} // namespace widgets
