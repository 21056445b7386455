// Process-wide values: a second outline beside the pages' (wrong), and a name referring to one.
#pragma once

struct ModelGlobals {
    std::atomic<int> Card_Shape{0};
};
extern const QString &Card_Shape_Code;
extern std::atomic<int> &Card_Shape;
