// The country and role tables: filled from the server's "CT" and "RO" replies as the message
// source fans them out, read through their classes, and made and deleted with the other tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "CodeTablesSupport.h"
#include "link/AppServices.h"
#include "link/MessageSource.h"
#include "refdata/ServerCodeTables.h"
#include "refdata/ZorvatTypes.h"

namespace {

// The application as the tables see it: only the busy flag, logged.
class CBusyApp : public IAppServices
{
public:
    ICommLink* GetLink() override { return nullptr; }
    IInfoWindow* GetInfoWindow() override { return nullptr; }
    ICompactQuoteExpander* GetQuoteExpander() override { return nullptr; }
    void BringInfoWindowToTop(int) override {}
    LPCSTR GetLanguageCode() const override { return "0"; }
    void SetBusy(BOOL bBusy) override { m_log += bBusy ? "busy;" : "idle;"; }
    void OnLoginReply(CServerMessage*) override {}
    void Login() override {}
    void OnMessageDR(CServerMessage*) override {}
    void OnConnectionState(int) override {}
    void OnCommDestroyed() override {}

    std::string Take() { return std::exchange(m_log, std::string()); }
private:
    std::string m_log;
};

// Routes a received line to its fan-out, as the dispatcher does.
void FireLine(CZorvatMessageSource& source, const char* pszLine)
{
    CServerMessage msg(pszLine, 1);
    if (msg.GetType() == MSG_EN)
        source.FireEN(&msg, -1);
    else if (msg.GetType() == MESSAGE_TYPE_DATA_ROW)
        source.FireRawLine(&msg, -1);
    else
        source.FireType(msg.GetType(), &msg, -1);
}

void FireLines(CZorvatMessageSource& source, std::initializer_list<const char*> lines)
{
    for (const char* pszLine : lines)
        FireLine(source, pszLine);
}

// Every country as "code name", by code, so that a failure shows the whole table.
std::string Countries()
{
    if (CCountryName::Get() == nullptr)
        return "(none)";
    std::vector<std::pair<int, std::string>> rows;
    POSITION pos = CCountryName::Get()->GetStartPosition();
    while (pos != nullptr) {
        int nCode = 0;
        tagCountryName rec;
        CCountryName::Get()->GetNextAssoc(pos, nCode, rec);
        EXPECT_EQ(nCode, rec.code);
        rows.emplace_back(nCode, std::string(rec.name));
    }
    std::sort(rows.begin(), rows.end());
    std::string s;
    for (const auto& [nCode, strName] : rows)
        s += (s.empty() ? "" : "|") + std::to_string(nCode) + " " + strName;
    return s;
}

// A message source with the tables registered, for the length of one test.
class ServerCodeTables : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterMessageCodes(g_messageCodePairs);
        m_types.CreateTables();
    }

    CBusyApp m_app;
    CZorvatMessageSource m_source;
    CCodeTextModule m_module;
    CZorvatTypes m_types{&m_source, &m_app};
};

}  // namespace

TEST(ServerCodeTablesBefore, ReadersAnswerAsForMissingCodesWhileNoTableExists)
{
    RegisterMessageCodes(g_messageCodePairs);
    CZorvatMessageSource source;
    FireLines(source, {"$CT|1|XC||0", "965|Kuwait", "$EN|1|XC|0"});     // reaches nobody
    EXPECT_EQ(nullptr, CCountryName::Get());
    EXPECT_STREQ("965", CCountryName::GetText(965));
    EXPECT_EQ(-1, CCountryName::GetCodeByText("Kuwait"));
    EXPECT_EQ(nullptr, CRoleName::Get());
    EXPECT_STREQ("ADM", CRoleName::GetText("ADM"));
    EXPECT_STREQ("", CRoleName::GetText(nullptr));
    EXPECT_STREQ("", CRoleName::GetCodeByText("Administrator"));
}

TEST_F(ServerCodeTables, CountryReplyFillsTheTableAndASecondOneAddsAndReplaces)
{
    EXPECT_EQ("", Countries());
    FireLines(m_source, {"$CT|1|XC||0", "965|Kuwait", "966|Saudi Arabia", "1|United States", "$EN|1|XC|0"});
    EXPECT_EQ("busy;idle;", m_app.Take());              // the wait cursor while the rows come in
    EXPECT_EQ("1 United States|965 Kuwait|966 Saudi Arabia", Countries());
    EXPECT_STREQ("Kuwait", CCountryName::GetText(965));
    EXPECT_STREQ("44", CCountryName::GetText(44));
    EXPECT_EQ(966, CCountryName::GetCodeByText("Saudi Arabia"));
    EXPECT_EQ(-1, CCountryName::GetCodeByText("saudi arabia"));  // exact bytes only
    EXPECT_EQ(-1, CCountryName::GetCodeByText(nullptr));

    FireLine(m_source, "44|Stray row");                  // outside a reply: nobody's
    FireLines(m_source, {"$CT|1|XC||0", "966|KSA", "971|Emirates", "$EN|1|XC|0", "972|After the end"});
    EXPECT_EQ("1 United States|965 Kuwait|966 KSA|971 Emirates", Countries());
    EXPECT_EQ(966, CCountryName::GetCodeByText("KSA"));
    EXPECT_EQ(-1, CCountryName::GetCodeByText("Saudi Arabia"));
    EXPECT_FALSE(CCountryName::Get()->GetSinkRecord()->m_bReceiving);
    EXPECT_FALSE(m_source.IsRestricted());
}

