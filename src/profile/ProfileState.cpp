// Process-wide values of the personal details, kept together so tests can reset them. GUI thread
// only: the dialogs and the placement run there.
#include "profile/ProfileState.h"

ProfileState &ProfileState::instance()
{
    static ProfileState state;
    return state;
}
