// A window's source that keeps designs of its own between calls (wrong); a local copy is fine.
#include "model/CardDesign.h"

static CardDesign g_lastShown;

namespace
{
DesignSettings remembered;
} // namespace

void show(const CardDesign &design)
{
    CardDesign copy = design;
}
