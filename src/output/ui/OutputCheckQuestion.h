// The question before an export, print or mail run: what the check before output found, with the
// choice to go on, to stop, and, when some cards would be blank, to leave those out.
#pragma once

#include <QString>
#include <QStringList>

class RunPlan;

class OutputCheckQuestion
{
public:
    enum class Answer { GoOn, LeaveOutBlank, Stop };

    // Asks when some cards would come out wrong ("Some cards would not come out right: ..."), the
    // whole report going to the log; GoOn without asking when every card comes out right.
    // threads: those of the run (0 every core), which the check spreads its work over. scale:
    // what the run is about to do when that is more than its window shows ("This sends 3,000
    // messages ..."): then it is asked whatever the check finds. mail: the run sends mail, so the
    // answers say Send. Stop (or Cancel) is the default.
    static Answer ask(const RunPlan &plan, int threads = 0, const QString &scale = {}, bool mail = false);
    // The answers, in order: go on (or send), stop (or cancel) and, with blank cards to leave
    // out, going on (or sending) without them.
    static QStringList answers(bool send, bool blankCards);
};
