#pragma once
#include <QDialog>

namespace ravo::desktop {

// "About Ravo_Config": the program icon and name with its version, the three
// link buttons and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace ravo::desktop
