#pragma once

#include <QString>
#include <QStringView>
#include <functional>

// What the rewrite needs to know of a column a statement names.
enum class SutunTuru { Bilinmiyor, Tarih, Metin, Diger };
// The kind of column `sutun`; `tablo` is its qualifier as written (a table, an alias, or empty).
using SutunTuruBulucu = std::function<SutunTuru(QStringView tablo, QStringView sutun)>;

// The system's statements are SQL Server's. The embedded backend runs them after this one
// rewrite of exactly the constructs the system writes, never of what stands in quotes:
//  - "SELECT TOP n ..."       -> "SELECT ... LIMIT n"
//  - "=ANY(SELECT"            -> " IN (SELECT"
//  - a date column compared with 'MM/DD/YYYY' -> the stored form 'YYYY-MM-DD 00:00:00', so that
//    comparisons with stored date-times give SQL Server's results, boundaries included;
//  - a text column compared by order (<, <=, >, >=) with a quoted text, and a text column in
//    ORDER BY, get the Turkish order (`siralama`), as under the server's Turkish collation.
//    Equality keeps the column's own comparison (lookups stay exact and use their indexes).
QString SQLiteLehcesine(const QString &sql, const SutunTuruBulucu &sutunTuru, const QString &siralama);
