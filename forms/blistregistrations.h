#pragma once

#include "forms/bcols.h"

#include <QList>
#include <QString>

#include <optional>

// Every list of the console with the version of its column set, in one place.
// A list hands its record to its BCols: cols.setRegistration(*BListRegistrations::find("users")).
namespace BListRegistrations {

const QList<BCols::Registration> &all();

// The record of a list, or nothing for a name no list declares.
std::optional<BCols::Registration> find(const QString &name);

} // namespace BListRegistrations
