// The question before an export, print or mail run: what the check before output found, with Yes
// to go on and No to stop.
#pragma once

#include <QString>

class RunPlan;

class OutputCheckQuestion
{
public:
    // True when the run may start: every card comes out right, or the user chose to go on.
    // threads: those of the run (0 every core), which the check spreads its work over.
    static bool goOn(const RunPlan &plan, int threads = 0);

    // The cards that would come out wrong, as the question lists them ("Some cards would not come
    // out right: ..."); empty when every card comes out right. The whole report goes to the log.
    static QString problems(const RunPlan &plan, int threads = 0);
};
