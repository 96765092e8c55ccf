#include "desktop/dialogs/link_button.h"

#include <QDesktopServices>
#include <QUrl>

namespace ravo::desktop {
namespace {

std::function<void(const QString&)>& openAction()
{
    static std::function<void(const QString&)> action = [](const QString& target) {
        QDesktopServices::openUrl(QUrl(target, QUrl::StrictMode));
    };
    return action;
}

}  // namespace

LinkButton::LinkButton(const LinkButtonText& link, QWidget* parent)
    : QPushButton(QString::fromStdString(link.text), parent), target_(QString::fromStdString(link.target))
{
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QString::fromStdString(link.tooltip));
    setAccessibleName(text());
    setAccessibleDescription(toolTip());
    setStyleSheet("QPushButton { color: blue; text-align: left; }");
    connect(this, &QPushButton::clicked, this, &LinkButton::openTarget);
}

void LinkButton::setOpenAction(std::function<void(const QString&)> action)
{
    openAction() = std::move(action);
}

void LinkButton::openTarget()
{
    if (isOpenableLink(target_.toStdString()))
        openAction()(target_);
}

}  // namespace ravo::desktop
