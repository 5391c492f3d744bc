#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace measure {

// The graph's time bases: the coarse bar's 21 positions and the fine bar around its centre.
struct CoarseTimeBase {
    int64_t us; // microseconds per division
    const char* text;
};

inline constexpr std::array<CoarseTimeBase, 21> kCoarseTimeBases{{
    {1000, "1 ms/div"},     {2000, "2 ms/div"},     {3000, "3 ms/div"},     {4000, "4 ms/div"},
    {5000, "5 ms/div"},     {10000, "10 ms/div"},   {20000, "20 ms/div"},   {30000, "30 ms/div"},
    {40000, "40 ms/div"},   {50000, "50 ms/div"},   {100000, "100 ms/div"}, {200000, "200 ms/div"},
    {300000, "300 ms/div"}, {400000, "400 ms/div"}, {500000, "500 ms/div"}, {1000000, "1 s/div"},
    {5000000, "5 s/div"},   {10000000, "10 s/div"}, {20000000, "20 s/div"}, {30000000, "30 s/div"},
    {40000000, "40 s/div"},
}};
inline constexpr int kLastCoarse = 20;
inline constexpr int kFineCentre = 200;
inline constexpr int kFineMax = 400;
// The last coarse position at which the sensor pulse is drawn (50 ms/div).
inline constexpr int kLastPulseCoarse = 9;

// The coarse position held within 0-20.
int clampCoarse(int coarse);
// Coarse value plus 4 us per step of the fine bar away from its centre.
int64_t fineTimeBase(int coarse, int fine);
// A time base in microseconds as milliseconds per division with three decimals, in the
// language: 1800 -> "1,800 ms/div" (Italian), "1.800 ms/div" (English).
std::string fineTimeBaseText(int64_t us, int langOffset);

} // namespace measure
