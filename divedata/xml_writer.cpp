#include "divedata/xml_writer.h"

namespace ravo {

XmlWriter::XmlWriter() : out_("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n") {}

std::string XmlWriter::escape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        // References, so a parser hands them back unchanged (it would turn
        // them into spaces in attributes, and CR LF into LF).
        case '\t': out += "&#9;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        default:
            // The texts here are ASCII: control characters are not allowed in
            // XML and bytes above 0x7E might not be valid UTF-8.
            if (u < 0x20 || u > 0x7E)
                out += '?';
            else
                out += c;
        }
    }
    return out;
}

void XmlWriter::startTag(const std::string& name, const Attributes& attributes)
{
    out_.append(open_.size() * 2, ' ');
    out_ += '<' + name;
    for (const auto& [key, value] : attributes)
        out_ += ' ' + key + "=\"" + escape(value) + '"';
    out_ += '>';
}

void XmlWriter::open(const std::string& name, const Attributes& attributes)
{
    startTag(name, attributes);
    out_ += '\n';
    open_.push_back(name);
}

void XmlWriter::close()
{
    if (open_.empty())
        return;
    std::string name = std::move(open_.back());
    open_.pop_back();
    out_.append(open_.size() * 2, ' ');
    out_ += "</" + name + ">\n";
}

void XmlWriter::leaf(const std::string& name, const std::string& text, const Attributes& attributes)
{
    startTag(name, attributes);
    out_ += escape(text) + "</" + name + ">\n";
}

const std::string& XmlWriter::finish()
{
    while (!open_.empty())
        close();
    return out_;
}

}  // namespace ravo
