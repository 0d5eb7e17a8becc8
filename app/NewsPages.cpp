#include "app/NewsPages.h"

namespace {
INewsPages* s_pPages = nullptr;
}

void SetNewsPages(INewsPages* pPages)
{
    s_pPages = pPages;
}

INewsPages* GetNewsPages()
{
    return s_pPages;
}
