// The console's entry: constructs the application from the command line and
// runs its start-up sequence; the result is the exit status.
#include "app/mailapplication.h"

int main(int argc, char **argv)
{
    MailApplication application(argc, argv);
    return application.run();
}
