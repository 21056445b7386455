// Process-wide values: a second outline beside the pages' (wrong), a name referring to one, and
// the edited side (view state, wrong here).
#pragma once

struct ModelGlobals {
    std::atomic<int> Card_Shape{0};
    std::atomic<int> Card_Front_Or_Back{0};
};
extern const QString &Card_Shape_Code;
extern std::atomic<int> &Card_Shape;
