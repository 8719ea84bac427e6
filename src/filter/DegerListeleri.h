#pragma once

#include <QString>
#include <optional>

class FiltreTablosu;

// The value lists behind the criteria grid's drop-downs, read from the company database on
// `Degiskenler::YardimciRS`. Each returns its option-list text (every item followed by "|"),
// or nothing when its statement failed (already reported to the operator).
std::optional<QString> KdvOraniListesi();
std::optional<QString> KdvGrubuListesi();
// n = 1..5: O_Kod, O_Kod2, O_Kod3, Uretici_Firma, Ana_Birim.
std::optional<QString> KartAlaniListesi(int n);
std::optional<QString> GrupKodListesi();

// Fills the option lists of the rows the company database supplies. A row whose list
// cannot be read keeps the list it had, so the screen stays usable.
void SecenekleriDoldur(FiltreTablosu &FiltreGrd);
