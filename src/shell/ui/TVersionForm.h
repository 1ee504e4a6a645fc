// TVersionForm: the version window (ﾊﾞｰｼﾞｮﾝ情報), made at start and shown modally by the main
// window's version command: the program's icon and name, its version and the line
// "for JRA-VAN Data Lab.".
#pragma once

#include <string_view>

#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace widgets {
class TLabel3Dj;
}

namespace shell::ui {

class TVersionForm : public QDialog {
    Q_OBJECT

public:
    explicit TVersionForm(QWidget* parent = nullptr);

    widgets::TLabel3Dj* ProductName() const { return productName_; }
    widgets::TLabel3Dj* Version() const { return version_; }
    widgets::TLabel3Dj* Comments() const { return comments_; }
    QPushButton* OKButton() const { return okButton_; }

    // Sets the version label (Shift-JIS), "Ver.1.30".
    void SetVersion(std::string_view sjisVersion);

private:
    QLabel* programIcon_;
    widgets::TLabel3Dj* productName_;
    widgets::TLabel3Dj* version_;
    widgets::TLabel3Dj* comments_;
    QPushButton* okButton_;
};

} // namespace shell::ui
