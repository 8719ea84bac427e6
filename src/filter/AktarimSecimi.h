#pragma once

#include <array>

// The export choices of the filter screen: set by the query builder from the last eleven
// criteria rows, read by the export. All false when the screen opens.
struct AktarimSecimi {
    bool Satis_Dahil = false;              // sale price columns wanted
    bool Alis_Dahil = false;               // purchase price columns wanted
    std::array<bool, 11> Fiyat_Secimi{};   // price levels 1..10 (0 unused)
};
