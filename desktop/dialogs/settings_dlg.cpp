#include "desktop/dialogs/settings_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ravo::desktop {

CSettingsDlg::CSettingsDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Settings");
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel("Enter code", this);
    edit_ = new QLineEdit(this);
    edit_->setAccessibleName("Enter code");
    label->setBuddy(edit_);
    layout->addWidget(label);
    layout->addWidget(edit_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName("OK");
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName("Cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        entered_ = edit_->text().toStdString();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

}  // namespace ravo::desktop
