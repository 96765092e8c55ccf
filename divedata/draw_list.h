#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ravo {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

enum class DrawKind { Fill, Line, Polyline, Pixel, Points, Rect, Text };
enum class AlignH { Left, Centre, Right };
enum class AlignV { Top, Baseline, Centre };

struct DrawPoint {
    int x = 0, y = 0;
    bool operator==(const DrawPoint&) const = default;
};

// One drawing operation, in pixels from the top left of the client area.
// Line and Polyline draw solid lines of `width` from point to point, each
// segment excluding its end pixel (as a pen's line-to). Pixel sets one pixel,
// Points one pixel at each point (a dotted grid line in one operation).
// Rect fills the pixels from its first point up to, not including, its
// second. Text (UTF-8) is drawn opaque on `background` with its reference
// point at `at` and the given alignment (Centre: the middle of the text
// cell); `upward` runs it upwards (rotated 90 degrees).
struct DrawOp {
    DrawKind kind = DrawKind::Fill;
    Rgb colour;
    int width = 1;
    std::vector<DrawPoint> points;  // Fill: none; Pixel/Text: one; Line/Rect: two; Polyline/Points: many
    std::string text;
    AlignH alignH = AlignH::Left;
    AlignV alignV = AlignV::Top;
    bool upward = false;
    Rgb background;
};

// What a window paints: the canvas size, the font of every text, and the
// operations in painting order.
struct DrawList {
    int width = 0;
    int height = 0;
    std::string fontFace = "Arial";
    int fontHeight = 14;  // cell height in pixels
    int fontWeight = 300;
    std::vector<DrawOp> ops;
};

// The list as an SVG document of the same size.
std::string RenderSvg(const DrawList& list);

}  // namespace ravo

namespace ravo {

// Building blocks of a draw list.
inline DrawOp FillOp(Rgb colour)
{
    DrawOp op;
    op.colour = colour;
    return op;
}

inline DrawOp PixelOp(int x, int y, Rgb colour)
{
    DrawOp op;
    op.kind = DrawKind::Pixel;
    op.points = {{x, y}};
    op.colour = colour;
    return op;
}

inline DrawOp PolylineOp(std::vector<DrawPoint> points, Rgb colour, int width = 1)
{
    DrawOp op;
    op.kind = DrawKind::Polyline;
    op.points = std::move(points);
    op.colour = colour;
    op.width = width;
    return op;
}

inline DrawOp TextOp(std::string text, int x, int y, AlignH h, AlignV v, Rgb colour, Rgb background)
{
    DrawOp op;
    op.kind = DrawKind::Text;
    op.points = {{x, y}};
    op.text = std::move(text);
    op.alignH = h;
    op.alignV = v;
    op.colour = colour;
    op.background = background;
    return op;
}

}  // namespace ravo
