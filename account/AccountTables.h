#pragma once
// The account tables register their makers with the application (one call at start-up, beside
// the market tables' registration, before the standing set is built).
void RegisterAccountTables();
