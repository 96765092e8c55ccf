#include "desktop/views/view_unit.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSvgRenderer>
#include <QVBoxLayout>

#include "app/ravo_config_app.h"
#include "app/setting_editor_guard.h"
#include "app/unit_view_rules.h"
#include "desktop/busy_wait.h"
#include "desktop/unit/desktop_edit_host.h"
#include "desktop/unit/restore_settings_dlg.h"
#include "desktop/unit/settings_list_ctrl.h"
#include "divedata/text_file.h"
#include "jobs/unit_power_down.h"
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

QLabel* productPicture(QWidget* parent)
{
    QSvgRenderer svg(QString(":/unit/unit_picture.svg"));
    QPixmap pixmap(QSize(96, 120) * parent->devicePixelRatioF());
    pixmap.setDevicePixelRatio(parent->devicePixelRatioF());
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    svg.render(&painter, QRectF(0, 0, 96, 120));
    painter.end();
    auto* picture = new QLabel(parent);
    picture->setPixmap(pixmap);
    picture->setAccessibleName("Ravo unit");
    return picture;
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
        // The value carries the name, so a screen reader or test tool finds the value by it.
        label->setAccessibleName(QString(kInfoLabels[i]) + " caption");
        infoValues_[i] = new QLabel(info);
        infoValues_[i]->setAccessibleName(kInfoLabels[i]);
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
    resultText_->setAccessibleName("Result");
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
    requests->addStretch(1);

    auto* firmware = new QGroupBox("Firmware", this);
    auto* firmwareLayout = new QGridLayout(firmware);
    firmwareList_ = new QComboBox(firmware);
    firmwareList_->setAccessibleName("Firmware");
    firmwareList_->setMinimumWidth(220);
    firmwareText_ = new QLabel(firmware);
    firmwareText_->setAccessibleName("Firmware text");
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

    auto* top = new QHBoxLayout;
    top->addWidget(productPicture(this), 0, Qt::AlignTop);
    top->addWidget(info, 0, Qt::AlignTop);
    top->addLayout(requests, 1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(firmware);
    middle->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle);
    layout->addWidget(settings, 1);

    connect(readInfoButton_, &QPushButton::clicked, this, &CViewUnit::readInfo);
    connect(unitBox_, &QLineEdit::returnPressed, this, &CViewUnit::readInfo);
    connect(downloadButton_, &QPushButton::clicked, this, &CViewUnit::firmwareDownload);
    connect(cancelButton_, &QPushButton::clicked, this, &CViewUnit::cancelJob);
    connect(fixSerialButton_, &QPushButton::clicked, this, &CViewUnit::fixSerial);
    connect(powerDownButton_, &QPushButton::clicked, this, &CViewUnit::powerDown);
    connect(settingsList_, &CSettingsListCtrl::editRequested, this, &CViewUnit::editRow);
    connect(saveSettingsButton_, &QPushButton::clicked, this, &CViewUnit::saveSettings);
    connect(restoreSettingsButton_, &QPushButton::clicked, this, &CViewUnit::restoreSettings);
}

void CViewUnit::initialUpdate()
{
    unitBox_->setText(qs(unitNumberBoxText(ctx_.app.config.unitNumberText)));
    for (QLabel* value : infoValues_)
        value->setText("--");
    resultText_->clear();
    firmwareList_->clear();
    firmwareList_->addItem(kNoFirmwareFile);
    firmwareList_->setEnabled(false);
    downloadButton_->setEnabled(false);
    firmwareText_->clear();
    progress_->hide();
    settingsList_->rebuild(ctx_.app.config.serviceUnlocked);
    fixSerialButton_->setEnabled(false);
    fixSerialButton_->hide();
    fillFirmwareList();
}

intptr_t CViewUnit::onMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case UM_PROGRESS: showProgress(int(wParam)); break;
    case UM_TREE_UNIT: unitBox_->setText(qs(unitNumberBoxText(ctx_.app.config.unitNumberText))); break;
    case UM_REFRESH_VIEW:
        fillFirmwareList();
        showResults();
        break;
    case UM_FIRMWARE_TEXT:
        firmwareText_->setText(lParam ? QString::fromUtf8(reinterpret_cast<const char*>(lParam)) : QString());
        break;
    default: break;
    }
    return 1;
}

void CViewUnit::showProgress(int percent)
{
    if (percent != 0) {
        if (!progressShown_) {
            progress_->show();
            progress_->setRange(0, 100);
            progressShown_ = true;
        }
        progress_->setValue(percent);
        return;
    }
    if (progressShown_) {
        progress_->hide();
        progress_->setRange(0, 100);
        progressShown_ = false;
    }
    progress_->setValue(0);
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
    const WorkTask& worker = *ctx_.app.worker;
    return !worker.busy && !worker.threadRunning() && !busyWaiting();
}

bool CViewUnit::linkConnected() const
{
    return ctx_.app.worker->link.IsConnected();
}

