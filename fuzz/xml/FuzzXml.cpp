// Feeds arbitrary bytes to the XML reader: every element must come back without reading outside the input, and an
// error must stop the reader for good.
#include "framework/xml/XMLParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{

// Everything the reader reported, flattened, so that two decodings of the same characters can be compared.
std::string Transcript(const std::string& bytes, bool keepComments)
{
    Zestra::XMLParser reader;
    reader.SetKeepComments(keepComments);
    reader.OpenBuffer(bytes, "fuzz.xml");
    Zestra::ParsedElement element;
    std::string out;
    int depth = 0;
    while (reader.ReadNext(element))
    {
        if (element.mKind == Zestra::ParsedElement::Start)
            ++depth;
        else if (element.mKind == Zestra::ParsedElement::End)
            --depth;
        if (depth < 0)
            std::abort(); // an end without its start must have been refused
        out += std::to_string(element.mKind) + '|' + element.mPath + '|' + element.mText + '|' +
               element.mInstructionBody;
        for (const std::string& name : element.mAttrOrder)
            out += '|' + name + '=' + element.GetAttr(name);
        out += '\n';
    }
    if (reader.Failed() && reader.ReadNext(element))
        std::abort();
    return out + reader.ErrorText();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    bool keepComments = data[0] & 1;
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string single = Transcript(bytes, keepComments);

    // The same characters as UTF-16 take the reader's general path; the single-byte input also takes its fast
    // paths, so both must agree exactly (a leading FF FE or FE FF would select UTF-16 for the original itself).
    if (bytes.size() >= 2 && ((uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE) ||
                              (uint8_t(bytes[0]) == 0xFE && uint8_t(bytes[1]) == 0xFF) ||
                              (bytes.size() >= 3 && uint8_t(bytes[0]) == 0xEF && uint8_t(bytes[1]) == 0xBB)))
        return 0;
    std::string wide = "\xFF\xFE";
    for (char c : bytes)
    {
        wide.push_back(c);
        wide.push_back(0);
    }
    if (Transcript(wide, keepComments) != single)
        std::abort();
    return 0;
}
