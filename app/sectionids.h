#pragma once

// The section ids live with the form framework so that page folders can name
// the sections they register for.
#include "forms/sectionids.h"
