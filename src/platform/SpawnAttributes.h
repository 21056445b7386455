// The start of a child under posix_spawn: no blocked signals and SIGPIPE at its default, whatever
// the starting thread blocks or ignores, so a child never inherits our own handling of pipes.
#pragma once

#include <signal.h>
#include <spawn.h>

class SpawnAttributes
{
public:
    SpawnAttributes()
    {
        posix_spawnattr_init(&m_attr);
        sigset_t none, pipeOnly;
        sigemptyset(&none);
        sigemptyset(&pipeOnly);
        sigaddset(&pipeOnly, SIGPIPE);
        posix_spawnattr_setsigmask(&m_attr, &none);
        posix_spawnattr_setsigdefault(&m_attr, &pipeOnly);
        posix_spawnattr_setflags(&m_attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&m_attr); }
    SpawnAttributes(const SpawnAttributes &) = delete;
    SpawnAttributes &operator=(const SpawnAttributes &) = delete;

    const posix_spawnattr_t *get() const { return &m_attr; }

private:
    posix_spawnattr_t m_attr;
};
