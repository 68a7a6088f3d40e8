// The part of a waiting line that the stations need: a free changing room or the merchant asks the line to serve
// the customer at its head. The full lines (slots, joining, moving up) derive from it.
#pragma once

class WaitingLine
{
public:
    virtual ~WaitingLine() = default;
    virtual void ServeHead() = 0;
};
