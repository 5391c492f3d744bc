#pragma once
#include <string>
#include <string_view>

namespace measure {

// What the labels beside a measurement show of one 95-column rotation row: its number
// (LabContRighe), its time as the row writes it (LabTmpMis) and its speed with the unit in
// the language (LabRot: "1.500 giri/min", "1,500 rpm"; empty where the row has none).
struct RowLabels {
    std::string number;
    std::string time;
    std::string speed;
};

RowLabels rowLabels(std::string_view rotationRow, int langOffset);

} // namespace measure
