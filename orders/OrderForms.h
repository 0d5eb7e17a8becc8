#pragma once
// The order forms register their makers with the application (one call at start-up, beside the
// market tables' registration).
void RegisterOrderForms();
