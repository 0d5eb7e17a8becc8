#include "framework/base/TBDebug.h"

CTBDebug& GetTBDebug()
{
    static CTBDebug s_debug;
    return s_debug;
}
