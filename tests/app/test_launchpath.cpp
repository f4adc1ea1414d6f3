// The refused launch modes never read a password from the command line, even
// when the start-up sequence is bypassed and the mode handed on directly.
#include "app/mailapplication.h"
#include "handover/launchmode.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <cstdio>

namespace {

class ProbeApplication : public MailApplication
{
public:
    using MailApplication::MailApplication;
    bool apply(LaunchMode mode) { return applyLaunchParameters(mode); }
};

int failures = 0;

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "FAIL: %s\n", what);
        ++failures;
    }
}

} // namespace

int main(int argc, char **argv)
{
    // A host, a user and a password where an old start-up path would have
    // taken them from.
    char host[] = "mail.example.com";
    char user[] = "admin";
    char password[] = "secret-on-the-command-line";
    char *arguments[] = {argv[0], host, user, password, nullptr};
    int count = 4;
    (void)argc;
    ProbeApplication application(count, arguments);
    for (LaunchMode mode : {LaunchMode::NoArgument, LaunchMode::Unknown}) {
        UtKontainer::setText(UtKey::Password, QString());
        check(!application.apply(mode), "a refused mode is not accepted");
        check(UtKontainer::getText(UtKey::Password).isEmpty(), "no password from the arguments");
        check(UtKontainer::getText(UtKey::Host).isEmpty(), "no host from the arguments");
    }
    std::printf("%s\n", failures == 0 ? "PASS" : "FAIL");
    return failures == 0 ? 0 : 1;
}
