#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ravo {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

enum class DrawKind { Fill, Line, Polyline, Pixel, Text };
enum class AlignH { Left, Centre, Right };
enum class AlignV { Top, Baseline };

struct DrawPoint {
    int x = 0, y = 0;
    bool operator==(const DrawPoint&) const = default;
};

// One drawing operation, in pixels from the top left of the client area.
// Line and Polyline draw solid lines of `width` from point to point, each
// segment excluding its end pixel (as a pen's line-to). Text is drawn opaque
// on `background` with its reference point at `at` and the given alignment;
// `upward` runs it upwards (rotated 90 degrees).
struct DrawOp {
    DrawKind kind = DrawKind::Fill;
    Rgb colour;
    int width = 1;
    std::vector<DrawPoint> points;  // Fill: none; Pixel/Text: one; Line: two; Polyline: many
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
