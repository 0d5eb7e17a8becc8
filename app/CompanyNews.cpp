#include "app/CompanyNews.h"

namespace {
PFN_CHOOSE_COMPANY s_pfnChoose = nullptr;
}

void RegisterCompanyChooser(PFN_CHOOSE_COMPANY pfnChoose)
{
    s_pfnChoose = pfnChoose;
}

PFN_CHOOSE_COMPANY GetCompanyChooser()
{
    return s_pfnChoose;
}
