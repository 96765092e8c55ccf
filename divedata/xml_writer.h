#pragma once
#include <string>
#include <utility>
#include <vector>

namespace ravo {

// A small XML writer: elements nest by open/close, text and attribute values
// are escaped (tab, CR and LF as character references), and only printable
// ASCII is written otherwise (anything else becomes '?'). Indents two spaces per level; a leaf element stays on one line.
class XmlWriter {
public:
    XmlWriter();  // starts with the UTF-8 declaration

    using Attributes = std::vector<std::pair<std::string, std::string>>;
    void open(const std::string& name, const Attributes& attributes = {});
    void close();
    // <name attributes>text</name> on one line.
    void leaf(const std::string& name, const std::string& text, const Attributes& attributes = {});

    // The document; every element still open is closed first.
    const std::string& finish();

    static std::string escape(const std::string& text);

private:
    void startTag(const std::string& name, const Attributes& attributes);

    std::string out_;
    std::vector<std::string> open_;
};

}  // namespace ravo
