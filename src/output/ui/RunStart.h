// The one road by which an export, print or mail run starts: the questions asked before the first
// card is made, each of which may stop the run.
#pragma once

class RunPlan;

class RunStart
{
public:
    // True when the run may start. threads: those of the run (0 every core).
    static bool mayBegin(const RunPlan &plan, int threads = 0);
};
