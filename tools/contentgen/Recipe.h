#pragma once
// Plain-text recipes of the generator (content/art/*.txt) and a tolerant scanner for the start tags of the
// game's data files. Both keep going past bad input and report it as "file:line: what" in Problems().

#include <map>
#include <string>
#include <vector>

namespace ContentGen
{

// One recipe line: positional words, then key=value pairs (values may be double-quoted).
struct RecipeLine
{
    int line = 0;
    std::vector<std::string> words;
    std::map<std::string, std::string> keys;

    std::string Get(const std::string& key, const std::string& fallback = "") const;
    double Number(const std::string& key, double fallback) const;
    bool Has(const std::string& key) const { return keys.count(key) != 0; }
};

// Splits text into recipe lines; "#" starts a comment line, blank lines are skipped.
// An unterminated quote is reported and the rest of that line is taken as the value.
std::vector<RecipeLine> ParseRecipes(const std::string& text, const std::string& fileName,
                                     std::vector<std::string>& problems);

// Parses "WxH"; false when malformed or not positive.
bool ParseSize(const std::string& text, int& w, int& h);

// A start tag of an XML data file with its attributes (entities &amp; &lt; &gt; &quot; &apos; decoded).
struct Tag
{
    int line = 0;
    std::string name;
    std::map<std::string, std::string> attrs;

    std::string Attr(const std::string& key) const;
};

// Collects every start tag in document order; comments, declarations and end tags are skipped.
// Malformed tags are reported and skipped, never fatal: the generator only needs names and attributes.
std::vector<Tag> ScanTags(const std::string& text, const std::string& fileName, std::vector<std::string>& problems);

bool ReadFile(const std::string& path, std::string& out);

} // namespace ContentGen
