// The open dialog's filter list as Qt filter strings, in dialog order.
#pragma once

#include <QStringList>

QStringList OpenDialogFilters();
