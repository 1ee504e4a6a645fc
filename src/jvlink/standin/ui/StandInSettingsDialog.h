// The stand-in JV-Link's settings dialog, shown by JVSetUIProperties: service key, data
// source, download cache, pace, reported version and the faults it produces on demand.
#pragma once

#include "jvlink/standin/StandInJVLink.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace standin::ui {

class TStandInSettingsDialog : public QDialog {
    Q_OBJECT

public:
    explicit TStandInSettingsDialog(QWidget* parent = nullptr);

    // Fills the controls from settings.
    void SetSettings(const TStandInSettings& settings);
    // The settings as the controls show them.
    TStandInSettings Settings() const;

private:
    void BrowseFolder(QLineEdit* edit);
    void UpdateSourceControls();

    TStandInSettings base_; // what SetSettings gave, for values the controls cannot hold
    QLineEdit* serviceKey_;
    QLineEdit* version_;
    QComboBox* dataSource_;
    QLineEdit* dataFolder_;
    QLineEdit* seed_;
    QSpinBox* seasonWeeks_;
    QSpinBox* setupYears_;
    QLineEdit* cacheFolder_;
    QSpinBox* downloadMsPerFile_;
    QSpinBox* faultInit_;
    QSpinBox* faultOpen_;
    QCheckBox* faultOpenEmpty_;
    QComboBox* faultLastFileTimestamp_;
    QSpinBox* faultStatusAfter_;
    QSpinBox* faultStatus_;
    QSpinBox* faultReadAt_;
    QSpinBox* faultRead_;
    QSpinBox* faultCorruptAt_;
    QComboBox* faultCorruption_;
    QSpinBox* faultClose_;
};

// Shows the dialog modally over the active window with settings; on OK settings holds what
// was entered. Unavailable when this process has no widget application.
TEditOutcome EditSettingsInDialog(TStandInSettings& settings);

} // namespace standin::ui
