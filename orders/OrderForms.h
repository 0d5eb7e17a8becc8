#pragma once
// The order forms register their makers with the application (one call at start-up, beside the
// market tables' registration).
#include <vector>
#include "platform/win/WinTypes.h"

void RegisterOrderForms();
// The ids of the forms the orders layer makes, in the order they are registered.
std::vector<UINT> GetOrderFormIds();
