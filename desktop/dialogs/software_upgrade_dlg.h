#pragma once
#include <QDialog>
#include <string>

namespace ravo::desktop {

// The notice of a newer program version: the download link, the web page
// link and "Continue".
class CSoftwareUpgradeDlg : public QDialog {
    Q_OBJECT
public:
    CSoftwareUpgradeDlg(const std::string& downloadLocation, QWidget* parent = nullptr);
};

}  // namespace ravo::desktop
