#include "jvlink/standin/ui/StandInSettingsDialog.h"

#include <limits>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

namespace standin::ui {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
std::string ToUtf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QSpinBox* MakeSpin(const char* name, int low, int high, const QString& offText = {}) {
    auto* spin = new QSpinBox;
    spin->setObjectName(QLatin1String(name));
    spin->setRange(low, high);
    // The lowest value of a count means "off" and reads so.
    spin->setSpecialValueText(offText);
    return spin;
}

// A status code field: 0 (no fault) or a negative code.
QSpinBox* MakeCode(const char* name) {
    auto* spin = MakeSpin(name, -99999, 0);
    spin->setSuffix(QStringLiteral("　（0: なし）"));
    return spin;
}

QComboBox* MakeChoice(const char* name, const QStringList& items) {
    auto* combo = new QComboBox;
    combo->setObjectName(QLatin1String(name));
    combo->addItems(items);
    return combo;
}

} // namespace

TStandInSettingsDialog::TStandInSettingsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("StandInSettingsDialog"));
    setWindowTitle(QStringLiteral("JV-Link 設定（スタンドイン）"));

    serviceKey_ = new QLineEdit;
    serviceKey_->setObjectName(QStringLiteral("serviceKey"));
    version_ = new QLineEdit;
    version_->setObjectName(QStringLiteral("version"));
    auto* service = new QGroupBox(QStringLiteral("サービス"));
    auto* serviceForm = new QFormLayout(service);
    serviceForm->addRow(QStringLiteral("サービスキー"), serviceKey_);
    serviceForm->addRow(QStringLiteral("報告するバージョン"), version_);

    dataSource_ = MakeChoice("dataSource",
                             {QStringLiteral("内蔵シーズン"), QStringLiteral("カタログフォルダ")});
    dataFolder_ = new QLineEdit;
    dataFolder_->setObjectName(QStringLiteral("dataFolder"));
    auto* dataBrowse = new QPushButton(QStringLiteral("参照..."));
    dataBrowse->setObjectName(QStringLiteral("dataFolderBrowse"));
    auto* dataRow = new QHBoxLayout;
    dataRow->addWidget(dataFolder_);
    dataRow->addWidget(dataBrowse);
    seed_ = new QLineEdit;
    seed_->setObjectName(QStringLiteral("seed"));
    seed_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{1,10}")), seed_));
    seasonWeeks_ = MakeSpin("seasonWeeks", 1, 104);
    setupYears_ =
        MakeSpin("setupYears", 0, standin::kMaxSetupYears, QStringLiteral("過去の週数のみ"));
    setupYears_->setSuffix(QStringLiteral(" 年"));
    cacheFolder_ = new QLineEdit;
    cacheFolder_->setObjectName(QStringLiteral("cacheFolder"));
    cacheFolder_->setPlaceholderText(QStringLiteral("設定ファイルと同じ場所"));
    auto* cacheBrowse = new QPushButton(QStringLiteral("参照..."));
    cacheBrowse->setObjectName(QStringLiteral("cacheFolderBrowse"));
    auto* cacheRow = new QHBoxLayout;
    cacheRow->addWidget(cacheFolder_);
    cacheRow->addWidget(cacheBrowse);
    downloadMsPerFile_ = MakeSpin("downloadMsPerFile", 0, 60000);
    downloadMsPerFile_->setSuffix(QStringLiteral(" ms"));
    auto* data = new QGroupBox(QStringLiteral("データ"));
    auto* dataForm = new QFormLayout(data);
    dataForm->addRow(QStringLiteral("データの提供元"), dataSource_);
    dataForm->addRow(QStringLiteral("カタログフォルダ"), dataRow);
    dataForm->addRow(QStringLiteral("シード"), seed_);
    dataForm->addRow(QStringLiteral("過去の週数"), seasonWeeks_);
    dataForm->addRow(QStringLiteral("セットアップデータの年数"), setupYears_);
    dataForm->addRow(QStringLiteral("データ保存場所"), cacheRow);
    dataForm->addRow(QStringLiteral("1ファイルのダウンロード時間"), downloadMsPerFile_);

    const int most = std::numeric_limits<int>::max();
    faultInit_ = MakeCode("faultInit");
    faultOpen_ = MakeCode("faultOpen");
    faultOpenEmpty_ = new QCheckBox(QStringLiteral("読み込むファイルなしで正常終了する"));
    faultOpenEmpty_->setObjectName(QStringLiteral("faultOpenEmpty"));
    faultLastFileTimestamp_ =
        MakeChoice("faultLastFileTimestamp", {QStringLiteral("最新ファイルの時刻"),
                                              QStringLiteral("空白"), QStringLiteral("ゼロ")});
    faultStatusAfter_ = MakeSpin("faultStatusAfter", -1, most, QStringLiteral("なし"));
    faultStatus_ = MakeCode("faultStatus");
    faultReadAt_ = MakeSpin("faultReadAt", 0, most, QStringLiteral("なし"));
    faultRead_ = MakeCode("faultRead");
    faultCorruptAt_ = MakeSpin("faultCorruptAt", 0, most, QStringLiteral("なし"));
    faultCorruption_ = MakeChoice("faultCorruption",
                                  {QStringLiteral("短いレコード"), QStringLiteral("不正なバイト"),
                                   QStringLiteral("パス文字（12-19バイト目）")});
    faultClose_ = MakeCode("faultClose");
    auto* faults = new QGroupBox(QStringLiteral("障害の発生（試験用）"));
    auto* faultForm = new QFormLayout(faults);
    faultForm->addRow(QStringLiteral("JVInit の結果"), faultInit_);
    faultForm->addRow(QStringLiteral("JVOpen の結果"), faultOpen_);
    faultForm->addRow(QString(), faultOpenEmpty_);
    faultForm->addRow(QStringLiteral("最終ファイルタイムスタンプ"), faultLastFileTimestamp_);
    faultForm->addRow(QStringLiteral("JVStatus 失敗までのファイル数"), faultStatusAfter_);
    faultForm->addRow(QStringLiteral("JVStatus の結果"), faultStatus_);
    faultForm->addRow(QStringLiteral("JVRead が失敗するレコード"), faultReadAt_);
    faultForm->addRow(QStringLiteral("JVRead の結果"), faultRead_);
    faultForm->addRow(QStringLiteral("壊れたレコード"), faultCorruptAt_);
    faultForm->addRow(QStringLiteral("壊れ方"), faultCorruption_);
    faultForm->addRow(QStringLiteral("JVClose の結果"), faultClose_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName(QStringLiteral("buttons"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(service);
    layout->addWidget(data);
    layout->addWidget(faults);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(dataBrowse, &QPushButton::clicked, this, [this] { BrowseFolder(dataFolder_); });
    connect(cacheBrowse, &QPushButton::clicked, this, [this] { BrowseFolder(cacheFolder_); });
    connect(dataSource_, &QComboBox::currentIndexChanged, this,
            &TStandInSettingsDialog::UpdateSourceControls);
    SetSettings(TStandInSettings{});
}

void TStandInSettingsDialog::SetSettings(const TStandInSettings& s) {
    base_ = s;
    const TFaults& f = s.faults;
    serviceKey_->setText(FromUtf8(s.serviceKey));
    version_->setText(FromUtf8(s.version));
    dataSource_->setCurrentIndex(s.source == TDataSource::Folder ? 1 : 0);
    dataFolder_->setText(FromUtf8(s.dataFolder));
    seed_->setText(QString::number(s.seed));
    seasonWeeks_->setValue(s.seasonWeeks);
    setupYears_->setValue(s.setupYears);
    cacheFolder_->setText(FromUtf8(s.cacheFolder));
    downloadMsPerFile_->setValue(s.downloadMsPerFile);
    faultInit_->setValue(f.initError);
    faultOpen_->setValue(f.openError);
    faultOpenEmpty_->setChecked(f.openEmpty);
    faultLastFileTimestamp_->setCurrentIndex(static_cast<int>(f.lastFileTimestamp));
    faultStatusAfter_->setValue(f.statusFailAfter);
    faultStatus_->setValue(f.statusError);
    faultReadAt_->setValue(f.readFailAt);
    faultRead_->setValue(f.readError);
    faultCorruptAt_->setValue(f.corruptAt);
    faultCorruption_->setCurrentIndex(static_cast<int>(f.corruption));
    faultClose_->setValue(f.closeError);
    UpdateSourceControls();
}

TStandInSettings TStandInSettingsDialog::Settings() const {
    TStandInSettings s = base_;
    TFaults& f = s.faults;
    s.serviceKey = ToUtf8(serviceKey_->text().trimmed());
    s.version = ToUtf8(version_->text().trimmed());
    s.source = dataSource_->currentIndex() == 1 ? TDataSource::Folder : TDataSource::BuiltIn;
    s.dataFolder = ToUtf8(dataFolder_->text().trimmed());
    bool seedRead = false;
    const qulonglong seed = seed_->text().toULongLong(&seedRead);
    if (seedRead && seed <= std::numeric_limits<std::uint32_t>::max()) {
        s.seed = static_cast<std::uint32_t>(seed);
    }
    s.seasonWeeks = seasonWeeks_->value();
    s.setupYears = setupYears_->value();
    s.cacheFolder = ToUtf8(cacheFolder_->text().trimmed());
    s.downloadMsPerFile = downloadMsPerFile_->value();
    f.initError = faultInit_->value();
    f.openError = faultOpen_->value();
    f.openEmpty = faultOpenEmpty_->isChecked();
    f.lastFileTimestamp = static_cast<TTimestampForm>(faultLastFileTimestamp_->currentIndex());
    f.statusFailAfter = faultStatusAfter_->value();
    f.statusError = faultStatus_->value();
    f.readFailAt = faultReadAt_->value();
    f.readError = faultRead_->value();
    f.corruptAt = faultCorruptAt_->value();
    f.corruption = static_cast<TCorruption>(faultCorruption_->currentIndex());
    f.closeError = faultClose_->value();
    return s;
}

void TStandInSettingsDialog::BrowseFolder(QLineEdit* edit) {
    const QString folder = QFileDialog::getExistingDirectory(this, windowTitle(), edit->text());
    if (!folder.isEmpty()) {
        edit->setText(folder);
    }
}

void TStandInSettingsDialog::UpdateSourceControls() {
    const bool folder = dataSource_->currentIndex() == 1;
    dataFolder_->setEnabled(folder);
    seed_->setEnabled(!folder);
    seasonWeeks_->setEnabled(!folder);
    setupYears_->setEnabled(!folder);
}

TEditOutcome EditSettingsInDialog(TStandInSettings& settings) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return TEditOutcome::Unavailable;
    }
    TStandInSettingsDialog dialog(QApplication::activeWindow());
    dialog.SetSettings(settings);
    if (dialog.exec() != QDialog::Accepted) {
        return TEditOutcome::Cancelled;
    }
    settings = dialog.Settings();
    return TEditOutcome::Accepted;
}

} // namespace standin::ui
