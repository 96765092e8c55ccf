#include "desktop/dialogs/about_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/desktop_links.h"
#include "desktop/dialogs/link_button.h"
#include "desktop/program_icon.h"

namespace ravo::desktop {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("About Ravo_Config");
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(48, 48));
    top->addWidget(icon, 0, Qt::AlignTop);
    auto* name = new QLabel(QString::fromStdString(aboutNameText()), this);
    name->setAccessibleName(name->text());
    top->addWidget(name, 1);
    layout->addLayout(top);
    for (const LinkButtonText& link : aboutLinks())
        layout->addWidget(new LinkButton(link, this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName("OK");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

}  // namespace ravo::desktop
