// Marks a bulk load of controls for its scope: panel change handlers see bit 0 of
// Not_Draw_Only_Prop_Change and write nothing; the value from before comes back on every way out
// (so nested loads keep the outer mark).
#pragma once

#include "model/ModelGlobals.h"

#include <QObject>
#include <QSignalBlocker>

#include <initializer_list>
#include <vector>

class BulkLoadGuard
{
public:
    // The objects given stay signal-blocked for the scope too.
    explicit BulkLoadGuard(std::initializer_list<QObject *> blocked = {})
        : m_previous(Not_Draw_Only_Prop_Change.load())
    {
        Not_Draw_Only_Prop_Change = m_previous | 1;
        m_blockers.reserve(blocked.size());
        for (QObject *o : blocked)
            if (o)
                m_blockers.emplace_back(o);
    }
    ~BulkLoadGuard() { Not_Draw_Only_Prop_Change = m_previous; }
    BulkLoadGuard(const BulkLoadGuard &) = delete;
    BulkLoadGuard &operator=(const BulkLoadGuard &) = delete;

private:
    int m_previous;
    std::vector<QSignalBlocker> m_blockers;
};
