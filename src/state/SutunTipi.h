#pragma once

#include <QString>

// The kinds of column the system tells apart when it turns values into text and back.
enum class SutunTipi {
    Bilinmiyor,   // computed column without a declared type: judged by its value
    TamSayi,      // int, smallint, tinyint, bigint
    Ondalik,      // decimal, numeric, money, float, real
    Bit,
    Tarih,        // datetime, smalldatetime, date
    SabitMetin,   // char(n), nchar(n): ADO type 129, padded with blanks
    DegiskenMetin // varchar(n), nvarchar(n), text
};

// The dates a date column holds, as SQL Server declares them.
enum class TarihAraligi { DateTime, SmallDateTime, Date };

struct SutunBilgisi {
    SutunTipi tip = SutunTipi::Bilinmiyor;
    int uzunluk = 0; // declared length of a text column, 0 when unlimited
    // Declared ranges, 0 where the declaration gives none: the bytes of an integer (1 tinyint,
    // 2 smallint, 4 int, 8 bigint); the digits and decimals of decimal(p,s), numeric(p,s), money.
    int tamSayiBayti = 0;
    int basamak = 0;
    int ondalik = 0;
    TarihAraligi tarihAraligi = TarihAraligi::DateTime;
};

// Reads a SQL Server type name as declared in a schema ("decimal(18,4)", "char(20)").
SutunBilgisi BildirilenTiptenSutun(const QString &bildirilenTip);
// The declared type written back ("tinyint", "decimal(18,4)", "nvarchar(30)"), for messages.
QString SutunTipiAdi(const SutunBilgisi &sutun);

// Fixed-length character columns are what ADO reports as type 129 (adChar).
inline bool SabitUzunlukluMu(SutunTipi tip) { return tip == SutunTipi::SabitMetin; }
