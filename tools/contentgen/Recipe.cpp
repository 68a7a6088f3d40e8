// Recipe lines and the tolerant start-tag scanner.
#include "tools/contentgen/Recipe.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace ContentGen
{

std::string RecipeLine::Get(const std::string& key, const std::string& fallback) const
{
    auto it = keys.find(key);
    return it == keys.end() ? fallback : it->second;
}

double RecipeLine::Number(const std::string& key, double fallback) const
{
    auto it = keys.find(key);
    if (it == keys.end() || it->second.empty())
        return fallback;
    char* end = nullptr;
    double v = std::strtod(it->second.c_str(), &end);
    return (end && *end == 0) ? v : fallback;
}

std::vector<RecipeLine> ParseRecipes(const std::string& text, const std::string& fileName,
                                     std::vector<std::string>& problems)
{
    std::vector<RecipeLine> out;
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    while (std::getline(in, raw))
    {
        ++lineNo;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        size_t first = raw.find_first_not_of(" \t");
        if (first == std::string::npos || raw[first] == '#')
            continue;
        RecipeLine rl;
        rl.line = lineNo;
        size_t i = first;
        while (i < raw.size())
        {
            while (i < raw.size() && (raw[i] == ' ' || raw[i] == '\t'))
                ++i;
            if (i >= raw.size())
                break;
            std::string word;
            std::string value;
            bool isPair = false;
            while (i < raw.size() && raw[i] != ' ' && raw[i] != '\t')
            {
                if (raw[i] == '=' && !isPair)
                {
                    isPair = true;
                    ++i;
                    if (i < raw.size() && raw[i] == '"')
                    {
                        size_t close = raw.find('"', i + 1);
                        if (close == std::string::npos)
                        {
                            problems.push_back(fileName + ":" + std::to_string(lineNo) + ": unterminated quote");
                            value = raw.substr(i + 1);
                            i = raw.size();
                        }
                        else
                        {
                            value = raw.substr(i + 1, close - i - 1);
                            i = close + 1;
                        }
                        break;
                    }
                    continue;
                }
                (isPair ? value : word) += raw[i];
                ++i;
            }
            if (isPair)
                rl.keys[word] = value;
            else
                rl.words.push_back(word);
        }
        out.push_back(std::move(rl));
    }
    return out;
}

bool ParseSize(const std::string& text, int& w, int& h)
{
    size_t x = text.find('x');
    if (x == std::string::npos || x == 0 || x + 1 >= text.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (i != x && !std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
    w = std::atoi(text.substr(0, x).c_str());
    h = std::atoi(text.substr(x + 1).c_str());
    return w > 0 && h > 0 && w <= 4096 && h <= 4096;
}

std::string Tag::Attr(const std::string& key) const
{
    auto it = attrs.find(key);
    return it == attrs.end() ? std::string() : it->second;
}

namespace
{
std::string DecodeEntities(const std::string& s)
{
    static const std::pair<const char*, char> entities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    for (size_t i = 0; i < s.size(); ++i)
    {
        bool done = false;
        if (s[i] == '&')
        {
            for (const auto& [name, ch] : entities)
            {
                size_t len = std::char_traits<char>::length(name);
                if (s.compare(i, len, name) == 0)
                {
                    out += ch;
                    i += len - 1;
                    done = true;
                    break;
                }
            }
        }
        if (!done)
            out += s[i];
    }
    return out;
}

bool IsNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.' || c == ':';
}
} // namespace

std::vector<Tag> ScanTags(const std::string& text, const std::string& fileName, std::vector<std::string>& problems)
{
    std::vector<Tag> tags;
    int line = 1;
    size_t i = 0;
    auto report = [&](int at, const std::string& what)
    { problems.push_back(fileName + ":" + std::to_string(at) + ": " + what); };
    auto advanceTo = [&](size_t to)
    {
        for (; i < to && i < text.size(); ++i)
            if (text[i] == '\n')
                ++line;
    };
    while (i < text.size())
    {
        size_t lt = text.find('<', i);
        if (lt == std::string::npos)
            break;
        advanceTo(lt);
        if (text.compare(i, 4, "<!--") == 0)
        {
            size_t end = text.find("-->", i + 4);
            if (end == std::string::npos)
            {
                report(line, "unterminated comment");
                break;
            }
            advanceTo(end + 3);
            continue;
        }
        if (i + 1 < text.size() && (text[i + 1] == '?' || text[i + 1] == '!' || text[i + 1] == '/'))
        {
            size_t end = text.find('>', i);
            advanceTo(end == std::string::npos ? text.size() : end + 1);
            continue;
        }
        Tag tag;
        tag.line = line;
        size_t p = i + 1;
        while (p < text.size() && IsNameChar(text[p]))
            tag.name += text[p++];
        if (tag.name.empty())
        {
            report(line, "stray '<'");
            advanceTo(i + 1);
            continue;
        }
        bool closed = false;
        bool bad = false;
        while (p < text.size())
        {
            while (p < text.size() && std::isspace(static_cast<unsigned char>(text[p])))
                ++p;
            if (p >= text.size())
                break;
            if (text[p] == '>' || (text[p] == '/' && p + 1 < text.size() && text[p + 1] == '>'))
            {
                p += text[p] == '>' ? 1 : 2;
                closed = true;
                break;
            }
            std::string key;
            while (p < text.size() && IsNameChar(text[p]))
                key += text[p++];
            while (p < text.size() && std::isspace(static_cast<unsigned char>(text[p])))
                ++p;
            if (key.empty() || p >= text.size() || text[p] != '=')
            {
                bad = true;
                break;
            }
            ++p;
            while (p < text.size() && std::isspace(static_cast<unsigned char>(text[p])))
                ++p;
            if (p >= text.size() || (text[p] != '"' && text[p] != '\''))
            {
                bad = true;
                break;
            }
            char q = text[p];
            size_t close = text.find(q, p + 1);
            if (close == std::string::npos)
            {
                bad = true;
                break;
            }
            tag.attrs[key] = DecodeEntities(text.substr(p + 1, close - p - 1));
            p = close + 1;
        }
        if (!closed || bad)
        {
            report(tag.line, "malformed tag <" + tag.name + ">");
            size_t end = text.find('>', i + 1);
            advanceTo(end == std::string::npos ? text.size() : end + 1);
            continue;
        }
        advanceTo(p);
        tags.push_back(std::move(tag));
    }
    return tags;
}

bool ReadFile(const std::string& path, std::string& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    out = ss.str();
    return true;
}

} // namespace ContentGen
