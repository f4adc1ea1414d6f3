#include "forms/formslog.h"

Q_LOGGING_CATEGORY(lcForms, "postdesk.forms")
