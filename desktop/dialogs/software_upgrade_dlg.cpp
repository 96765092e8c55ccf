#include "desktop/dialogs/software_upgrade_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/desktop_links.h"
#include "desktop/dialogs/link_button.h"
#include "desktop/program_icon.h"

namespace ravo::desktop {

CSoftwareUpgradeDlg::CSoftwareUpgradeDlg(const std::string& downloadLocation, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(kUpgradeCaption);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* picture = new QLabel(this);
    picture->setPixmap(programIcon().pixmap(64, 64));
    top->addWidget(picture, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    auto* heading = new QLabel(kUpgradeHeading, this);
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
    texts->addWidget(heading);
    auto* body = new QLabel(kUpgradeText, this);
    body->setWordWrap(true);
    texts->addWidget(body);
    top->addLayout(texts, 1);
    layout->addLayout(top);
    layout->addWidget(new LinkButton(upgradeDownloadLink(downloadLocation), this));
    layout->addWidget(new LinkButton(upgradeWebPageLink(), this));
    auto* continueButton = new QPushButton("Continue", this);
    continueButton->setAccessibleName("Continue");
    continueButton->setDefault(true);
    connect(continueButton, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(continueButton, 0, Qt::AlignRight);
}

}  // namespace ravo::desktop
