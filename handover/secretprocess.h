#pragma once

// Both ends of the hand-over hold the administrator's password in memory: a
// core dump of either would write it to disk, and a process that others may
// attach to would give it away. Call first thing in main().
//
// Switches core dumps off for good (soft and hard limit 0) and marks the
// process not dumpable (which also keeps other processes of the same user
// from attaching to it). Returns false when the system refused either step.
bool protectSecretProcess();

// Removes the variable from the environment and overwrites the original
// "NAME=value" text in place, which /proc/<pid>/environ would otherwise keep
// showing after unsetenv().
void eraseEnvironmentVariable(const char *name);
