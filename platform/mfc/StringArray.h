#pragma once
// An array of texts; the server message derives from it to hold its fields.
#include "platform/mfc/Array.h"
#include "platform/mfc/String.h"

class CStringArray : public CArray<CString, const CString&>
{
};
