#pragma once
#include <QImage>
#include <QWidget>
#include <memory>

#include "divedata/dive_graph.h"

namespace ravo::desktop {

// The dive profile graph: the core's DiveGraph computes, this only paints its
// draw list into an image kept between paints and copies it in one step, so
// resizing never flickers.
class CDiveGraphCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CDiveGraphCtrl(QWidget* parent = nullptr);

    // Loads a log (null or empty gives an empty graph) and repaints.
    void SetData(const CDiveLog* log);
    // The figures and properties; the view reads the figures after SetData.
    const DiveGraph& graph() const { return *graph_; }

    // The graph as painted at width x height.
    QImage renderImage(int width, int height);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<DiveGraph> graph_;
    QImage canvas_;
};

}  // namespace ravo::desktop
