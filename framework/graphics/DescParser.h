// Reader of the font descriptor language: commands ending in ";", elements split at blanks and commas, quoted
// texts, nested lists and named defines. Subclasses give the commands their meaning through HandleCommand.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Zestra
{

class DataElement
{
public:
    virtual ~DataElement() = default;
    virtual std::unique_ptr<DataElement> Duplicate() const = 0;
    virtual bool IsList() const = 0;
};

// One token as written (quotes included when it had them).
class SingleDataElement : public DataElement
{
public:
    SingleDataElement() = default;
    explicit SingleDataElement(std::string value) : mString(std::move(value)) {}
    std::unique_ptr<DataElement> Duplicate() const override;
    bool IsList() const override { return false; }

    std::string mString;
};

// A parenthesised list.
class ListDataElement : public DataElement
{
public:
    ListDataElement() = default;
    ListDataElement(const ListDataElement& other);
    ListDataElement& operator=(const ListDataElement& other);
    std::unique_ptr<DataElement> Duplicate() const override;
    bool IsList() const override { return true; }

    std::vector<std::unique_ptr<DataElement>> mElements;
};

using DataElementList = std::vector<std::unique_ptr<DataElement>>;

class DescParser
{
public:
    DescParser();
    virtual ~DescParser();

    // Reads and runs a descriptor file (through the archive layer). false on the first error.
    bool LoadDescriptor(const std::string& path);
    // The same for text already in memory; path is only used in messages.
    bool LoadDescriptorText(const std::string& text);

    bool HasFailed() const { return !mError.empty(); }
    const std::string& ErrorText() const { return mError; }
    int ErrorLine() const { return mCommandLine; }
    const std::string& CommandText() const { return mCommandText; }

    // The value of a define, or null.
    const DataElement* FindDefine(const std::string& name) const;

    // Value readers; false on a value of the wrong kind (after dereferencing defines).
    bool IsToken(const DataElement* element) const;
    bool GetString(const DataElement* element, std::string& out);
    bool GetInt(const DataElement* element, int& out);
    bool GetDouble(const DataElement* element, double& out);
    bool GetBool(const DataElement* element, bool& out);
    bool GetColor(const DataElement* element, uint32_t& argb);
    bool GetStringVector(const DataElement* element, std::vector<std::string>& out);
    bool GetIntVector(const DataElement* element, std::vector<int>& out);
    bool GetDoubleVector(const DataElement* element, std::vector<double>& out);
    template <typename T>
    bool GetVector(const DataElement* element, std::vector<T>& out, bool (DescParser::*getOne)(const DataElement*, T&));
    // A list with its define names replaced by their values (recursively); false when a name is undefined.
    bool Dereference(const DataElement* element, std::unique_ptr<DataElement>& out);

protected:
    virtual bool HandleCommand(const DataElementList& params) = 0;
    virtual bool Error(const std::string& text);
    // The "Unable to Dereference" error for a name.
    bool DereferenceError(const std::string& name);
    // Handles "Define"; called by subclasses for that command.
    bool HandleDefine(const DataElementList& params);
    static bool IsNumberToken(const std::string& token);
    static std::string Unquote(const std::string& token);

    std::map<std::string, std::unique_ptr<DataElement>> mDefines;
    std::string mCommandText;
    int mCommandLine = 0;
    std::string mError;
    int mSeparatorMode = 1;
};

} // namespace Zestra
