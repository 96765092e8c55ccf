#pragma once
#include <QWidget>
#include <functional>

#include "desktop/view_pane.h"
#include "firmware/firmware_list.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace ravo {
struct JobOutcome;
}

namespace ravo::desktop {

class CSettingsListCtrl;

// The unit view: what the last information read learned about the unit, the
// unit number box every request reads, the firmware list and download, and
// the settings list with its editors and its backup and restore. It never
// runs a job: it sends requests to the main window and follows the frame's
// state (its enabling whether it shows or not).
class CViewUnit : public QWidget, public ViewPane {
    Q_OBJECT
public:
    explicit CViewUnit(ViewContext ctx, QWidget* parent = nullptr);

    void treeSelection(const TreeLabels& labels) override;
    // Asks before a firmware download; a question box unless replaced.
    std::function<bool(const QString& text)> confirmDownload;

    // Asks for a file name for "Save settings..." (save true) and "Restore
    // settings..."; empty when cancelled. A file dialog unless replaced.
    std::function<QString(bool save)> chooseSettingsFile;

    CSettingsListCtrl* settingsList() const { return settingsList_; }
    // The firmware folder changed: its files are listed again.
    void refreshFirmwareList();

private:
    void buildControls();
    void initialUpdate();
    void fillFirmwareList();
    void showResults();
    void showBanner();
    void showProgress();
    void applyEnabling();
    void jobEnded(const JobOutcome& outcome);
    void synchroniseUnitNumber();
    void readInfo();
    void firmwareDownload();
    void cancelJob();
    void fixSerial();
    void powerDown();
    void editRow(int rowId);
    void saveSettings();
    void restoreSettings();
    bool idle() const;
    bool linkConnected() const;
    void notice(const QString& text, bool warning = false);
    QString chooseFile(bool save);

    ViewContext ctx_;
    FirmwareFileList firmwareListing_;
    bool progressShown_ = false;

    QWidget* banner_ = nullptr;
    QVBoxLayout* bannerLines_ = nullptr;
    QLabel* infoValues_[6] = {};
    QLineEdit* unitBox_ = nullptr;
    QPushButton* readInfoButton_ = nullptr;
    QLabel* resultText_ = nullptr;
    QPushButton* powerDownButton_ = nullptr;
    QPushButton* fixSerialButton_ = nullptr;
    QComboBox* firmwareList_ = nullptr;
    QLabel* firmwareText_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* downloadButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    CSettingsListCtrl* settingsList_ = nullptr;
    QPushButton* saveSettingsButton_ = nullptr;
    QPushButton* restoreSettingsButton_ = nullptr;
};

}  // namespace ravo::desktop
