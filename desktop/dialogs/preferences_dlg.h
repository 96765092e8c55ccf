#pragma once
#include <QDialog>
#include <functional>

#include "app/preferences.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;

namespace ravo::desktop {

// "Preferences": the dive, redbox and firmware folders (each with a folder
// picker), the link address with "Test link", and the update check at
// start-up. OK takes everything or, with a reason shown, nothing.
class CPreferencesDlg : public QDialog {
    Q_OBJECT
public:
    CPreferencesDlg(const Preferences& current, QWidget* parent = nullptr);

    // The folder picker; a folder dialog unless replaced (tests). Empty when cancelled.
    std::function<QString(const QString& caption, const QString& start)> chooseFolder;
    // Runs the link test for the typed address; its answer comes to showLinkTest.
    std::function<void(const std::string& address)> testLink;
    // Checks and takes the entries; false with the reason to show.
    std::function<bool(const Preferences& chosen, std::string& error)> apply;

    Preferences chosen() const;
    void showLinkTest(const QString& text);

    void accept() override;

private:
    QLineEdit* folderRow(QGridLayout* grid, int row, const QString& caption, const std::string& value);

    QLineEdit* diveFolder_ = nullptr;
    QLineEdit* redboxFolder_ = nullptr;
    QLineEdit* firmwareFolder_ = nullptr;
    QLineEdit* linkAddress_ = nullptr;
    QCheckBox* updateCheck_ = nullptr;
    QLabel* linkResult_ = nullptr;
    QLabel* error_ = nullptr;
};

}  // namespace ravo::desktop
