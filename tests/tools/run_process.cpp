#include "run_process.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

std::string read_and_remove(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream contents;
    contents << file.rdbuf();
    ::unlink(path.c_str());
    return contents.str();
}

std::string temporary_file(const std::string &contents)
{
    char pattern[] = "/tmp/lumadb-query-io-XXXXXX";
    const int fd = ::mkstemp(pattern);
    if (fd >= 0) {
        (void)!::write(fd, contents.data(), contents.size());
        ::close(fd);
    }
    return pattern;
}

} // namespace

ProcessOutcome run_process(const std::string &program, const std::vector<std::string> &arguments,
                           const std::string &input, const std::vector<std::string> &environment,
                           bool input_is_terminal)
{
    // The terminal's line discipline holds the typed lines (and echoes them to
    // the master side, which is not read: the input is small) until the child
    // reads them; the master stays open until the child has ended.
    int terminal = -1;
    if (input_is_terminal) {
        terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (terminal < 0)
            return {};
        const std::string typed = input + "\x04";
        if (::grantpt(terminal) != 0 || ::unlockpt(terminal) != 0
            || ::write(terminal, typed.data(), typed.size()) != ssize_t(typed.size())) {
            ::close(terminal);
            return {};
        }
    }

    // Output goes to files, so a chatty child never blocks on a full pipe.
    const std::string in_path = temporary_file(input_is_terminal ? std::string() : input);
    const std::string out_path = temporary_file({});
    const std::string err_path = temporary_file({});

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (terminal >= 0) {
        posix_spawn_file_actions_addopen(&actions, 0, ::ptsname(terminal), O_RDWR | O_NOCTTY, 0);
    } else {
        posix_spawn_file_actions_addopen(&actions, 0, in_path.c_str(), O_RDONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_TRUNC, 0);

    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);

    // The child's environment: ours, with the given NAME=value entries first
    // (and ours of the same names left out).
    std::vector<std::string> entries = environment;
    for (char **entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        bool overridden = false;
        for (const std::string &given : environment)
            overridden = overridden || given.substr(0, given.find('=')) == name;
        if (!overridden)
            entries.push_back(text);
    }
    std::vector<char *> envp;
    for (std::string &entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    ProcessOutcome outcome;
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0) { }
        if (WIFEXITED(status))
            outcome.exit_status = WEXITSTATUS(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    if (terminal >= 0)
        ::close(terminal);
    ::unlink(in_path.c_str());
    outcome.out = read_and_remove(out_path);
    outcome.err = read_and_remove(err_path);
    return outcome;
}
