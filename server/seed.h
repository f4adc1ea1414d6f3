// The demo installation a fresh data folder starts with.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

namespace postvane::devserver {

class ServerContext;

// Fills every table of a freshly created database.
void seedDatabase(ServerContext &server);
// Applies the start options that touch stored data: version, OS code, start
// time, the large generated domain and the pre-filled log.
void applyStartOptions(ServerContext &server);

// Inserts one row given as column/text pairs; texts are converted by column type.
bool insertSeedRow(ServerContext &server, const std::string &table,
                   std::initializer_list<std::pair<const char *, std::string>> values);

} // namespace postvane::devserver