TEST_F(ServerCodeTables, RoleReplyFillsOnlyTheRoleTable)
{
    FireLines(m_source, {"$RO|1|XC||0", "ADM|Administrator", "TRD|Trader", "965|Numeric code", "$EN|1|XC|0"});
    EXPECT_EQ("busy;idle;", m_app.Take());
    ASSERT_NE(nullptr, CRoleName::Get());
    EXPECT_EQ(3, CRoleName::Get()->GetCount());
    EXPECT_STREQ("Administrator", CRoleName::GetText("ADM"));
    EXPECT_STREQ("Numeric code", CRoleName::GetText("965"));
    EXPECT_STREQ("adm", CRoleName::GetText("adm"));      // a code it lacks shows as itself
    EXPECT_STREQ("TRD", CRoleName::GetCodeByText("Trader"));
    EXPECT_STREQ("", CRoleName::GetCodeByText("Broker"));
    EXPECT_EQ("", Countries());                          // the roles' rows are not countries

    FireLines(m_source, {"$CT|1|XC||0", "965|Kuwait", "$EN|1|XC|0"});
    EXPECT_STREQ("Numeric code", CRoleName::GetText("965"));
    EXPECT_EQ(3, CRoleName::Get()->GetCount());
    FireLines(m_source, {"$RO|1|XC||0", "TRD|Dealer", "$EN|1|XC|0"});
    EXPECT_STREQ("Dealer", CRoleName::GetText("TRD"));
    EXPECT_STREQ("", CRoleName::GetCodeByText("Trader"));
}

TEST_F(ServerCodeTables, RowsWithABadCodeOrNoNameAreDropped)
{
    FireLines(m_source, {"$CT|1|XC||0", "x1|Letters", "12abc|Trailing letters", "99999999999|Past an int",
                         " 5|Leading blank", "|No code", "7", "+8|Sign", "8|", "9|First", "9|Second",
                         "2147483647|Largest", "$EN|1|XC|0"});
    EXPECT_EQ("8 |9 Second|2147483647 Largest", Countries());   // an empty name is a name
    FireLines(m_source, {"$RO|1|XC||0", "|No code", "R1", "R2|Kept", "$EN|1|XC|0"});
    ASSERT_NE(nullptr, CRoleName::Get());
    EXPECT_EQ(1, CRoleName::Get()->GetCount());
    EXPECT_STREQ("Kept", CRoleName::GetText("R2"));
    EXPECT_STREQ("R1", CRoleName::GetText("R1"));
}

TEST_F(ServerCodeTables, RowsOfAnErrorReplyOrAnotherReplyAreIgnored)
{
    FireLines(m_source, {"~CT|1|XC||305", "965|Kuwait", "$EN|1|XC|0"});     // refused: no stream
    FireLines(m_source, {"$EM|1|XC||0", "966|Error text", "$EN|1|XC|0"});   // another sink's reply
    EXPECT_EQ("", Countries());
    EXPECT_EQ("", m_app.Take());            // and the busy flag is not ours to clear
    EXPECT_EQ(0, CRoleName::Get()->GetCount());
}

TEST_F(ServerCodeTables, HolderRegistersTheTablesOnceAndUnregistersThemWithTheirDeletion)
{
    ASSERT_NE(nullptr, CCountryName::Get());
    ASSERT_NE(nullptr, CRoleName::Get());
    EXPECT_EQ(2, m_source.GetSinkCount());
    EXPECT_GE(CCountryName::Get()->GetSinkId(), 0);
    EXPECT_GE(CRoleName::Get()->GetSinkId(), 0);
    const CCountryName* pCountries = CCountryName::Get();
    m_types.CreateTables();                 // finds them there
    EXPECT_EQ(pCountries, CCountryName::Get());
    EXPECT_EQ(2, m_source.GetSinkCount());

    {
        CZorvatTypes holder;
        holder.CreateTables();
    }                                       // any holder deletes every table
    EXPECT_EQ(nullptr, CCountryName::Get());
    EXPECT_EQ(nullptr, CRoleName::Get());
    EXPECT_EQ(0, m_source.GetSinkCount());
    FireLines(m_source, {"$CT|1|XC||0", "965|Kuwait", "$EN|1|XC|0"});
    EXPECT_STREQ("965", CCountryName::GetText(965));

    // A source that goes first lets the tables go; they are deleted later without it.
    auto pSource = std::make_unique<CZorvatMessageSource>();
    auto pTypes = std::make_unique<CZorvatTypes>(pSource.get(), &m_app);
    pTypes->CreateTables();
    FireLines(*pSource, {"$CT|1|XC||0", "965|Kuwait"});
    pSource.reset();
    EXPECT_EQ(-1, CCountryName::Get()->GetSinkId());
    EXPECT_STREQ("Kuwait", CCountryName::GetText(965));
    pTypes.reset();
    EXPECT_EQ(nullptr, CCountryName::Get());
}
