#pragma once
#include <QDialog>
#include <string>

class QLineEdit;

namespace ravo::desktop {

// The service code entry: "Settings", "Enter code", one plain edit field,
// OK and Cancel. The text is read back only after OK.
class CSettingsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSettingsDlg(QWidget* parent = nullptr);
    std::string enteredText() const { return entered_; }

private:
    QLineEdit* edit_ = nullptr;
    std::string entered_;
};

}  // namespace ravo::desktop
