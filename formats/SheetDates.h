#pragma once
// Dates and times of the spreadsheets as the table holds them: "jj/mm/aaaa"
// and "hh:mm:ss".

#include <string>
#include <string_view>

// A day count from 1970-01-01 as "dd/mm/yyyy".
void AppendDate(std::string& out, long long daysFrom1970);
// Seconds of a day as "hh:mm:ss".
void AppendTime(std::string& out, long long seconds);
// An Excel serial date (days from 1899-12-30, or from 1904-01-01 in the 1904
// system, the fraction being the time of day): its date, or for a serial
// below 1, its time. False for a serial out of the years 1900 to 9999.
bool AppendSerialDate(std::string& out, double serial, bool system1904, bool timeOnly);
// An ISO 8601 date ("2024-03-15", "2024-03-15T10:30:00") as "15/03/2024";
// false when it is not one.
bool AppendIsoDate(std::string& out, std::string_view iso);
// An ISO 8601 duration of a time of day ("PT10H30M00S") as "10:30:00".
bool AppendIsoTime(std::string& out, std::string_view iso);
