// The manifest's XML reader: decoding, tags, attributes, entities and error texts.
#include "framework/resources/XMLParser.h"

#include "framework/archive/PakInterface.h"

namespace Vel {

namespace {

bool IsBlank(uint32_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsNameEnd(int c)
{
    return c < 0 || IsBlank(uint32_t(c)) || c == '/' || c == '>' || c == '<' || c == '=' || c == '"' ||
           c == '\'';
}

bool IsEntityNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '#';
}

std::string Trim(const std::string& s)
{
    size_t b = 0;
    size_t e = s.size();
    while (b < e && IsBlank(uint8_t(s[b])))
        ++b;
    while (e > b && IsBlank(uint8_t(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

} // namespace

std::string XMLElement::GetAttribute(const std::string& name) const
{
    auto it = attributes.find(name);
    return it == attributes.end() ? std::string() : it->second;
}

bool XMLParser::OpenFile(const std::string& fileName)
{
    std::vector<uint8_t> bytes;
    if (!PakReadWholeFile(fileName, bytes)) {
        SetBytes({}, fileName);
        m_line = 0;
        return Fail("Unable to open file " + fileName);
    }
    SetBytes(bytes, fileName);
    return true;
}

void XMLParser::SetString(const std::string& text, const std::string& name)
{
    SetBytes(std::vector<uint8_t>(text.begin(), text.end()), name);
}

void XMLParser::SetBytes(const std::vector<uint8_t>& bytes, const std::string& name)
{
    m_fileName = name;
    m_chars.clear();
    m_pos = 0;
    m_line = 1;
    m_hasFailed = false;
    m_errorText.clear();
    m_openSections.clear();
    m_pendingEnd = false;
    m_pendingEndName.clear();
    m_decodeError = false;
    Decode(bytes);
}

bool XMLParser::Decode(const std::vector<uint8_t>& b)
{
    const size_t n = b.size();
    m_chars.reserve(n);
    if (n >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) {
        m_singleByte = false;
        const bool little = b[0] == 0xFF;
        auto unit = [&](size_t i) -> uint32_t {
            return little ? uint32_t(b[i]) | uint32_t(b[i + 1]) << 8 : uint32_t(b[i]) << 8 | uint32_t(b[i + 1]);
        };
        size_t i = 2;
        while (i + 1 < n) {
            uint32_t u = unit(i);
            i += 2;
            if (u >= 0xD800 && u <= 0xDBFF) {
                if (i + 1 >= n) {
                    m_decodeError = true;
                    return false;
                }
                const uint32_t low = unit(i);
                if (low < 0xDC00 || low > 0xDFFF) {
                    m_decodeError = true;
                    return false;
                }
                i += 2;
                u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
            } else if (u >= 0xDC00 && u <= 0xDFFF) {
                m_decodeError = true;
                return false;
            }
            if (u == 0 || u == 0xFFFE || u == 0xFFFF) {
                m_decodeError = true;
                return false;
            }
            m_chars.push_back(u);
        }
        if (i < n) // half a code unit at the end
            m_decodeError = true;
        return !m_decodeError;
    }
    if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        m_singleByte = false;
        size_t i = 3;
        while (i < n) {
            const uint8_t lead = b[i];
            uint32_t c;
            int extra;
            uint8_t minSecond = 0x80;
            uint8_t maxSecond = 0xBF;
            if (lead < 0x80) {
                c = lead;
                extra = 0;
            } else if (lead >= 0xC2 && lead <= 0xDF) {
                c = lead & 0x1F;
                extra = 1;
            } else if (lead >= 0xE0 && lead <= 0xEF) {
                c = lead & 0x0F;
                extra = 2;
                if (lead == 0xE0)
                    minSecond = 0xA0; // overlong
                if (lead == 0xED)
                    maxSecond = 0x9F; // surrogates
            } else if (lead >= 0xF0 && lead <= 0xF4) {
                c = lead & 0x07;
                extra = 3;
                if (lead == 0xF0)
                    minSecond = 0x90;
                if (lead == 0xF4)
                    maxSecond = 0x8F; // above U+10FFFF
            } else {
                m_decodeError = true;
                return false;
            }
            if (i + size_t(extra) >= n && extra > 0) {
                m_decodeError = true;
                return false;
            }
            for (int k = 1; k <= extra; ++k) {
                const uint8_t t = b[i + size_t(k)];
                const uint8_t lo = k == 1 ? minSecond : 0x80;
                const uint8_t hi = k == 1 ? maxSecond : 0xBF;
                if (t < lo || t > hi) {
                    m_decodeError = true;
                    return false;
                }
                c = c << 6 | (t & 0x3F);
            }
            if (c == 0 || c == 0xFFFE || c == 0xFFFF) {
                m_decodeError = true;
                return false;
            }
            m_chars.push_back(c);
            i += size_t(extra) + 1;
        }
        return true;
    }
    m_singleByte = true;
    for (uint8_t c : b) {
        if (c == 0) { // a NUL cannot be part of any name or text
            m_decodeError = true;
            return false;
        }
        m_chars.push_back(c);
    }
    return true;
}

void XMLParser::AppendChar(std::string* out, uint32_t c) const
{
    if (m_singleByte || c < 0x80) {
        out->push_back(char(uint8_t(c)));
    } else if (c < 0x800) {
        out->push_back(char(0xC0 | (c >> 6)));
        out->push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out->push_back(char(0xE0 | (c >> 12)));
        out->push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(char(0x80 | (c & 0x3F)));
    } else {
        out->push_back(char(0xF0 | (c >> 18)));
        out->push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out->push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(char(0x80 | (c & 0x3F)));
    }
}

int XMLParser::Peek(size_t ahead) const
{
    return m_pos + ahead < m_chars.size() ? int(m_chars[m_pos + ahead]) : -1;
}

int XMLParser::Get()
{
    if (m_pos >= m_chars.size())
        return -1;
    const uint32_t c = m_chars[m_pos++];
    if (c == '\n')
        ++m_line;
    return int(c);
}

bool XMLParser::Fail(const std::string& text)
{
    if (!m_hasFailed) {
        m_hasFailed = true;
        m_errorText = text;
    }
    return false;
}

std::string XMLParser::Section() const
{
    std::string s;
    for (size_t i = 0; i < m_openSections.size(); ++i) {
        if (i)
            s += '/';
        s += m_openSections[i];
    }
    return s;
}

std::string XMLParser::ReplaceEntities(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        // Only "&name;" is an entity; a bare ampersand stays as written.
        size_t j = i + 1;
        while (j < text.size() && IsEntityNameChar(text[j]))
            ++j;
        if (j >= text.size() || text[j] != ';') {
            out += '&';
            continue;
        }
        const std::string name = text.substr(i + 1, j - i - 1);
        if (name == "lt")
            out += '<';
        else if (name == "amp")
            out += '&';
        else if (name == "gt")
            out += '>';
        else if (name == "quot")
            out += '"';
        else if (name == "apos")
            out += '\'';
        else if (name == "nbsp")
            out += ' ';
        else if (name == "cr")
            out += '\n';
        else
            out += '&';
        i = j;
    }
    return out;
}

bool XMLParser::NextElement(XMLElement* element)
{
    if (m_hasFailed)
        return false;
    *element = XMLElement();
    if (m_pendingEnd) {
        m_pendingEnd = false;
        element->type = XMLElement::TYPE_END;
        element->value = m_pendingEndName;
        element->section = Section();
        return true;
    }
    for (;;) {
        std::string text;
        // Stop after the last non-blank character, so an error about the text names its line.
        size_t endPos = m_pos;
        int endLine = m_line;
        while (Peek() >= 0 && Peek() != '<') {
            const int c = Get();
            AppendChar(&text, uint32_t(c));
            if (!IsBlank(uint32_t(c))) {
                endPos = m_pos;
                endLine = m_line;
            }
        }
        const std::string trimmed = Trim(text);
        if (!trimmed.empty()) {
            m_pos = endPos;
            m_line = endLine;
            element->type = XMLElement::TYPE_ELEMENT;
            element->value = ReplaceEntities(trimmed);
            element->section = Section();
            return true;
        }
        if (Peek() < 0) {
            if (m_decodeError)
                return Fail("Illegal Character");
            if (!m_openSections.empty())
                return Fail("Unexpected End of File");
            return false;
        }
        Get(); // '<'
        bool skipped = false;
        if (Peek() == '!') {
            Get();
            const bool isComment = Peek() == '-' && Peek(1) == '-';
            if (isComment) {
                Get();
                Get();
            }
            for (;;) {
                const int c = Get();
                if (c < 0)
                    return Fail(m_decodeError ? "Illegal Character" : "Unexpected End of File");
                if (isComment ? (c == '-' && Peek() == '-' && Peek(1) == '>') : c == '>') {
                    if (isComment) {
                        Get();
                        Get();
                    }
                    break;
                }
            }
            skipped = true;
        }
        if (!skipped)
            return ParseTag(element);
    }
}

bool XMLParser::ReadName(std::string* name)
{
    name->clear();
    while (!IsNameEnd(Peek()))
        AppendChar(name, uint32_t(Get()));
    return !name->empty();
}

bool XMLParser::ReadAttributeValue(std::string* value)
{
    value->clear();
    const int quote = Peek();
    if (quote == '"' || quote == '\'') {
        Get();
        for (;;) {
            const int c = Get();
            if (c < 0)
                return Fail(m_decodeError ? "Illegal Character" : "Unexpected End of File");
            if (c == quote)
                break;
            AppendChar(value, uint32_t(c));
        }
    } else {
        if (Peek() == '>')
            return Fail("Unexpected '>'");
        if (Peek() == '<')
            return Fail("Unexpected '<'");
        while (Peek() >= 0 && !IsBlank(uint32_t(Peek())) && Peek() != '>' && Peek() != '<')
            AppendChar(value, uint32_t(Get()));
    }
    *value = ReplaceEntities(*value);
    return true;
}

bool XMLParser::ParseTag(XMLElement* element)
{
    auto skipBlanks = [this] {
        while (Peek() >= 0 && IsBlank(uint32_t(Peek())))
            Get();
    };
    auto failAt = [this](int c) {
        if (c < 0)
            return Fail(m_decodeError ? "Illegal Character" : "Unexpected End of File");
        if (c == '<')
            return Fail("Unexpected '<'");
        if (c == '>')
            return Fail("Unexpected '>'");
        return Fail("Illegal Character");
    };

    element->section = Section();
    if (Peek() == '?') {
        Get();
        std::string name;
        ReadName(&name);
        std::string rest;
        for (;;) {
            const int c = Get();
            if (c < 0)
                return failAt(c);
            if (c == '?' && Peek() == '>') {
                Get();
                break;
            }
            AppendChar(&rest, uint32_t(c));
        }
        element->type = XMLElement::TYPE_INSTRUCTION;
        element->value = name;
        element->instruction = Trim(rest);
        return true;
    }

    if (Peek() == '/') {
        Get();
        std::string name;
        if (!ReadName(&name))
            return failAt(Peek());
        skipBlanks();
        if (Peek() != '>')
            return failAt(Peek());
        Get();
        if (m_openSections.empty())
            return Fail("Unexpected End");
        if (m_openSections.back() != name)
            return Fail("End '" + name + "' Doesn't Match Start '" + m_openSections.back() + "'");
        m_openSections.pop_back();
        element->type = XMLElement::TYPE_END;
        element->value = name;
        element->section = Section();
        return true;
    }

    std::string name;
    if (!ReadName(&name))
        return failAt(Peek());
    element->type = XMLElement::TYPE_START;
    element->value = name;
    for (;;) {
        skipBlanks();
        const int c = Peek();
        if (c == '>') {
            Get();
            break;
        }
        if (c == '/' && Peek(1) == '>') {
            Get();
            Get();
            m_pendingEnd = true;
            m_pendingEndName = name;
            break;
        }
        std::string attrName;
        if (!ReadName(&attrName))
            return failAt(c);
        skipBlanks();
        std::string attrValue;
        if (Peek() == '=') {
            Get();
            skipBlanks();
            if (!ReadAttributeValue(&attrValue))
                return false;
        }
        if (element->attributes.count(attrName) == 0)
            element->attributeOrder.push_back(attrName);
        element->attributes[attrName] = attrValue;
    }
    if (!m_pendingEnd)
        m_openSections.push_back(name);
    return true;
}

} // namespace Vel
