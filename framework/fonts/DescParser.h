// The command language of font descriptions: commands end at ";", values are tokens or nested
// lists, identifiers name defines. Derived classes handle the commands.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Vel {

class DataElement {
public:
    explicit DataElement(bool isList) : m_isList(isList) {}
    virtual ~DataElement() = default;
    virtual std::unique_ptr<DataElement> Duplicate() const = 0;

    bool m_isList;
};

// One token as written: a number, a quoted string (quotes kept) or an identifier.
class SingleDataElement : public DataElement {
public:
    SingleDataElement() : DataElement(false) {}
    explicit SingleDataElement(std::string text) : DataElement(false), m_string(std::move(text)) {}
    std::unique_ptr<DataElement> Duplicate() const override;

    std::string m_string;
};

class ListDataElement : public DataElement {
public:
    ListDataElement() : DataElement(true) {}
    ListDataElement(const ListDataElement& other);
    ListDataElement& operator=(const ListDataElement& other);
    std::unique_ptr<DataElement> Duplicate() const override;

    std::vector<std::unique_ptr<DataElement>> m_children;
};

class DescParser {
public:
    enum CmdSep { CMDSEP_SEMICOLON = 1, CMDSEP_NO_INDENT = 2 };

    DescParser();
    virtual ~DescParser() = default;

    // Reads a description through the archive layer; false after the first failing command
    // (or when the file cannot be read).
    bool LoadDescriptor(const std::string& fileName);
    // The same over text held in memory.
    bool LoadDescriptorText(const std::string& text);

    const std::string& GetErrorText() const { return m_error; }
    int GetCurrentLine() const { return m_currentLineNum; }
    // The define's value (identifiers inside lists already resolved), or null.
    const DataElement* GetDefine(const std::string& name) const;

    // A value written out: a token unchanged, a list as "(a, b, c)".
    static std::string DataElementToString(const DataElement* element);

protected:
    // Records the error and returns false; derived classes add their reporting.
    virtual bool Error(const std::string& text);
    virtual bool HandleCommand(const ListDataElement& params) = 0;

    // Splits `text` into values, appended to `list`.
    bool ParseToList(const std::string& text, ListDataElement* list);

    // Conversions used by the commands; each returns false (with the error) on a wrong value.
    // Identifiers are replaced by their define first.
    bool DataToString(const DataElement* source, std::string* out);
    bool DataToInt(const DataElement* source, int* out);
    bool DataToDouble(const DataElement* source, double* out);
    bool DataToList(const DataElement* source, ListDataElement* out);
    bool DataToStringVector(const DataElement* source, std::vector<std::string>* out);
    bool DataToIntVector(const DataElement* source, std::vector<int>* out);
    bool DataToDoubleVector(const DataElement* source, std::vector<double>* out);
    // The define an identifier token names, or the element itself when it is no identifier;
    // null with "Unable to Dereference" when undefined.
    const DataElement* Dereference(const DataElement* source);
    bool IsImmediate(const std::string& token) const; // a number or a quoted string
    static std::string Unquote(const std::string& token);
    static bool StringToInt(const std::string& text, int* out);
    static bool StringToDouble(const std::string& text, double* out);

    // Handles the "Define" command shared by all descriptions.
    bool HandleDefine(const ListDataElement& params);

    int m_cmdSep = CMDSEP_SEMICOLON;
    std::string m_error;
    int m_currentLineNum = 0;
    std::string m_currentLine; // the command being read (empty between commands)
    std::map<std::string, std::unique_ptr<DataElement>> m_defineMap; // keys upper-cased

private:
    bool ParseText(const std::string& text);
    bool ParseCommand(const std::string& command);
};

} // namespace Vel
