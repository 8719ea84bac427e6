#pragma once

#include "state/ArkaUc.h"
#include "state/SutunTipi.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>
#include <optional>

class QSqlRecord;

// The server text typed at login: MAKINE, MAKINE,PORT, MAKINE\ORNEK or MAKINE\ORNEK,PORT.
struct SunucuAdresi {
    QString makine;
    QString ornek; // named instance
    QString port;
    static SunucuAdresi Coz(const QString &server);
};

// The one database connection of the run. Two backends, chosen by the server text (ArkaUcSec):
//  - a folder (or "sqlite:FOLDER"): every database NAME is the file FOLDER/NAME.sqlite;
//  - anything else: SQL Server through ODBC.
// Statements are SQL Server's; what each backend does its own way is behind ArkaUc.
class VeriTabaniBaglantisi
{
public:
    VeriTabaniBaglantisi() = default;
    ~VeriTabaniBaglantisi();
    VeriTabaniBaglantisi(const VeriTabaniBaglantisi &) = delete;
    VeriTabaniBaglantisi &operator=(const VeriTabaniBaglantisi &) = delete;

    // Opens a new connection and releases the previous one. Throws BaglantiHatasi.
    void Ac(const QString &kullanici, const QString &sifre, const QString &veritabani, const QString &server);
    void Kapat();
    bool Acik() const;
    QSqlDatabase Veritabani() const;
    // The backend of the open connection. Throws Hata when none is open.
    ArkaUc &ArkaUcu() const;

    // The statement as the backend receives it.
    QString Lehce(const QString &sql) const;

    // Runs a statement once. Throws Hata with the database's description.
    QSqlQuery Calistir(const QString &sql);
    // A statement prepared once and kept until the connection changes; bind, then Yurut().
    QSqlQuery &Hazirla(const QString &sql);
    void Yurut(QSqlQuery &sorgu);
    // The key of the row the last INSERT created; invalid or NULL when there is none.
    QVariant SonEklenenAnahtar() const;

    // Statements sent since the connection was opened (or the count was reset).
    quint64 KomutSayisi() const { return m_komutSayisi; }
    void KomutSayaciniSifirla() { m_komutSayisi = 0; }
    // For statements sent past QSqlQuery (HazirKomut).
    void KomutSayiminaEkle() { ++m_komutSayisi; }

    // Transactions; a transaction begun inside another becomes a savepoint of it (so a write
    // transaction holds its lookups only when the outermost one was begun as Yazma).
    void IslemBaslat(IslemTuru tur = IslemTuru::Olagan);
    void IslemOnayla();
    void IslemGeriAl();
    int IslemDerinligi() const { return m_islemDerinligi; }
    // The outermost transaction as a read that sees one moment (see TutarliOkuma): true when
    // the moment lasts until OkumaBitir, false when only until the backend's part ends.
    bool OkumaBaslat();
    void OkumaBitir();
    // Put after the table name of a lookup inside a write transaction: the looked-up key is
    // held against a second writer until the transaction ends. Empty where the transaction does.
    QString KilitIpucu() const;

    // The value a text stores in a column of this backend (see MetinDegeri). Throws Hata.
    QVariant SaklanacakDeger(const QString &metin, const SutunBilgisi &sutun) const;
    QVariant SaklanacakBit(bool deger) const;

    // The declared types of a result's columns.
    QVector<SutunBilgisi> SonucSutunlari(const QSqlRecord &kayit, const QString &gonderilenSql);
    // Columns of a table in the table's own order, with their types; empty when no such table.
    QStringList TabloSutunlari(const QString &tablo);
    SutunBilgisi TabloSutunu(const QString &tablo, const QString &sutun);
    // The columns a row of the table is found by: its primary key, or the backend's row id.
    QStringList AnahtarSutunlari(const QString &tablo);

    // ODBC connection string: user, password, database, server, each value quoted the ODBC way.
    static QString OdbcBaglantiMetni(const QString &kullanici, const QString &sifre,
                                     const QString &veritabani, const QString &server,
                                     const QString &surucu);
    static QString OdbcDegeri(const QString &deger);
    // The folder of the embedded backend named by a server text, when it names one.
    static std::optional<QString> SQLiteKlasoru(const QString &server);
    // The ODBC driver name: $STOKTRANSFER_ODBC_DRIVER, else "FreeTDS".
    static QString OdbcSurucusu();
    // The TDS protocol version FreeTDS speaks: $STOKTRANSFER_TDS_VERSION, else 7.4.
    static QString TdsSurumu();

private:
    const TabloBilgisi &Tablo(const QString &tablo);
    [[noreturn]] void Firlat(const QSqlError &hata) const;

    QString m_ad;
    std::unique_ptr<ArkaUc> m_arkaUc;
    quint64 m_komutSayisi = 0;
    int m_islemDerinligi = 0;
    QHash<QString, std::shared_ptr<QSqlQuery>> m_hazirlar;
    QHash<QString, TabloBilgisi> m_tablolar;
};
