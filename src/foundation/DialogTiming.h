// The pause some data dialogs make before they show their content: one second in the program,
// none in tests.
#pragma once

class DialogTiming
{
public:
    static int openWaitMs();
    static void setOpenWaitMs(int ms);
};
