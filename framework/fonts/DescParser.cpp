// Reading the description language: commands, tokens and lists, defines and value conversions.
#include "framework/fonts/DescParser.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <limits>

#include "framework/archive/PakInterface.h"

namespace Vel {

namespace {

std::string Upper(std::string s)
{
    for (char& c : s)
        c = char(std::toupper(uint8_t(c)));
    return s;
}

constexpr size_t kMaxListDepth = 32;

bool IsSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ',';
}

} // namespace

std::unique_ptr<DataElement> SingleDataElement::Duplicate() const
{
    return std::make_unique<SingleDataElement>(m_string);
}

ListDataElement::ListDataElement(const ListDataElement& other) : DataElement(true)
{
    *this = other;
}

ListDataElement& ListDataElement::operator=(const ListDataElement& other)
{
    if (this != &other) {
        m_children.clear();
        for (const auto& child : other.m_children)
            m_children.push_back(child->Duplicate());
    }
    return *this;
}

std::unique_ptr<DataElement> ListDataElement::Duplicate() const
{
    return std::make_unique<ListDataElement>(*this);
}

DescParser::DescParser() = default;

bool DescParser::Error(const std::string& text)
{
    if (m_error.empty())
        m_error = text;
    return false;
}

const DataElement* DescParser::GetDefine(const std::string& name) const
{
    auto it = m_defineMap.find(Upper(name));
    return it == m_defineMap.end() ? nullptr : it->second.get();
}

std::string DescParser::DataElementToString(const DataElement* element)
{
    if (!element)
        return "";
    if (!element->m_isList)
        return static_cast<const SingleDataElement*>(element)->m_string;
    const auto* list = static_cast<const ListDataElement*>(element);
    std::string out = "(";
    for (size_t i = 0; i < list->m_children.size(); ++i) {
        if (i)
            out += ", ";
        out += DataElementToString(list->m_children[i].get());
    }
    return out + ")";
}

bool DescParser::LoadDescriptor(const std::string& fileName)
{
    std::vector<uint8_t> bytes;
    m_currentLineNum = 0;
    m_currentLine.clear();
    if (!PakReadWholeFile(fileName, bytes))
        return Error("Unable to open file: " + fileName);
    return ParseText(std::string(bytes.begin(), bytes.end()));
}

bool DescParser::LoadDescriptorText(const std::string& text)
{
    return ParseText(text);
}

bool DescParser::ParseText(const std::string& text)
{
    m_error.clear();
    m_currentLineNum = 1;
    m_currentLine.clear();
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        // Between commands: blanks and comment lines.
        bool lineStart = true;
        while (i < n) {
            const char c = text[i];
            if (c == '\r') {
                ++i;
            } else if (c == '\n') {
                ++m_currentLineNum;
                lineStart = true;
                ++i;
            } else if (c == ' ' || c == '\t') {
                ++i;
            } else if (c == '#' && lineStart) {
                while (i < n && text[i] != '\n')
                    ++i;
            } else {
                break;
            }
        }
        if (i >= n)
            break;

        std::string command;
        char quote = 0;
        bool ended = false;
        while (i < n && !ended) {
            const char c = text[i++];
            if (c == '\r')
                continue;
            if (c == '\n')
                ++m_currentLineNum;
            if (quote) {
                if (c == '\\' && i < n) {
                    command += c;
                    const char next = text[i++];
                    if (next == '\n')
                        ++m_currentLineNum;
                    if (next != '\r')
                        command += next;
                    continue;
                }
                if (c == quote)
                    quote = 0;
                command += c;
            } else if (c == ';' && (m_cmdSep & CMDSEP_SEMICOLON)) {
                ended = true;
            } else {
                if (c == '"' || c == '\'')
                    quote = c;
                command += c;
            }
        }
        m_currentLine = command;
        if (!ParseCommand(command))
            return false;
        m_currentLine.clear();
    }
    m_currentLine.clear();
    return true;
}

bool DescParser::ParseCommand(const std::string& command)
{
    ListDataElement params;
    if (!ParseToList(command, &params))
        return false;
    if (params.m_children.empty())
        return true;
    if (params.m_children[0]->m_isList)
        return Error("Missing Command");
    return HandleCommand(params);
}

bool DescParser::ParseToList(const std::string& text, ListDataElement* list)
{
    std::vector<ListDataElement*> stack{list};
    std::string token;
    bool haveToken = false; // a token (possibly "") is being collected
    char quote = 0;
    auto flush = [&] {
        if (haveToken)
            stack.back()->m_children.push_back(std::make_unique<SingleDataElement>(token));
        token.clear();
        haveToken = false;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            if (i + 1 < text.size()) {
                token += text[++i];
                haveToken = true;
            }
            continue;
        }
        if (quote) {
            token += c;
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
            token += c;
            haveToken = true;
        } else if (IsSeparator(c)) {
            flush();
        } else if (c == '(') {
            // Values nest a few levels at most; a deeper pile would only be freed recursively.
            if (haveToken || stack.size() > kMaxListDepth)
                return Error("Unexpected List Start");
            auto child = std::make_unique<ListDataElement>();
            ListDataElement* raw = child.get();
            stack.back()->m_children.push_back(std::move(child));
            stack.push_back(raw);
        } else if (c == ')') {
            if (stack.size() < 2)
                return Error("Unexpected List End");
            flush();
            stack.pop_back();
        } else {
            token += c;
            haveToken = true;
        }
    }
    if (quote == '\'')
        return Error("Unterminated Single Quotes");
    if (quote == '"')
        return Error("Unterminated Double Quotes");
    if (stack.size() > 1)
        return Error("Unterminated List");
    flush();
    return true;
}

