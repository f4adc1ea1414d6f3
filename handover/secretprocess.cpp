#include "handover/secretprocess.h"

#include <cstdlib>
#include <cstring>
#include <sys/prctl.h>
#include <sys/resource.h>

extern char **environ;

bool protectSecretProcess()
{
    const rlimit none{0, 0};
    const bool limited = ::setrlimit(RLIMIT_CORE, &none) == 0;
    const bool undumpable = ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0;
    return limited && undumpable;
}

void eraseEnvironmentVariable(const char *name)
{
    const size_t length = std::strlen(name);
    for (char **entry = environ; entry && *entry; ++entry) {
        if (std::strncmp(*entry, name, length) == 0 && (*entry)[length] == '=') {
            char *value = *entry + length + 1;
            std::memset(value, 0, std::strlen(value));
        }
    }
    ::unsetenv(name);
}
