#include "profile/ProfileState.h"

ProfileState &ProfileState::instance()
{
    static ProfileState state;
    return state;
}
