#pragma once
#include <QImage>
#include <QWidget>
#include <memory>

#include "divedata/dive_graph.h"
#include "divedata/time_window.h"

namespace ravo::desktop {

// The dive profile graph: the core's DiveGraph computes, this only paints
// its draw lists and forwards the mouse and keys. The graph of the span shown
// is painted into an image at the screen's pixel ratio and kept between
// paints, so resizing never flickers and moving the cursor repaints only the
// readout over it.
//
// Zoom: the wheel or a dragged range zooms into a time span, double-click or
// Escape shows the whole dive again; from the keyboard + and - zoom, the
// arrow keys pan, Home shows the whole dive.
class CDiveGraphCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CDiveGraphCtrl(QWidget* parent = nullptr);
    ~CDiveGraphCtrl() override;

    // Loads a log (null or empty gives an empty graph), shows all of it and repaints.
    void SetData(const CDiveLog* log);
    // The figures and properties; the view reads the figures after SetData.
    const DiveGraph& graph() const { return *graph_; }

    void setCurves(const GraphCurves& curves);
    GraphCurves curves() const { return graph_->curves; }

    // The span of the dive shown, and zooming it as the mouse and keys do.
    TimeSpan span() const { return window_.span(); }
    bool zoomed() const { return window_.zoomed(); }
    void zoomAround(double seconds, double factor);  // factor > 1 zooms in, < 1 out
    void zoomToRange(double from, double to);
    void pan(double fraction);  // of the span shown; negative goes back
    void resetZoom();

    // The readout at the cursor ("Time 2:30, Depth 23.5 m, ..."), empty
    // while the cursor is not over the dive.
    QString readoutText() const;

    // The graph as painted at width x height (the span shown, no readout),
    // at `pixelRatio` device pixels per pixel.
    QImage renderImage(int width, int height, qreal pixelRatio = 1.0) const;

signals:
    void zoomChanged(bool zoomed);
    void readoutChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    DiveGraph::Layout layout() const;
    double timeAtX(int x) const;
    void spanChanged(bool changed);
    void hoverAt(int x, int y);
    void setReadout(bool shown, double seconds);
    void describe();

    std::unique_ptr<DiveGraph> graph_;
    TimeWindow window_;
    QImage canvas_;
    bool canvasValid_ = false;
    bool hovering_ = false;
    int hoverX_ = 0;  // where the cursor is: the readout follows it through zooming
    double hoverTime_ = 0.0;
    bool dragging_ = false;
    int dragFrom_ = 0;
    int dragTo_ = 0;
};

}  // namespace ravo::desktop
