#pragma once
// The framework's debug output: texts go to an exchangeable output, which discards them unless a
// program installs its own.
class IDebugOut
{
public:
    virtual ~IDebugOut() = default;
    virtual void Output(const char* pszText) = 0;
};

class CDefaultOut : public IDebugOut
{
public:
    void Output(const char*) override {}
};

class CTBDebug
{
public:
    CTBDebug() : m_pOut(new CDefaultOut) {}
    ~CTBDebug() { delete m_pOut; }
    CTBDebug(const CTBDebug&) = delete;
    CTBDebug& operator=(const CTBDebug&) = delete;

    // Takes ownership; null goes back to discarding.
    void SetOutput(IDebugOut* pOut)
    {
        delete m_pOut;
        m_pOut = pOut ? pOut : new CDefaultOut;
    }
    void Output(const char* pszText) { m_pOut->Output(pszText ? pszText : ""); }

private:
    IDebugOut* m_pOut;      // owned, never null
};

// The one debug output of the process.
CTBDebug& GetTBDebug();
