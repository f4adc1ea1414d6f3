// Runs a program with arguments, standard input and extra environment, and
// collects its exit status and output.
#ifndef TESTS_TOOLS_RUN_PROCESS_H
#define TESTS_TOOLS_RUN_PROCESS_H

#include <string>
#include <vector>

struct ProcessOutcome
{
    int exit_status = -1; // -1 when it did not exit normally
    std::string out;
    std::string err;
};

// With input_is_terminal, standard input is a pseudo-terminal that delivers
// input as typed lines, then end of input (Ctrl-D).
ProcessOutcome run_process(const std::string &program, const std::vector<std::string> &arguments,
                           const std::string &input = {},
                           const std::vector<std::string> &environment = {},
                           bool input_is_terminal = false);

#endif // TESTS_TOOLS_RUN_PROCESS_H
