#pragma once

#include <QString>

class FiltreTablosu;
struct AktarimSecimi;

// The stock-list statement built from the criteria grid.

// The fixed start of the statement; it already has its WHERE (note the final space).
extern const QString ListeTemelSQL;

// Builds `Degiskenler::ListeSQL` from the grid (sets `WhereVar`), records the export choices
// in `secim` and puts the statement on the clipboard. A value that cannot go into the
// statement (text in a numeric row) is reported with the row's caption; the result is false
// then, and ListeSQL, WhereVar, `secim` and the clipboard keep what the last accepted
// statement left in them.
bool SorguOlustur(const FiltreTablosu &FiltreGrd, AktarimSecimi &secim);

// The condition pieces, each starting with " AND " (or empty).
QString AralikKosulu(const FiltreTablosu &FiltreGrd, int satir, const QString &alan, const QString &ayirac,
                     bool *gecerli = nullptr);
QString EsitlikKosulu(const FiltreTablosu &FiltreGrd, int satir, const QString &alan, const QString &ayirac,
                      bool *gecerli = nullptr);
QString TarihAraligiKosulu(const FiltreTablosu &FiltreGrd, int satir, const QString &alan);
qint16 BarkodTipiKodu(const QString &ad);

// A typed dd/mm/yyyy date (any one separator) as mm/dd/yyyy, or empty when it is no date.
QString SqlTarihi(const QString &tarih);
