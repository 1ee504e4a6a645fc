#include "shell/ui/TVersionForm.h"

#include "shell/ShellTexts.h"
#include "shell/ui/ToolGlyphs.h"
#include "widgets/ui/TLabel3Dj.h"

#include <QFont>
#include <QFrame>

namespace shell::ui {

namespace {

// A caption of the window: engraved text, no border, on the panel's colour.
widgets::TLabel3Dj* MakeLabel(QWidget* parent, const char* name, int pixelSize, bool bold) {
    auto* label = new widgets::TLabel3Dj(parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    label->SetTransparent(true);
    label->SetShowAccelChar(false);
    return label;
}

} // namespace

TVersionForm::TVersionForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("VersionForm"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    setFixedSize(298, 178);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(8, 8, 282, 127);

    programIcon_ = new QLabel(panel);
    programIcon_->setObjectName(QStringLiteral("ProgramIcon"));
    programIcon_->setPixmap(ProgramIcon().pixmap(32, 32));
    programIcon_->setGeometry(12, 12, 32, 32);

    productName_ = MakeLabel(panel, "ProductName", 16, true);
    productName_->SetCaptionSjis(shell::ProductName());
    productName_->SetTextStyle(widgets::TTextStyle::tsRaised);
    productName_->move(60, 16);

    version_ = MakeLabel(panel, "Version", 12, false);
    version_->SetTextStyle(widgets::TTextStyle::tsRecessed);
    version_->move(60, 50);

    comments_ = MakeLabel(panel, "Comments", 12, false);
    comments_->SetCaptionSjis(shell::VersionWindowComment());
    comments_->SetTextStyle(widgets::TTextStyle::tsRecessed);
    comments_->move(60, 80);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("OKButton"));
    okButton_->setGeometry(111, 143, 75, 25);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
}

void TVersionForm::SetVersion(std::string_view sjisVersion) {
    version_->SetCaptionSjis(sjisVersion);
}

} // namespace shell::ui
