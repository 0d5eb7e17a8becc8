#pragma once
// The market model's records as the tables the shapes read. A table name is a kind and its
// arguments joined by ':' ("book:2:101", "holdings:trader:0"); the shapes fill the arguments
// from the request and the user, so one reply asks for exactly the rows it sends. Names the
// model does not know fall through to the reference tables of data/reference/.
//
//   symbols                  every stock and US symbol of the model's data files
//   quotes:M  quote:S        the quotes of market M (0: all), the quote of symbol S
//   book:M:S  oddlots:M:S  trades:M:S   S "": every symbol of market M
//   indices  forwards  chain:S  state:M  lookup:TEXT
//   movers:M:KIND:COUNT      KIND 0 gainers, 1 losers, 2 most active, "" the three
//   story:ID                 the story of that id, in each language it has
//   news:LANG:S              LANG -1 every language; S "" every story
//   announcements            the KSE announcements, a stock's stories of both languages as one
//   daily:M:S:AFTER:DAYS  indexdays:CODE:AFTER:DAYS     AFTER a date, "" from the first
//   financials:ID  profile:ID   a KSE company's figures and description: label, value
//   model:FILE               a data file of the model as it stands (events, rates, ...)
//   errors                   the reference error texts and the model's refusals
//   orders, fills, transactions, realized, performance :USER:M:FROM:TO
//   cash:USER  holdings:USER:M  contracts:USER  margin:USER   (holdings: option positions too)
//   fwdorders:USER  fwdfills:USER  fwdtrades   the forward board's orders, fills and the day's trades
// Dates in arguments are YYYYMMDD or the server's form; an empty one leaves the range open.
#include <map>
#include <string>
#include <vector>
#include "tools/testserver/Records.h"
#include "tools/testserver/model/Simulator.h"

class CModelTables : public IRecordSource
{
public:
    CModelTables(CSimulator& sim, const IRecordSource& reference) : m_sim(sim), m_reference(reference) {}
    // The tables made once from the model's data: symbols, errors.
    void Build();
    const std::vector<CRecord>* FindTable(const std::string& strName) const override;
private:
    std::vector<CRecord> Make(const std::string& strKind, const std::vector<std::string>& args) const;
    std::vector<CRecord> Account(const std::string& strKind, const std::vector<std::string>& args) const;
    CRecord ConversionForm(const std::vector<CSimRecord>& cash) const;
    std::vector<CRecord> MarketStates() const;
    CRecord SessionWords() const;

    CSimulator& m_sim;
    const IRecordSource& m_reference;
    std::map<std::string, std::vector<CRecord>> m_fixed;
    // The rows of the last table asked for: the writer asks once per reply and is done with
    // them before it asks again.
    mutable std::vector<CRecord> m_made;
};
