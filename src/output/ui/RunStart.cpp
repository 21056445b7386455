#include "output/ui/RunStart.h"

#include "output/ui/OutputCheckQuestion.h"

bool RunStart::mayBegin(const RunPlan &plan, int threads)
{
    // Cards that would come out wrong.
    return OutputCheckQuestion::goOn(plan, threads);
}
