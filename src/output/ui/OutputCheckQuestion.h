// The question before an export, print or mail run: what the check before output found, with Yes
// to go on and No to stop.
#pragma once

class RunPlan;

class OutputCheckQuestion
{
public:
    // True when the run may start: every card comes out right, or the user chose to go on.
    // threads: those of the run (0 every core), which the check spreads its work over.
    static bool goOn(const RunPlan &plan, int threads = 0);
};