void CViewUnit::showResults()
{
    // While a job runs its result fields are the worker's: only the buttons change.
    if (idle()) {
        WorkTask& worker = *ctx_.app.worker;
        resultText_->setText(qs(unitResultText(worker.linkText, worker.jobCode, worker.jobResult)));
        const auto texts = unitInfoTexts(worker.voltage, worker.versions);
        for (size_t i = 0; i < texts.size(); ++i)
            infoValues_[i]->setText(qs(texts[i].second));
        if (worker.settings.rtcTime != shownClock_) {
            shownClock_ = worker.settings.rtcTime;
            shownClockReadAt_ = currentUnitTime();
        }
        settingsList_->setRecord(worker.settings);
        settingsList_->setClockCheck(worker.settings.valid ? checkUnitClock(shownClock_, shownClockReadAt_)
                                                           : ClockCheck{});
        settingsList_->rebuild(ctx_.app.config.serviceUnlocked);
    }
    applyEnabling();
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
    ctx_.frame.sendMessage(UM_REQ_READ_INFO, 0, 0);
}

void CViewUnit::firmwareDownload()
{
    synchroniseUnitNumber();
    FirmwareRequest request = firmwareRequestFor(firmwareListing_, firmwareList_->currentText().toStdString());
    if (request.action == FirmwareRequest::Request)
        ctx_.frame.sendMessage(UM_REQ_FIRMWARE, 0, reinterpret_cast<intptr_t>(&request.path));
    else if (request.action == FirmwareRequest::NotFound)
        ctx_.frame.sendMessage(UM_STATUS_TEXT, 0, reinterpret_cast<intptr_t>(request.statusText.c_str()));
}

void CViewUnit::cancelJob()
{
    ctx_.app.worker->stopRequested = true;
}

void CViewUnit::fixSerial()
{
    synchroniseUnitNumber();
    ctx_.frame.sendMessage(UM_REQ_FIX_SERIAL, 0, 0);
}

void CViewUnit::powerDown()
{
    if (idle()) {
        WorkTask& worker = *ctx_.app.worker;
        // The command and the 500 ms after it run while the window repaints.
        runWhileRepainting(window(), [&worker] { powerDownUnit(worker); });
    }
    showResults();
}

void CViewUnit::editRow(int rowId)
{
    // One edit at a time, and none under a job: the link is the worker's then.
    if (!idle())
        return;
    // The main window leaves the link open while an editor is up.
    SettingEditorGuard editorOpen(ctx_.app);
    DesktopEditHost host(ctx_, this);
    host.rowId = rowId;
    editSettingOnUnit(rowId, settingsList_->record(), ctx_.app.config.serviceUnlocked, host);
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
    const WorkTask& worker = *ctx_.app.worker;
    const QString proposed =
        qs(joinFolder(ctx_.app.config.dataFolder, "RavoSettings_" + formatUnitNumber(uint16_t(worker.unitNumber)) + ".ini"));
    const QString filter = "Settings files (*.ini);;All files (*)";
    if (save)
        return QFileDialog::getSaveFileName(this, "Save settings", proposed, filter);
    return QFileDialog::getOpenFileName(this, "Restore settings", qs(ctx_.app.config.dataFolder), filter);
}

void CViewUnit::saveSettings()
{
    if (!idle())
        return;
    const WorkTask& worker = *ctx_.app.worker;
    if (!worker.settings.valid) {
        notice("Read Info first: there are no settings of the unit to save.");
        return;
    }
    const QString path = chooseFile(true);
    if (path.isEmpty())
        return;
    std::string text = settingsBackupText(worker.settings, uint16_t(worker.unitNumber),
                                          worker.versions.firmwareVersion(), currentUnitTime());
    std::string reason;
    if (WriteFileReplacing(path.toStdString(), text, &reason) != 0) {
        notice(QString("Could not write [%1]: %2").arg(path, qs(reason)), true);
        return;
    }
    std::string status =
        "Settings of unit " + formatUnitNumber(uint16_t(worker.unitNumber)) + " saved to [" + path.toStdString() + "]";
    ctx_.frame.sendMessage(UM_STATUS_TEXT, 0, reinterpret_cast<intptr_t>(status.c_str()));
}

void CViewUnit::restoreSettings()
{
    if (!idle())
        return;
    WorkTask& worker = *ctx_.app.worker;
    if (!worker.settings.valid) {
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
    std::string mismatch = backupMismatch(backup, uint16_t(worker.unitNumber), worker.versions.firmwareVersion());
    if (!mismatch.empty()) {
        notice(qs(mismatch), true);
        return;
    }
    std::vector<SettingDifference> differences = settingsDifferences(worker.settings, backup.record);
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
    UnitSettings record = worker.settings;
    SettingEditorGuard editorOpen(ctx_.app);
    DesktopEditHost host(ctx_, this);
    RestoreResult result = ravo::restoreSettings(backup.record, rows, record, host);
    // A refused handshake has had its notice; a link that did not connect has not.
    if (result.failure == EditOutcome::NotConnected || result.failure == EditOutcome::Ignored)
        notice(QString("No connection with the unit: %1 of %2 rows were written.").arg(result.written).arg(rows.size()),
               true);
    if (!result.notWritten.empty()) {
        QString names;
        for (const std::string& name : result.notWritten)
            names += "\n" + qs(name);
        notice("The unit did not take these rows:" + names, true);
    }
    std::string status = std::to_string(result.written) + " settings restored from [" + path.toStdString() + "]";
    ctx_.frame.sendMessage(UM_STATUS_TEXT, 0, reinterpret_cast<intptr_t>(status.c_str()));
}

}  // namespace ravo::desktop
