// The console's entry: constructs the application from the command line and
// runs its start-up sequence; the result is the exit status.
#include "app/mailapplication.h"
#include "handover/secretprocess.h"

int main(int argc, char **argv)
{
    // The console will hold the administrator's password: no core dumps.
    protectSecretProcess();
    MailApplication application(argc, argv);
    return application.run();
}
