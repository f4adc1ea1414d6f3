#include "handover/launchmode.h"

LaunchMode launchModeFromArguments(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return LaunchMode::NoArgument;
    if (arguments.first() == QLatin1String("mosaic_key"))
        return LaunchMode::HandOver;
    if (arguments.first() == QLatin1String("tundra_key"))
        return LaunchMode::Login;
    return LaunchMode::Unknown;
}

bool isAcceptedLaunchMode(LaunchMode mode)
{
    return mode == LaunchMode::HandOver || mode == LaunchMode::Login;
}
