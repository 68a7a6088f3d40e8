#include "game/people/VisitLine.h"

#include "game/people/Merchant.h"
#include "game/people/WaitingLines.h"

VisitLine::VisitLine(Merchant& merchant, OrderTarget* station, int x, int y, CustomerLine* line)
    : MerchantAction(merchant, station, x, y), merchant(merchant), line(line)
{
}

bool VisitLine::Perform()
{
    if (line == nullptr)
        return true;
    if (servedCustomer == nullptr)
    {
        const LineEntry* head = line->Head();
        if (head == nullptr || !head->arrived)
            return true;
        servedCustomer = head->customer;
    }
    if (!headSeen)
    {
        const LineEntry* head = line->Head();
        headSeen = head != nullptr && head->atHead;
        if (!headSeen)
            return cancelled;
    }
    return ServeLine();
}
