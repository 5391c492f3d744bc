#include "measure/RotationMeasurement.h"
#include <cstdio>

std::string newMeasurementName(int day, const std::string& monthAbbrev, int year, int hour,
                               int minute, int second) {
    char tail[32];
    std::snprintf(tail, sizeof tail, "%02d-%02d%02d%02d.mrot", year % 100, hour % 100, minute % 100,
                  second % 100);
    return "Misura-" + std::to_string(day) + monthAbbrev + tail;
}

std::string monthAbbrev(int month, int langOffset) {
    static const char* const kIt[] = {"gen", "feb", "mar", "apr", "mag", "giu",
                                      "lug", "ago", "set", "ott", "nov", "dic"};
    static const char* const kEn[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                      "jul", "aug", "sep", "oct", "nov", "dec"};
    const int i = (month >= 1 && month <= 12 ? month : 1) - 1;
    return (langOffset == 200 ? kEn : kIt)[i];
}
