#pragma once
// Inside the date picker (DateTimePickClass.cpp): the fields of a display format, their texts and
// ranges, and the Gregorian calendar they step through.
#include <string>
#include <vector>
#include "platform/win/Records.h"
#include "platform/win/WinTypes.h"

namespace TbDateFields {
enum FieldKind { FIELD_TEXT, FIELD_DAY, FIELD_WEEKDAY, FIELD_MONTH, FIELD_YEAR, FIELD_HOUR, FIELD_MINUTE,
                 FIELD_SECOND, FIELD_AMPM };

// One piece of the format: a field with its letter count, or text shown as written.
struct TbDateField {
    FieldKind kind = FIELD_TEXT;
    int nLetters = 0;
    std::string strText;        // FIELD_TEXT only
    char chLetter = 0;          // 'h' or 'H' for hours
};

const int MIN_YEAR = 1601;
const int MAX_YEAR = 9999;

int DaysInMonth(int nYear, int nMonth);
// The weekday worked out from the date (0 for Sunday).
void SetDayOfWeek(SYSTEMTIME& st);
// A real date of the picker's years and a time of day.
bool IsValidTime(const SYSTEMTIME& st);
SYSTEMTIME LocalNow();

// The format's pieces; null gives the default "dd/MM/yyyy".
std::vector<TbDateField> ParseFormat(LPCSTR pszFormat);
// Whether the user can choose and change the field (not text, not the weekday).
bool IsEditable(FieldKind kind);
std::string FieldText(const TbDateField& field, const SYSTEMTIME& st);
// A field's value and range, for stepping and typing; WithValue puts a value into its part.
int FieldValue(const TbDateField& field, const SYSTEMTIME& st);
void FieldRange(const TbDateField& field, const SYSTEMTIME& st, int* pnMin, int* pnMax);
SYSTEMTIME WithValue(const TbDateField& field, SYSTEMTIME st, int nValue);
}  // namespace TbDateFields
