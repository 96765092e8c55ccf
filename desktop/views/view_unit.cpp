#include "desktop/views/view_unit.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/frame_ports.h"
#include "app/ravo_config_app.h"
#include "app/unit_view_rules.h"
#include "desktop/frame_signals.h"
#include "desktop/svg_picture.h"
#include "desktop/unit/desktop_edit_host.h"
#include "desktop/unit/restore_settings_dlg.h"
#include "desktop/unit/settings_list_ctrl.h"
#include "desktop/value_label.h"
#include "divedata/text_file.h"
#include "jobs/unit_view_texts.h"
#include "firmware/file_util.h"
#include "link/unit_number.h"
#include "settings/clock_check.h"
#include "settings/ini_file.h"
#include "settings/settings_backup.h"
#include "link/unit_time.h"

// The view's resources live in a static library: registered by hand, outside any namespace.
static void initUnitViewResources()
{
    Q_INIT_RESOURCE(unit_view);
}

namespace ravo::desktop {
namespace {

constexpr const char* kInfoLabels[6] = {"Voltage", "Software", "Display", "Battery", "Backpack", "HUD"};

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

QPushButton* namedButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(text);
    return button;
}

// Background and text colours of a banner line by its severity.
QString bannerStyle(WarningSeverity severity)
{
    switch (severity) {
    case WarningSeverity::Danger: return "QLabel { background: #b3261e; color: white; padding: 4px; }";
    case WarningSeverity::Caution: return "QLabel { background: #f9c846; color: black; padding: 4px; }";
    default: return "QLabel { background: #d4e6f9; color: black; padding: 4px; }";
    }
}

}  // namespace

CViewUnit::CViewUnit(ViewContext ctx, QWidget* parent) : QWidget(parent), ctx_(ctx)
{
    initUnitViewResources();
    buildControls();
    initialUpdate();
}

