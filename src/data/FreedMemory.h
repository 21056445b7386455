// Hands memory freed by a large list back to the system: the allocator otherwise keeps the pages
// of millions of small freed strings, and the program stays as large as the list made it.
#pragma once

namespace FreedMemory
{
void release();
} // namespace FreedMemory
