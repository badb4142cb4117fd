// A small XML reader for the resource manifest: one element at a time, UTF-8, UTF-16 (with a
// byte-order mark) or single-byte input, the common entities, and error texts with line numbers.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Vel {

struct XMLElement {
    enum Type {
        TYPE_NONE = 0,
        TYPE_START = 1,
        TYPE_END = 2,
        TYPE_ELEMENT = 3, // text between tags
        TYPE_INSTRUCTION = 4,
        TYPE_COMMENT = 5,
    };

    int type = TYPE_NONE;
    std::string section; // enclosing open elements joined by "/", not including this one
    std::string value;   // the tag name, or the text
    std::string instruction;
    std::map<std::string, std::string> attributes;
    std::vector<std::string> attributeOrder; // names in document order, each once

    bool HasAttribute(const std::string& name) const { return attributes.count(name) != 0; }
    // The attribute's value, or empty when absent.
    std::string GetAttribute(const std::string& name) const;
};

class XMLParser {
public:
    // Reads the whole file through the archive layer; false with "Unable to open file " + name.
    bool OpenFile(const std::string& fileName);
    // Parses bytes held in memory (the same decoding as a file); `name` appears in messages.
    void SetBytes(const std::vector<uint8_t>& bytes, const std::string& name = "");
    void SetString(const std::string& text, const std::string& name = "");

    // The next element; false at the end of the input or after an error (see HasFailed).
    // Comments are skipped; an empty-element tag comes back as a start tag, then its end tag.
    bool NextElement(XMLElement* element);

    bool HasFailed() const { return m_hasFailed; }
    bool EndOfFile() const { return m_pos >= m_chars.size() && !m_pendingEnd; }
    // The first error's text; GetCurrentLineNum() is the line it was found on (0 when the
    // file could not be opened).
    std::string GetErrorText() const { return m_errorText; }
    int GetCurrentLineNum() const { return m_line; }
    const std::string& GetFileName() const { return m_fileName; }

private:
    bool Fail(const std::string& text);
    bool Decode(const std::vector<uint8_t>& bytes);
    int Peek(size_t ahead = 0) const;
    int Get();
    bool ParseTag(XMLElement* element);
    bool ReadName(std::string* name);
    bool ReadAttributeValue(std::string* value);
    std::string Section() const;
    void AppendChar(std::string* out, uint32_t c) const;
    static std::string ReplaceEntities(const std::string& text);

    std::string m_fileName;
    std::vector<uint32_t> m_chars; // decoded code points (bytes for single-byte files)
    bool m_singleByte = true; // characters are copied as bytes, not re-encoded
    size_t m_pos = 0;
    bool m_decodeError = false; // m_chars stops where an illegal byte sequence began
    int m_line = 1;
    bool m_hasFailed = false;
    std::string m_errorText;
    std::vector<std::string> m_openSections;
    bool m_pendingEnd = false; // an empty-element tag owes its end tag
    std::string m_pendingEndName;
};

} // namespace Vel
