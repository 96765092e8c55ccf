#include "divedata/draw_list.h"

#include "divedata/detail/text_format_p.h"
#include "link/utf8_text.h"

namespace ravo {
namespace {

std::string colourText(Rgb c) { return detail::textC("#%02x%02x%02x", c.r, c.g, c.b); }

std::string escapeXml(const std::string& text)
{
    // Well-formed UTF-8 ("°C") passes; other bytes above ASCII do not.
    const bool utf8 = IsValidUtf8(text);
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            // XML refuses most control characters.
            out += (byte < 0x20 || byte == 0x7F || (byte > 0x7F && !utf8)) ? '?' : c;
        }
    }
    return out;
}

// Pixel (x, y) covers x..x+1; a one-pixel line runs through pixel centres.
std::string centre(int v) { return detail::textC("%d.5", v); }

void appendText(std::string& out, const DrawOp& op)
{
    const DrawPoint& p = op.points.front();
    const char* anchor = op.alignH == AlignH::Left ? "start" : op.alignH == AlignH::Centre ? "middle" : "end";
    const char* baseline = op.alignV == AlignV::Top      ? "text-before-edge"
                           : op.alignV == AlignV::Centre ? "central"
                                                         : "alphabetic";
    out += detail::textC("<text x=\"%d\" y=\"%d\" fill=\"%s\" text-anchor=\"%s\" dominant-baseline=\"%s\"", p.x, p.y,
                   colourText(op.colour).c_str(), anchor, baseline);
    if (op.upward)
        out += detail::textC(" transform=\"rotate(-90 %d %d)\"", p.x, p.y);
    out += '>';
    out += escapeXml(op.text);
    out += "</text>\n";
}

}  // namespace

std::string RenderSvg(const DrawList& list)
{
    std::string out = detail::textC(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\">\n"
        "<g font-family=\"%s, Helvetica, sans-serif\" font-size=\"%dpx\" font-weight=\"%d\">\n",
        list.width, list.height, list.width, list.height, escapeXml(list.fontFace).c_str(), list.fontHeight * 4 / 5,
        list.fontWeight);
    for (const DrawOp& op : list.ops) {
        switch (op.kind) {
        case DrawKind::Fill:
            out += detail::textC("<rect x=\"0\" y=\"0\" width=\"%d\" height=\"%d\" fill=\"%s\"/>\n", list.width, list.height,
                           colourText(op.colour).c_str());
            break;
        case DrawKind::Pixel:
            if (!op.points.empty())
                out += detail::textC("<rect x=\"%d\" y=\"%d\" width=\"1\" height=\"1\" fill=\"%s\"/>\n", op.points[0].x,
                               op.points[0].y, colourText(op.colour).c_str());
            break;
        case DrawKind::Points:
            if (op.points.empty())
                break;
            out += "<path d=\"";
            for (const DrawPoint& p : op.points)
                out += detail::textC("M%d %dh1v1h-1z", p.x, p.y);
            out += detail::textC("\" fill=\"%s\"/>\n", colourText(op.colour).c_str());
            break;
        case DrawKind::Rect:
            if (op.points.size() == 2 && op.points[1].x > op.points[0].x && op.points[1].y > op.points[0].y)
                out += detail::textC("<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"%s\"/>\n", op.points[0].x,
                                     op.points[0].y, op.points[1].x - op.points[0].x, op.points[1].y - op.points[0].y,
                                     colourText(op.colour).c_str());
            break;
        case DrawKind::Line:
        case DrawKind::Polyline: {
            if (op.points.size() < 2)
                break;
            out += "<polyline fill=\"none\" stroke-linecap=\"square\" points=\"";
            for (size_t i = 0; i < op.points.size(); ++i) {
                if (i)
                    out += ' ';
                out += centre(op.points[i].x) + "," + centre(op.points[i].y);
            }
            out += detail::textC("\" stroke=\"%s\" stroke-width=\"%d\"/>\n", colourText(op.colour).c_str(), op.width);
            break;
        }
        case DrawKind::Text:
            if (!op.points.empty())
                appendText(out, op);
            break;
        }
    }
    out += "</g>\n</svg>\n";
    return out;
}

}  // namespace ravo
