#pragma once

#include "state/SutunTipi.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>
#include <QVector>
#include <memory>

class HazirKomutUcu;
class QSqlError;
class QSqlQuery;
class QSqlRecord;
class VeriTabaniBaglantisi;

// Olagan: the database's ordinary transaction. Yazma: a transaction whose lookups and writes
// are one step against a second writer (a lookup then names the table with KilitIpucu()).
enum class IslemTuru { Olagan, Yazma };
enum class KayitNoktasiAdimi { Kur, Onayla, GeriDon };
// A prepared statement run again and again, or one statement text run once.
enum class KomutKullanimi { Tekrar, TekSefer };

struct TabloBilgisi {
    QStringList sutunlar;         // in the table's own order
    QVector<SutunBilgisi> tipler; // declared types, by position
    QStringList anahtarlar;       // the columns a row is found by; empty when the table has none
};

// What differs between the database products behind the one connection. Statements are
// written in SQL Server's dialect; everything a backend does its own way is here, so that
// nothing above the database layer asks which backend it runs on. ArkaUcSec() picks one.
class ArkaUc
{
public:
    virtual ~ArkaUc() = default;

    // Opens database `veritabani` as Qt connection `ad`: driver, options and per-connection
    // settings (pragmas, lock timeout) are each product's own. Throws BaglantiHatasi.
    virtual QSqlDatabase Ac(const QString &ad, const QString &kullanici, const QString &sifre,
                            const QString &veritabani) = 0;
    // The statement as this backend receives it: the embedded backend speaks another dialect;
    // SQL Server sends an INSERT with the query of its new key in the same batch.
    virtual QString Lehce(const QString &sql) const = 0;

    // Begins the outermost transaction. A write transaction takes SQLite's write lock at
    // once; SQL Server locks through the lookup's hint instead. Throws Hata.
    virtual void IslemBaslat(QSqlDatabase &db, IslemTuru tur) = 0;
    // Begins a read that sees the database at one moment and tells for how long: true when
    // until OkumaBitir (SQLite: a deferred transaction, a snapshot in WAL mode; SQL Server:
    // snapshot isolation where the database allows it), false when only while one part of the
    // read lasts (SQL Server: a REPEATABLE READ transaction), to be ended and begun anew
    // between parts. Throws Hata.
    virtual bool OkumaBaslat(QSqlDatabase &db) = 0;
    // Ends that read (it wrote nothing) and gives the connection its usual isolation back.
    // Throws Hata.
    virtual void OkumaBitir(QSqlDatabase &db) = 0;
    // The statements of one savepoint step (the products spell them differently; SQL Server
    // has nothing to release).
    virtual QStringList KayitNoktasi(KayitNoktasiAdimi adim, const QString &ad) const = 0;
    // Table hint, with a leading blank, by which a lookup inside a write transaction holds the
    // key it looked for until the end of the transaction; empty where the transaction does.
    virtual QString KilitIpucu() const = 0;
    // Whether an error (its native code) is the end of the bounded wait for another
    // connection's lock: the products number it differently.
    virtual bool KilitZamanAsimiMi(const QString &yerelKod) const = 0;

    // The stored form of a date and time (an invalid date: the NULL of a date) and of a bit:
    // SQLite keeps 'yyyy-MM-dd HH:mm:ss' text and 0/1, SQL Server typed values.
    virtual QVariant SaklananTarih(const QDate &tarih, const QTime &saat) const = 0;
    virtual QVariant SaklananBit(bool deger) const = 0;

    // Declared types of a result's columns: SQLite keeps them in the statement, ODBC in the
    // fields of the result.
    virtual QVector<SutunBilgisi> SonucSutunlari(QSqlDatabase db, const QSqlRecord &kayit,
                                                 const QString &gonderilenSql) = 0;
    // A table's columns, types and key, from each product's own catalogue.
    virtual TabloBilgisi Tablo(QSqlDatabase db, const QString &tablo) = 0;
    // Runs `sql`, or the prepared statement when `sql` is empty; false on failure (the error
    // is the query's). SQL Server refuses first, with a clear Hata, bound text the driver would
    // fail on, and reads the key of an INSERT's new row at once, leaving no result open.
    virtual bool Yurut(QSqlQuery &sorgu, const QString &sql) = 0;
    // The key of the row the connection's last INSERT created; invalid or NULL when there is none.
    virtual QVariant SonEklenenAnahtar(QSqlDatabase db) const = 0;
    // The prepared statement: SQLite's own interface on the connection's handle (the fast
    // path of imports and lists), elsewhere the connection's QSqlQuery. Throws Hata.
    virtual std::unique_ptr<HazirKomutUcu> KomutHazirla(VeriTabaniBaglantisi &baglanti, const QString &sql,
                                                        KomutKullanimi kullanim) = 0;
};

// The backend a server text names: a folder (or "sqlite:FOLDER") is SQLite, anything else
// SQL Server through ODBC.
std::unique_ptr<ArkaUc> ArkaUcSec(const QString &server);

// How long a lock held by another connection is waited for: $STOKTRANSFER_BUSY_TIMEOUT_MS, else 5 s.
int KilitBeklemesiMs();
// The Hata of a database error; the end of a lock wait is told as such.
[[noreturn]] void VeritabaniHatasiFirlat(const ArkaUc &arkaUc, QString metin, const QString &yerelKod);
[[noreturn]] void VeritabaniHatasiFirlat(const ArkaUc &arkaUc, const QSqlError &hata);
