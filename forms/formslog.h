#pragma once

#include <QLoggingCategory>

// The debug channel of the form framework (trace lines such as "dialog shown").
Q_DECLARE_LOGGING_CATEGORY(lcForms)
