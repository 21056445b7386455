// Process-wide values of the personal details, kept together so tests can reset them. GUI thread
// only: the dialogs and the placement run there.
#pragma once

#include <QtGlobal>

struct ProfileState {
    // 1 once a personal-details dialog ended with OK; 0 at start and for a new design. While it is
    // 0 the front and back records are not placed.
    qint8 Fill_User_Profile = 0;

    static ProfileState &instance();
    void reset() { *this = ProfileState(); }
};
