#pragma once
#include <QSvgRenderer>
#include <QWidget>

namespace ravo::desktop {

// A picture drawn from its SVG at every paint, so it is sharp at any device
// pixel ratio (no bitmap scaled up or down). Fixed to the given size.
class SvgPicture : public QWidget {
    Q_OBJECT
public:
    SvgPicture(const QString& resource, QSize size, const QString& accessibleName, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSvgRenderer renderer_;
};

}  // namespace ravo::desktop
