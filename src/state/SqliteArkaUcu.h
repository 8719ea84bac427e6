#pragma once

#include "state/ArkaUc.h"

#include <QHash>

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
    QString m_klasor;
    QHash<QString, QVector<SutunBilgisi>> m_sonucTipleri; // by the statement as sent
};
