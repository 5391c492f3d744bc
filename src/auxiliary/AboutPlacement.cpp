#include "auxiliary/AboutPlacement.h"
#include <cmath>

namespace auxiliary {

namespace {
int halfOfWhole(double difference) {
    return static_cast<int>(std::trunc(difference)) / 2;
}
} // namespace

AboutOrigin aboutPlacement(double clientWidth, double clientHeight, double ownWidth,
                           double ownHeight) {
    return {halfOfWhole(clientHeight - ownHeight), halfOfWhole(clientWidth - ownWidth)};
}

} // namespace auxiliary
