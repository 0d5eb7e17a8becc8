#pragma once
// The market tables register their makers with the application (one call at start-up, before
// the standing set is built).
void RegisterMarketTables();
