// Ends the process at once with a status (a cancelled start, the exit command). Tests install a
// handler that only records the status; callers return right after asking.
#pragma once

#include <functional>

class AppExit
{
public:
    using Handler = std::function<void(int status)>;

    static void exit(int status);
    static void setHandler(Handler handler); // empty: really end the process
};
