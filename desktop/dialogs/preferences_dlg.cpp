#include "desktop/dialogs/preferences_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ravo::desktop {
namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

QLabel* resultLine(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->hide();
    return label;
}

void showLine(QLabel* label, const QString& text)
{
    label->setText(text);
    label->setAccessibleName(text);
    label->setVisible(!text.isEmpty());
}

}  // namespace

CPreferencesDlg::CPreferencesDlg(const Preferences& current, QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Preferences");
    auto* grid = new QGridLayout;
    diveFolder_ = folderRow(grid, 0, "Dive folder", current.diveFolder);
    redboxFolder_ = folderRow(grid, 1, "Redbox folder", current.redboxFolder);
    firmwareFolder_ = folderRow(grid, 2, "Firmware folder", current.firmwareFolder);

    auto* linkLabel = new QLabel("Link address", this);
    linkAddress_ = new QLineEdit(qs(current.linkAddress), this);
    linkAddress_->setAccessibleName("Link address");
    linkLabel->setBuddy(linkAddress_);
    auto* test = new QPushButton("Test link", this);
    test->setAccessibleName("Test link");
    test->setAutoDefault(false);
    grid->addWidget(linkLabel, 3, 0);
    grid->addWidget(linkAddress_, 3, 1);
    grid->addWidget(test, 3, 2);
    linkResult_ = resultLine(this);
    grid->addWidget(linkResult_, 4, 1, 1, 2);
    grid->setColumnMinimumWidth(1, 320);

    updateCheck_ = new QCheckBox("Check for a new version at start-up", this);
    updateCheck_->setAccessibleName(updateCheck_->text());
    updateCheck_->setChecked(current.checkForUpdates);
    error_ = resultLine(this);
    error_->setStyleSheet("QLabel { color: #b3261e; }");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName("OK");
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName("Cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &CPreferencesDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(test, &QPushButton::clicked, this, [this] {
        showLine(linkResult_, "Testing...");
        if (testLink)
            testLink(linkAddress_->text().trimmed().toStdString());
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(updateCheck_);
    layout->addWidget(error_);
    layout->addWidget(buttons);
}

QLineEdit* CPreferencesDlg::folderRow(QGridLayout* grid, int row, const QString& caption, const std::string& value)
{
    auto* label = new QLabel(caption, this);
    auto* edit = new QLineEdit(qs(value), this);
    edit->setAccessibleName(caption);
    label->setBuddy(edit);
    auto* browse = new QPushButton("Browse...", this);
    // Three "Browse..." buttons: each is named for its folder.
    browse->setAccessibleName("Browse " + caption);
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, [this, edit, caption] {
        const QString start = edit->text();
        const QString folder = chooseFolder ? chooseFolder(caption, start)
                                            : QFileDialog::getExistingDirectory(this, caption, start);
        if (!folder.isEmpty())
            edit->setText(folder);
    });
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(browse, row, 2);
    return edit;
}

Preferences CPreferencesDlg::chosen() const
{
    Preferences p;
    p.diveFolder = diveFolder_->text().trimmed().toStdString();
    p.redboxFolder = redboxFolder_->text().trimmed().toStdString();
    p.firmwareFolder = firmwareFolder_->text().trimmed().toStdString();
    p.linkAddress = linkAddress_->text().trimmed().toStdString();
    p.checkForUpdates = updateCheck_->isChecked();
    return p;
}

void CPreferencesDlg::showLinkTest(const QString& text)
{
    showLine(linkResult_, text);
}

void CPreferencesDlg::accept()
{
    std::string error;
    if (apply && !apply(chosen(), error)) {
        showLine(error_, qs(error));
        return;
    }
    QDialog::accept();
}

}  // namespace ravo::desktop
