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

struct SutunBilgisi {
    SutunTipi tip = SutunTipi::Bilinmiyor;
    int uzunluk = 0; // declared length of a text column, 0 when unlimited
};

// Reads a SQL Server type name as declared in a schema ("decimal(18,4)", "char(20)").
SutunBilgisi BildirilenTiptenSutun(const QString &bildirilenTip);

// Fixed-length character columns are what ADO reports as type 129 (adChar).
inline bool SabitUzunlukluMu(SutunTipi tip) { return tip == SutunTipi::SabitMetin; }
