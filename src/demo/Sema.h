#pragma once

#include <QStringList>
#include <QVector>

// The back-office tables the system relies on, described once and written out for either
// backend. Types are SQL Server's names; the embedded backend keeps them as declared types,
// stores datetime as 'YYYY-MM-DD HH:MM:SS' and bit as 0/1, and gets its identities as
// INTEGER PRIMARY KEY AUTOINCREMENT and its case-insensitive texts as COLLATE NOCASE (on
// SQL Server the database's case-insensitive collation does that).

enum class SemaLehcesi { SQLite, SqlServer };

struct SutunTanimi {
    enum Bayrak : unsigned { Kimlik = 1, BosOlamaz = 2, HarfDuyarsiz = 4 };
    QString ad;
    QString tip;            // as SQL Server declares it: "nvarchar(25)", "decimal(18,4)"
    unsigned bayraklar = 0;
};

struct TabloTanimi {
    QString ad;
    QVector<SutunTanimi> sutunlar;
    QStringList anahtar;    // composite primary key; a Kimlik column is the key by itself
};

struct SemaTanimi {
    QVector<TabloTanimi> tablolar;
    QStringList ekler;      // indexes and views, written alike on both backends
};

// "Defination_DB": users, companies and their settings.
const SemaTanimi &TanimSemaTanimi();
// One company database: stock cards, VAT groups, price definitions, prices, balances.
const SemaTanimi &FirmaSemaTanimi();

// The statements that create a schema on one backend.
QStringList SemaKomutlari(const SemaTanimi &sema, SemaLehcesi lehce);
inline QStringList TanimSemasi(SemaLehcesi lehce = SemaLehcesi::SQLite) { return SemaKomutlari(TanimSemaTanimi(), lehce); }
inline QStringList FirmaSemasi(SemaLehcesi lehce = SemaLehcesi::SQLite) { return SemaKomutlari(FirmaSemaTanimi(), lehce); }

// A table of either schema by its name (case-insensitive); nullptr when there is none.
const TabloTanimi *TabloTanimiBul(const QString &tablo);
