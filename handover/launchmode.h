#pragma once

#include <QStringList>

// How the console was started, from its first command-line argument.
enum class LaunchMode {
    HandOver = 1, // "mosaic_key": the launcher hands over a connection record
    Login = 2, // "tundra_key": the connection dialog asks for the server
    NoArgument = 3, // refused
    Unknown = 4, // refused
};

// The launch mode for the arguments after the program name.
LaunchMode launchModeFromArguments(const QStringList &arguments);

// Whether the console may run in this mode (only the two launcher modes).
bool isAcceptedLaunchMode(LaunchMode mode);

// Exit statuses of a refused start.
inline constexpr int kExitRefusedLaunchMode = 10;
inline constexpr int kExitHandOverFailed = 11;
