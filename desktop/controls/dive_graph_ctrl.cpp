#include "desktop/controls/dive_graph_ctrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "desktop/paint/draw_list_painter.h"
#include "divedata/time_texts.h"

namespace ravo::desktop {
namespace {

// A press and release this close together is a click, not a range.
constexpr int kShortestDrag = 4;

}  // namespace

CDiveGraphCtrl::CDiveGraphCtrl(QWidget* parent) : QWidget(parent), graph_(std::make_unique<DiveGraph>())
{
    // The paint covers every pixel: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMinimumSize(200, 120);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName("Dive profile");
    window_.setLength(graph_->maxTime);
    describe();
}

CDiveGraphCtrl::~CDiveGraphCtrl() = default;

void CDiveGraphCtrl::SetData(const CDiveLog* log)
{
    graph_->SetData(log);
    window_.setLength(graph_->maxTime);
    dragging_ = false;
    setReadout(false, 0.0);
    spanChanged(true);
}

void CDiveGraphCtrl::setCurves(const GraphCurves& curves)
{
    if (graph_->curves == curves)
        return;
    graph_->curves = curves;
    canvasValid_ = false;
    if (hovering_)
        setReadout(true, hoverTime_);
    update();
}

DiveGraph::Layout CDiveGraphCtrl::layout() const
{
    return graph_->layoutFor(width(), height());
}

double CDiveGraphCtrl::timeAtX(int x) const
{
    return graph_->timeAt(layout(), window_.span(), x);
}

void CDiveGraphCtrl::zoomAround(double seconds, double factor)
{
    spanChanged(factor >= 1.0 ? window_.zoomIn(seconds, factor) : window_.zoomOut(seconds, 1.0 / factor));
}

void CDiveGraphCtrl::zoomToRange(double from, double to)
{
    spanChanged(window_.zoomTo(from, to));
}

void CDiveGraphCtrl::pan(double fraction)
{
    spanChanged(window_.pan(fraction * double(window_.span().length())));
}

void CDiveGraphCtrl::resetZoom()
{
    spanChanged(window_.reset());
}

void CDiveGraphCtrl::spanChanged(bool changed)
{
    if (!changed)
        return;
    canvasValid_ = false;
    if (hovering_)
        setReadout(true, timeAtX(hoverX_));
    describe();
    update();
    emit zoomChanged(window_.zoomed());
}

QString CDiveGraphCtrl::readoutText() const
{
    return hovering_ ? QString::fromStdString(graph_->ReadoutAt(hoverTime_).text()) : QString();
}

void CDiveGraphCtrl::setReadout(bool shown, double seconds)
{
    const QString before = readoutText();
    hovering_ = shown;
    hoverTime_ = seconds;
    const QString after = readoutText();
    if (after != before) {
        describe();
        emit readoutChanged(after);
    }
    update();
}

// What a screen reader says of the graph: the span shown, and the readout.
void CDiveGraphCtrl::describe()
{
    const TimeSpan span = window_.span();
    QString text = window_.zoomed() ? QString("Minutes %1 to %2 of %3")
                                          .arg(QString::fromStdString(MinutesLabel(double(span.start))),
                                               QString::fromStdString(MinutesLabel(double(span.end))),
                                               QString::fromStdString(MinutesLabel(double(graph_->maxTime))))
                                    : QString("Whole dive, %1 minutes")
                                          .arg(QString::fromStdString(MinutesLabel(double(graph_->maxTime))));
    if (hovering_)
        text += ". " + readoutText();
    setAccessibleDescription(text);
}

void CDiveGraphCtrl::hoverAt(int x, int y)
{
    if (!DiveGraph::inPlot(layout(), x, y)) {
        setReadout(false, 0.0);
        return;
    }
    hoverX_ = x;
    setReadout(true, timeAtX(x));
}

QImage CDiveGraphCtrl::renderImage(int width, int height, qreal pixelRatio) const
{
    return paint::RenderImage(graph_->Draw(width, height, window_.span()), pixelRatio);
}

void CDiveGraphCtrl::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    if (!canvasValid_ || canvas_.devicePixelRatio() != ratio) {
        paint::RenderInto(canvas_, graph_->Draw(width(), height(), window_.span()), ratio);
        canvasValid_ = true;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, canvas_);
    if (hovering_)
        paint::PaintDrawList(painter, graph_->DrawHover(width(), height(), window_.span(), hoverTime_));
    if (dragging_ && std::abs(dragTo_ - dragFrom_) >= kShortestDrag)
        paint::PaintDrawList(painter, graph_->DrawRangeSelection(width(), height(), dragFrom_, dragTo_));
}

void CDiveGraphCtrl::resizeEvent(QResizeEvent* event)
{
    canvasValid_ = false;
    QWidget::resizeEvent(event);
}

void CDiveGraphCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (dragging_) {
        dragTo_ = at.x();
        update();
    }
    hoverAt(at.x(), at.y());
}

void CDiveGraphCtrl::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !DiveGraph::inPlot(layout(), at.x(), at.y())) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragging_ = true;
    dragFrom_ = dragTo_ = at.x();
}

void CDiveGraphCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragging_ || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    dragTo_ = event->position().toPoint().x();
    if (std::abs(dragTo_ - dragFrom_) >= kShortestDrag)
        zoomToRange(timeAtX(dragFrom_), timeAtX(dragTo_));
    update();
}

void CDiveGraphCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        resetZoom();
}

void CDiveGraphCtrl::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    // One notch (120) zooms by the square root of two.
    const double factor = std::pow(2.0, delta / 240.0);
    const QPoint at = event->position().toPoint();
    const bool overPlot = DiveGraph::inPlot(layout(), at.x(), at.y());
    zoomAround(overPlot ? timeAtX(at.x()) : window_.centre(), factor);
    event->accept();
}

void CDiveGraphCtrl::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoomAround(window_.centre(), 2.0); break;
    case Qt::Key_Minus: zoomAround(window_.centre(), 0.5); break;
    case Qt::Key_Left: pan(-0.25); break;
    case Qt::Key_Right: pan(0.25); break;
    case Qt::Key_Home: resetZoom(); break;
    case Qt::Key_Escape:
        if (!window_.zoomed()) {
            QWidget::keyPressEvent(event);  // the dialog or window may want it
            return;
        }
        resetZoom();
        break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void CDiveGraphCtrl::leaveEvent(QEvent* event)
{
    setReadout(false, 0.0);
    QWidget::leaveEvent(event);
}

}  // namespace ravo::desktop