bool DescParser::IsImmediate(const std::string& token) const
{
    if (token.empty())
        return true; // an empty token names nothing
    const char c = token[0];
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '\'' || c == '"';
}

std::string DescParser::Unquote(const std::string& token)
{
    if (token.empty() || (token[0] != '"' && token[0] != '\''))
        return token;
    // Inside the outer quotes a doubled quote of the same kind stands for one; the other kind
    // is an ordinary character, so "s'" and '"' mean what they say.
    const char q = token[0];
    const size_t end = token.size() >= 2 && token.back() == q ? token.size() - 1 : token.size();
    std::string out;
    for (size_t i = 1; i < end; ++i) {
        if (token[i] != q) {
            out += token[i];
        } else if (i + 1 < end && token[i + 1] == q) {
            out += q;
            ++i;
        }
    }
    return out;
}

bool DescParser::StringToInt(const std::string& text, int* out)
{
    if (text.empty())
        return false;
    const char* s = text.c_str();
    const char* digits = s + ((s[0] == '-' || s[0] == '+') ? 1 : 0);
    const int base = (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) ? 16 : 10;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(s, &end, base);
    if (errno != 0 || end == s || *end != '\0')
        return false;
    // Packed colours are written as 0xAARRGGBB, which only fits as an unsigned value.
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<uint32_t>::max())
        return false;
    *out = int32_t(uint32_t(v));
    return true;
}

bool DescParser::StringToDouble(const std::string& text, double* out)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (errno != 0 || end == text.c_str() || *end != '\0')
        return false;
    *out = v;
    return true;
}

const DataElement* DescParser::Dereference(const DataElement* source)
{
    if (!source)
        return nullptr;
    if (source->m_isList)
        return source;
    const auto& token = static_cast<const SingleDataElement*>(source)->m_string;
    if (IsImmediate(token))
        return source;
    auto it = m_defineMap.find(Upper(token));
    if (it == m_defineMap.end()) {
        Error("Unable to Dereference \"" + token + "\"");
        return nullptr;
    }
    return it->second.get();
}

bool DescParser::DataToString(const DataElement* source, std::string* out)
{
    const DataElement* value = Dereference(source);
    if (!value)
        return false;
    if (value->m_isList)
        return Error("Invalid Paramater Type");
    *out = Unquote(static_cast<const SingleDataElement*>(value)->m_string);
    return true;
}

bool DescParser::DataToInt(const DataElement* source, int* out)
{
    const DataElement* value = Dereference(source);
    if (!value)
        return false;
    if (value->m_isList || !StringToInt(static_cast<const SingleDataElement*>(value)->m_string, out))
        return Error("Invalid Paramater Type");
    return true;
}

bool DescParser::DataToDouble(const DataElement* source, double* out)
{
    const DataElement* value = Dereference(source);
    if (!value)
        return false;
    if (value->m_isList || !StringToDouble(static_cast<const SingleDataElement*>(value)->m_string, out))
        return Error("Invalid Paramater Type");
    return true;
}

bool DescParser::DataToList(const DataElement* source, ListDataElement* out)
{
    const DataElement* value = Dereference(source);
    if (!value)
        return false;
    if (!value->m_isList)
        return Error("Invalid Paramater Type");
    out->m_children.clear();
    for (const auto& child : static_cast<const ListDataElement*>(value)->m_children) {
        const DataElement* resolved = Dereference(child.get());
        if (!resolved)
            return false;
        if (resolved->m_isList) {
            auto nested = std::make_unique<ListDataElement>();
            if (!DataToList(resolved, nested.get()))
                return false;
            out->m_children.push_back(std::move(nested));
        } else {
            out->m_children.push_back(resolved->Duplicate());
        }
    }
    return true;
}

bool DescParser::DataToStringVector(const DataElement* source, std::vector<std::string>* out)
{
    ListDataElement list;
    if (!DataToList(source, &list))
        return false;
    out->clear();
    for (const auto& child : list.m_children) {
        std::string s;
        if (!DataToString(child.get(), &s))
            return false;
        out->push_back(s);
    }
    return true;
}

bool DescParser::DataToIntVector(const DataElement* source, std::vector<int>* out)
{
    ListDataElement list;
    if (!DataToList(source, &list))
        return false;
    out->clear();
    for (const auto& child : list.m_children) {
        int v = 0;
        if (!DataToInt(child.get(), &v))
            return false;
        out->push_back(v);
    }
    return true;
}

bool DescParser::DataToDoubleVector(const DataElement* source, std::vector<double>* out)
{
    ListDataElement list;
    if (!DataToList(source, &list))
        return false;
    out->clear();
    for (const auto& child : list.m_children) {
        double v = 0;
        if (!DataToDouble(child.get(), &v))
            return false;
        out->push_back(v);
    }
    return true;
}

bool DescParser::HandleDefine(const ListDataElement& params)
{
    if (params.m_children.size() != 3)
        return Error("Invalid Number of Parameters");
    const DataElement* nameElement = params.m_children[1].get();
    if (nameElement->m_isList || IsImmediate(static_cast<const SingleDataElement*>(nameElement)->m_string))
        return Error("Invalid Paramater Type");
    const std::string name = Upper(static_cast<const SingleDataElement*>(nameElement)->m_string);
    const DataElement* value = params.m_children[2].get();
    std::unique_ptr<DataElement> stored;
    if (value->m_isList) {
        auto list = std::make_unique<ListDataElement>();
        if (!DataToList(value, list.get()))
            return false;
        stored = std::move(list);
    } else {
        const DataElement* resolved = Dereference(value);
        if (!resolved)
            return false;
        stored = resolved->Duplicate();
    }
    m_defineMap[name] = std::move(stored);
    return true;
}

} // namespace Vel
