#pragma once
#include <QPushButton>

#include "app/desktop_links.h"

namespace ravo::desktop {

// A flat button drawn in blue that opens its address with the desktop's
// "open" action; only http, https and mailto addresses are ever opened, and
// an empty address does nothing.
class LinkButton : public QPushButton {
    Q_OBJECT
public:
    LinkButton(const LinkButtonText& link, QWidget* parent = nullptr);
    const QString& target() const { return target_; }

    // The action that opens an address; tests put a recorder in its place.
    static void setOpenAction(std::function<void(const QString&)> action);

private:
    void openTarget();
    QString target_;
};

}  // namespace ravo::desktop
