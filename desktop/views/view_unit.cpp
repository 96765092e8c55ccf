#include "desktop/views/view_unit.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ravo_config_app.h"

namespace ravo::desktop {

CViewUnit::CViewUnit(ViewContext ctx, QWidget* parent) : QWidget(parent), ctx_(ctx)
{
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    unitBox_ = new QLineEdit(QString::fromStdString(ctx_.app.config.unitNumberText), this);
    unitBox_->setAccessibleName("Unit number");
    auto* label = new QLabel("&Unit number", this);
    label->setBuddy(unitBox_);
    form->addRow(label, unitBox_);
    layout->addLayout(form);
    readInfoButton_ = new QPushButton("Read Info", this);
    readInfoButton_->setAccessibleName("Read Info");
    layout->addWidget(readInfoButton_, 0, Qt::AlignLeft);
    layout->addStretch(1);
    connect(readInfoButton_, &QPushButton::clicked, this, &CViewUnit::readInfo);
    connect(unitBox_, &QLineEdit::returnPressed, this, &CViewUnit::readInfo);
}

void CViewUnit::readInfo()
{
    ctx_.app.config.setUnitNumberText(unitBox_->text().toStdString());
    ctx_.frame.sendMessage(UM_REQ_READ_INFO, 0, 0);
}

intptr_t CViewUnit::onMessage(unsigned message, uintptr_t, intptr_t)
{
    if (message == UM_REFRESH_VIEW || message == UM_TREE_UNIT) {
        readInfoButton_->setEnabled(!ctx_.app.worker->threadRunning());
        unitBox_->setText(QString::fromStdString(ctx_.app.config.unitNumberText));
    }
    return 1;
}

}  // namespace ravo::desktop
