#pragma once
// The code tables' test setting: a resource module whose texts are their own ids, made current
// while a CZorvatTypes holds the tables, and the display brought up once for the program.
#include "platform/win/WinTypes.h"

class CZorvatTypes;

class CCodeTextModule
{
public:
    CCodeTextModule();                  // loads codetexts_1252 and makes it the resource module
    ~CCodeTextModule();                 // restores the module before it
    CCodeTextModule(const CCodeTextModule&) = delete;
    CCodeTextModule& operator=(const CCodeTextModule&) = delete;
    HMODULE GetModule() const { return m_hModule; }

private:
    HMODULE m_hModule = nullptr;
    HINSTANCE m_hOld = nullptr;
};
