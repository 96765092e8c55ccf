#pragma once
#include <QImage>
#include <QWidget>

#include "divedata/unit_health.h"

namespace ravo::desktop {

// The unit's health trend: the core draws it (DrawHealthTrend), this paints
// the draw list into an image at the screen's pixel ratio and copies it in
// one step.
class CHealthTrendCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CHealthTrendCtrl(QWidget* parent = nullptr);

    void setReport(const HealthReport& report);
    const HealthReport& report() const { return report_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    HealthReport report_;
    QImage canvas_;
};

}  // namespace ravo::desktop