void CViewUnit::buildControls()
{
    auto* info = new QGroupBox("Info", this);
    auto* infoGrid = new QGridLayout(info);
    for (int i = 0; i < 6; ++i) {
        auto* label = new QLabel(kInfoLabels[i], info);
        // The value's name carries caption and value (showValue), so a screen
        // reader reads both.
        infoValues_[i] = new QLabel(info);
        label->setBuddy(infoValues_[i]);
        infoValues_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        infoValues_[i]->setMinimumWidth(110);
        infoGrid->addWidget(label, i, 0);
        infoGrid->addWidget(infoValues_[i], i, 1);
    }

    auto* unitGroup = new QGroupBox("Unit number", this);
    auto* unitLayout = new QVBoxLayout(unitGroup);
    unitBox_ = new QLineEdit(unitGroup);
    unitBox_->setAccessibleName("Unit number");
    unitBox_->setAlignment(Qt::AlignCenter);
    unitBox_->setMaximumWidth(120);
    unitLayout->addWidget(unitBox_);

    readInfoButton_ = namedButton("Read Info", this);
    readInfoButton_->setDefault(true);
    resultText_ = new QLabel(this);
    resultText_->setWordWrap(true);
    resultText_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    powerDownButton_ = namedButton("PowerDown", this);
    fixSerialButton_ = namedButton("Fix FFFF", this);

    auto* requests = new QVBoxLayout;
    auto* requestButtons = new QHBoxLayout;
    requestButtons->addWidget(unitGroup);
    auto* buttonColumn = new QVBoxLayout;
    buttonColumn->addWidget(readInfoButton_);
    buttonColumn->addWidget(powerDownButton_);
    buttonColumn->addWidget(fixSerialButton_);
    requestButtons->addLayout(buttonColumn);
    requestButtons->addStretch(1);
    requests->addLayout(requestButtons);
    requests->addWidget(resultText_);

    auto* firmware = new QGroupBox("Firmware", this);
    auto* firmwareLayout = new QGridLayout(firmware);
    firmwareList_ = new QComboBox(firmware);
    firmwareList_->setAccessibleName("Firmware");
    // Wide enough for a firmware file's name; a longer one is cut, not the tree.
    firmwareList_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    firmwareList_->setMinimumContentsLength(18);
    firmwareText_ = new QLabel(firmware);
    progress_ = new QProgressBar(firmware);
    progress_->setAccessibleName("Progress");
    progress_->setRange(0, 100);
    downloadButton_ = namedButton("FW Download", firmware);
    cancelButton_ = namedButton("Cancel", firmware);
    firmwareLayout->addWidget(firmwareList_, 0, 0);
    firmwareLayout->addWidget(downloadButton_, 0, 1);
    firmwareLayout->addWidget(firmwareText_, 1, 0);
    firmwareLayout->addWidget(cancelButton_, 1, 1);
    firmwareLayout->addWidget(progress_, 2, 0, 1, 2);

    auto* settings = new QGroupBox("Settings", this);
    auto* settingsLayout = new QVBoxLayout(settings);
    settingsList_ = new CSettingsListCtrl(settings);
    saveSettingsButton_ = namedButton("Save settings...", settings);
    restoreSettingsButton_ = namedButton("Restore settings...", settings);
    auto* backupButtons = new QHBoxLayout;
    backupButtons->addWidget(saveSettingsButton_);
    backupButtons->addWidget(restoreSettingsButton_);
    backupButtons->addStretch(1);
    settingsLayout->addWidget(settingsList_, 1);
    settingsLayout->addLayout(backupButtons);

    // The progress bar and "Fix FFFF" come and go; their room stays, so the
    // Settings group keeps its place under the pointer.
    for (QWidget* coming : {static_cast<QWidget*>(progress_), static_cast<QWidget*>(fixSerialButton_)}) {
        QSizePolicy policy = coming->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        coming->setSizePolicy(policy);
    }

    // The unit's desk on the left, the settings list beside it with the
    // whole height: a set-up fits on the screen without scrolling.
    auto* pictureAndInfo = new QHBoxLayout;
    pictureAndInfo->addWidget(new SvgPicture(":/unit/unit_picture.svg", QSize(96, 120), "Ravo unit", this), 0, Qt::AlignTop);
    pictureAndInfo->addWidget(info, 0, Qt::AlignTop);
    pictureAndInfo->addStretch(1);
    auto* desk = new QVBoxLayout;
    desk->addLayout(pictureAndInfo);
    desk->addLayout(requests);
    desk->addWidget(firmware);
    desk->addStretch(1);
    banner_ = new QWidget(this);
    banner_->setAccessibleName("Warnings");
    bannerLines_ = new QVBoxLayout(banner_);
    bannerLines_->setContentsMargins(0, 0, 0, 0);
    bannerLines_->setSpacing(2);
    banner_->hide();
    auto* columns = new QHBoxLayout;
    columns->addLayout(desk, 0);
    columns->addWidget(settings, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(banner_);
    layout->addLayout(columns, 1);

    connect(readInfoButton_, &QPushButton::clicked, this, &CViewUnit::readInfo);
    connect(unitBox_, &QLineEdit::returnPressed, this, &CViewUnit::readInfo);
    connect(downloadButton_, &QPushButton::clicked, this, &CViewUnit::firmwareDownload);
    connect(cancelButton_, &QPushButton::clicked, this, &CViewUnit::cancelJob);
    connect(fixSerialButton_, &QPushButton::clicked, this, &CViewUnit::fixSerial);
    connect(powerDownButton_, &QPushButton::clicked, this, &CViewUnit::powerDown);
    connect(settingsList_, &CSettingsListCtrl::editRequested, this, &CViewUnit::editRow);
    connect(saveSettingsButton_, &QPushButton::clicked, this, &CViewUnit::saveSettings);
    connect(restoreSettingsButton_, &QPushButton::clicked, this, &CViewUnit::restoreSettings);

    // Shown or not, the view follows the frame: a view that comes up later
    // shows the current state at once.
    connect(&ctx_.changes, &FrameSignals::jobChanged, this, [this] {
        showProgress();
        applyEnabling();
    });
    connect(&ctx_.changes, &FrameSignals::linkChanged, this, &CViewUnit::applyEnabling);
    connect(&ctx_.changes, &FrameSignals::unitChanged, this, &CViewUnit::showResults);
    connect(&ctx_.changes, &FrameSignals::jobEnded, this, &CViewUnit::jobEnded);
}

void CViewUnit::initialUpdate()
{
    unitBox_->setText(qs(unitNumberBoxText(ctx_.app.config.unitNumberText)));
    for (int i = 0; i < 6; ++i)
        showValue(infoValues_[i], kInfoLabels[i], kNotRead);
    showValue(resultText_, "Result", unitResultShown(ctx_.state.unit));
    firmwareList_->clear();
    firmwareList_->addItem(kNoFirmwareFile);
    firmwareList_->setEnabled(false);
    downloadButton_->setEnabled(false);
    showValue(firmwareText_, "Firmware text", "");
    progress_->hide();
    settingsList_->rebuild(ctx_.app.config.serviceUnlocked);
    fixSerialButton_->setEnabled(false);
    fixSerialButton_->hide();
    fillFirmwareList();
    showResults();
}

void CViewUnit::treeSelection(const TreeLabels&)
{
    unitBox_->setText(qs(unitNumberBoxText(ctx_.app.config.unitNumberText)));
    fillFirmwareList();
    showBanner();
    applyEnabling();
}

void CViewUnit::refreshFirmwareList()
{
    fillFirmwareList();
    showBanner();
    applyEnabling();
}

void CViewUnit::showProgress()
{
    // Only a firmware download moves this bar; a log download has its own.
    const JobProgress progress = ctx_.state.job.progressOf(ProgressKind::FirmwareChunks);
    const bool shown = progress.total > 0;
    if (shown != progressShown_) {
        progress_->setVisible(shown);
        progress_->setRange(0, 100);
        progressShown_ = shown;
    }
    progress_->setValue(shown ? progress.percent : 0);
    progress_->setAccessibleDescription(shown ? QString("%1 %").arg(progress.percent) : QString());
}

void CViewUnit::fillFirmwareList()
{
    const QString previous = firmwareList_->currentText();
    ListFirmwareFiles(firmwareListing_, ctx_.app.config.firmwareFolder);
    FirmwareChoice choice = firmwareChoiceFor(firmwareListing_, previous.toStdString());
    firmwareList_->clear();
    for (const std::string& entry : choice.entries)
        firmwareList_->addItem(qs(entry));
    firmwareList_->setCurrentIndex(choice.selected);
    firmwareList_->setEnabled(choice.filesFound);
    downloadButton_->setEnabled(choice.filesFound);
}

bool CViewUnit::idle() const
{
    return !ctx_.state.job.running;
}

bool CViewUnit::linkConnected() const
{
    return ctx_.state.linkOpen;
}

void CViewUnit::showResults()
{
    const UnitShown& unit = ctx_.state.unit;
    showValue(resultText_, "Result", unitResultShown(unit));
    showValue(firmwareText_, "Firmware text", unit.firmwareText);
    const auto texts = unitInfoTexts(unit.voltage, unit.versions);
    for (size_t i = 0; i < texts.size(); ++i)
        showValue(infoValues_[i], texts[i].first, infoValueOnScreen(texts[i].first, texts[i].second));
    settingsList_->setRecord(unit.settings);
    // The unit clock's check compares with the time the settings were read,
    // not with the time of a later redraw.
    settingsList_->setClockCheck(unit.settings.valid ? checkUnitClock(unit.settings.rtcTime, unit.settingsReadAt)
                                                     : ClockCheck{});
    settingsList_->rebuild(ctx_.app.config.serviceUnlocked);
    showBanner();
    applyEnabling();
}

void CViewUnit::showBanner()
{
    while (QLayoutItem* item = bannerLines_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const std::vector<BannerLine> lines = unitBannerLines(ctx_.state.unit, firmwareListing_.names);
    for (const BannerLine& line : lines) {
        auto* label = new QLabel(qs(line.text), banner_);
        label->setAccessibleName(qs(line.text));
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setStyleSheet(bannerStyle(line.severity));
        bannerLines_->addWidget(label);
    }
    banner_->setVisible(!lines.empty());
}

void CViewUnit::applyEnabling()
{
    const bool isIdle = idle();
    const bool connected = isIdle && linkConnected();
    UnitViewEnabling e = unitViewEnabling(isIdle, connected, ctx_.app.config.currentUnitNumber());
    unitBox_->setEnabled(e.unitNumberBox);
    readInfoButton_->setEnabled(e.readInfo);
    firmwareList_->setEnabled(e.firmwareList);
    downloadButton_->setEnabled(e.firmwareDownload);
    fixSerialButton_->setEnabled(e.fixSerial);
    fixSerialButton_->setVisible(e.fixSerialVisible);
    powerDownButton_->setEnabled(e.powerDown);
    cancelButton_->setEnabled(e.cancel);
    saveSettingsButton_->setEnabled(isIdle);
    restoreSettingsButton_->setEnabled(isIdle);
}

void CViewUnit::synchroniseUnitNumber()
{
    unitBox_->setText(qs(ravo::synchroniseUnitNumber(ctx_.app.config, unitBox_->text().toStdString())));
}

void CViewUnit::readInfo()
{
    if (!readInfoButton_->isEnabled())
        return;
    synchroniseUnitNumber();
    ctx_.frame.requestReadInfo();
}

void CViewUnit::firmwareDownload()
{
    if (!idle())
        return;
    synchroniseUnitNumber();
    FirmwarePress press = firmwareRequestFor(firmwareListing_, firmwareList_->currentText().toStdString());
    if (press.action == FirmwarePress::NotFound) {
        ctx_.frame.showStatus(press.statusText);
        return;
    }
    if (press.action != FirmwarePress::Request)
        return;
    // The user sees what runs on the unit and what replaces it before the
    // unit is sent to its bootloader.
    const UnitShown& unit = ctx_.state.unit;
    const bool versionsOfThisUnit = unit.versions && unit.unit == ctx_.app.config.currentUnitNumber();
    const QString question = qs(firmwareConfirmText(firmwareList_->currentText().trimmed().toStdString(),
                                                    ctx_.app.config.currentUnitNumber(),
                                                    versionsOfThisUnit ? &*unit.versions : nullptr,
                                                    ctx_.app.config.downloadMode));
    const bool yes = confirmDownload ? confirmDownload(question)
                                     : QMessageBox::question(this, "FW Download", question) == QMessageBox::Yes;
    if (yes)
        ctx_.frame.requestFirmware(press.path);
}

void CViewUnit::cancelJob()
{
    ctx_.frame.requestStop();
}

void CViewUnit::fixSerial()
{
    synchroniseUnitNumber();
    ctx_.frame.requestFixSerial();
}

void CViewUnit::powerDown()
{
    if (idle())
        ctx_.frame.requestPowerDown();
}

void CViewUnit::editRow(int rowId)
{
    // One edit at a time, and none under a job.
    if (!idle())
        return;
    DesktopEditHost dialogs(this);
    dialogs.rowId = rowId;
    const bool serviceMode = ctx_.app.config.serviceUnlocked;
    std::string entered;
    EditOutcome refused = EditOutcome::Cancelled;
    if (!askRowEdit(rowId, settingsList_->record(), serviceMode, dialogs, entered, refused))
        return;
    ctx_.frame.requestEditRow({rowId, settingsList_->record(), entered, serviceMode});
}

void CViewUnit::jobEnded(const JobOutcome& outcome)
{
    if (const auto* edit = outcome.as<EditRowResult>()) {
        for (const std::string& text : edit->notices)
            notice(qs(text));
        return;
    }
    const auto* restore = outcome.as<RestoreSettingsResult>();
    if (!restore)
        return;
    for (const std::string& text : restore->notices)
        notice(qs(text));
    const RestoreResult& result = restore->restore;
    // A refused handshake has had its notice; a link that did not connect has not.
    if (result.failure == EditOutcome::NotConnected || result.failure == EditOutcome::Ignored)
        notice(QString("No connection with the unit: %1 of %2 rows were written.")
                   .arg(result.written)
                   .arg(restore->requested),
               true);
    if (!result.notWritten.empty()) {
        QString names;
        for (const std::string& name : result.notWritten)
            names += "\n" + qs(name);
        notice("The unit did not take these rows:" + names, true);
    }
    ctx_.frame.showStatus(std::to_string(result.written) + " settings restored from [" + restore->path + "]");
}

void CViewUnit::notice(const QString& text, bool warning)
{
    if (warning)
        QMessageBox::warning(this, "Ravo_Config", text);
    else
        QMessageBox::information(this, "Ravo_Config", text);
}

QString CViewUnit::chooseFile(bool save)
{
    if (chooseSettingsFile)
        return chooseSettingsFile(save);
    const QString proposed =
        qs(joinFolder(ctx_.app.config.dataFolder, "RavoSettings_" + formatUnitNumber(ctx_.state.unit.unit) + ".ini"));
    const QString filter = "Settings files (*.ini);;All files (*)";
    if (save)
        return QFileDialog::getSaveFileName(this, "Save settings", proposed, filter);
    return QFileDialog::getOpenFileName(this, "Restore settings", qs(ctx_.app.config.dataFolder), filter);
}

void CViewUnit::saveSettings()
{
    if (!idle())
        return;
    const UnitShown& unit = ctx_.state.unit;
    if (!unit.settingsRead) {
        notice("Read Info first: there are no settings of the unit to save.");
        return;
    }
    const QString path = chooseFile(true);
    if (path.isEmpty())
        return;
    std::string text = settingsBackupText(unit.settings, unit.unit,
                                          unit.versions ? unit.versions->firmwareVersion() : 0, currentUnitTime());
    std::string reason;
    if (WriteFileReplacing(path.toStdString(), text, &reason) != 0) {
        notice(QString("Could not write [%1]: %2").arg(path, qs(reason)), true);
        return;
    }
    ctx_.frame.showStatus("Settings of unit " + formatUnitNumber(unit.unit) + " saved to [" + path.toStdString() +
                          "]");
}

void CViewUnit::restoreSettings()
{
    if (!idle())
        return;
    const UnitShown& unit = ctx_.state.unit;
    if (!unit.settingsRead) {
        notice("Read Info first: the unit's settings are compared with the file's.");
        return;
    }
    const QString path = chooseFile(false);
    if (path.isEmpty())
        return;
    std::string text, error;
    SettingsBackup backup;
    std::string reason;
    if (!ReadWholeFile(path.toStdString(), text, kIniMaxBytes, &reason)) {
        notice(QString("Could not read [%1]: %2").arg(path, qs(reason)), true);
        return;
    }
    if (!parseSettingsBackup(text, backup, error)) {
        notice(QString("[%1]: %2").arg(path, qs(error)), true);
        return;
    }
    std::string mismatch =
        backupMismatch(backup, unit.unit, unit.versions ? unit.versions->firmwareVersion() : 0);
    if (!mismatch.empty()) {
        notice(qs(mismatch), true);
        return;
    }
    std::vector<SettingDifference> differences = settingsDifferences(unit.settings, backup.record);
    if (differences.empty()) {
        notice("The unit holds the file's settings.");
        return;
    }
    CRestoreSettingsDlg dialog(differences, path, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::vector<int> rows = dialog.checkedRows();
    if (rows.empty() || !idle())
        return;
    // The writes run as a job; its end brings the notices (jobEnded).
    ctx_.frame.requestRestore({backup.record, rows, unit.settings, path.toStdString()});
}

}  // namespace ravo::desktop
