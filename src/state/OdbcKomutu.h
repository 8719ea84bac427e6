#pragma once

#include "state/ArkaUc.h"

#include <memory>

class SqlServerArkaUcu;
class VeriTabaniBaglantisi;

// A SQL Server statement on ODBC's wide-character interface, through the statement handles of
// the connection's own ODBC handle: the statement goes as UTF-16, text is bound as UTF-16
// (Unicode where its column is, the database's code page elsewhere) and text columns are read
// whole as UTF-16. Qt's driver takes FreeTDS for an 8-bit driver: it would send every text in
// the code page and cut what it reads into pieces that break letters apart. Throws Hata.
std::unique_ptr<HazirKomutUcu> OdbcKomutuAc(VeriTabaniBaglantisi &baglanti, SqlServerArkaUcu &arkaUc,
                                            const QString &sql, KomutKullanimi kullanim);

// The statement with its "?" markers (outside quotes) named @P1, @P2, ... in order, and how many.
QString AdliParametreler(const QString &sql, int *sayi = nullptr);
