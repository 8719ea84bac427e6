#pragma once

#include "state/ArkaUc.h"

#include "state/SqlLehcesi.h"

#include <QHash>

struct sqlite3;

// The embedded backend: every database NAME is the file FOLDER/NAME.sqlite, opened in WAL
// mode; statements arrive rewritten into SQLite's dialect (SqlLehcesi).
class SqliteArkaUcu : public ArkaUc
{
public:
    explicit SqliteArkaUcu(QString klasor) : m_klasor(std::move(klasor)) {}

    QSqlDatabase Ac(const QString &ad, const QString &kullanici, const QString &sifre,
                    const QString &veritabani) override;
    QString Lehce(const QString &sql) const override;
    void IslemBaslat(QSqlDatabase &db, IslemTuru tur) override;
    bool OkumaBaslat(QSqlDatabase &db) override;
    void OkumaBitir(QSqlDatabase &db) override;
    QStringList KayitNoktasi(KayitNoktasiAdimi adim, const QString &ad) const override;
    QString KilitIpucu() const override { return QString(); }
    bool KilitZamanAsimiMi(const QString &yerelKod) const override;
    QVariant SaklananTarih(const QDate &tarih, const QTime &saat) const override;
    QVariant SaklananBit(bool deger) const override { return QVariant(deger ? 1 : 0); }
    QVector<SutunBilgisi> SonucSutunlari(QSqlDatabase db, const QSqlRecord &kayit, const QString &gonderilenSql) override;
    TabloBilgisi Tablo(QSqlDatabase db, const QString &tablo) override;
    bool Yurut(QSqlQuery &sorgu, const QString &sql) override;
    QVariant SonEklenenAnahtar(QSqlDatabase db) const override;
    std::unique_ptr<HazirKomutUcu> KomutHazirla(VeriTabaniBaglantisi &baglanti, const QString &sql,
                                                KomutKullanimi kullanim) override;

private:
    SutunTuru SutunTuruOku(QStringView tablo, QStringView sutun, bool &tazelendi) const;
    void KatalogOku() const;

    QString m_klasor;
    sqlite3 *m_tutamak = nullptr; // of the open connection
    // Kinds of the columns the rewrite asks about, by column name (upper case): the table
    // (upper case) and the kind; read again when the schema changes.
    mutable QHash<QString, QVector<QPair<QString, SutunTuru>>> m_sutunTurleri;
    mutable int m_semaSurumu = -1;
    QHash<QString, QVector<SutunBilgisi>> m_sonucTipleri; // by the statement as sent
};
