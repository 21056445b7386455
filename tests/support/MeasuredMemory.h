// Whether a test may weigh memory: under AddressSanitizer or ThreadSanitizer the allocator is the
// sanitizer's, which holds freed blocks back and does not answer mallinfo, so the figures say
// nothing of the program's own use. Such tests keep their other checks there.
#pragma once

namespace testsupport
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool MemoryIsMeasured = false;
#else
inline constexpr bool MemoryIsMeasured = true;
#endif
} // namespace testsupport
