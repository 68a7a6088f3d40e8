// Places where the data files' XML dialect reads a file differently from what its author most likely meant: the
// reader accepts them without an error, so they would otherwise go unnoticed. Used by velmora-lint as warnings.
#pragma once

#include <string>
#include <vector>

struct DialectNote
{
    int line = 0;
    std::string what;
};

// data: the whole file as stored (byte-order mark included). Notes come in file order.
std::vector<DialectNote> FindXmlDialectSurprises(const std::string& data);
