#pragma once

#include "state/ArkaUc.h"

#include <QSet>

// SQL Server through ODBC (FreeTDS unless $STOKTRANSFER_ODBC_DRIVER names another driver).
class SqlServerArkaUcu : public ArkaUc
{
public:
    explicit SqlServerArkaUcu(QString server) : m_server(std::move(server)) {}

    QSqlDatabase Ac(const QString &ad, const QString &kullanici, const QString &sifre,
                    const QString &veritabani) override;
    QString Lehce(const QString &sql) const override;
    void IslemBaslat(QSqlDatabase &db, IslemTuru tur) override;
    bool OkumaBaslat(QSqlDatabase &db) override;
    void OkumaBitir(QSqlDatabase &db) override;
    QStringList KayitNoktasi(KayitNoktasiAdimi adim, const QString &ad) const override;
    QString KilitIpucu() const override { return QStringLiteral(" WITH (UPDLOCK, HOLDLOCK)"); }
    bool KilitZamanAsimiMi(const QString &yerelKod) const override;
    QVariant SaklananTarih(const QDate &tarih, const QTime &saat) const override;
    QVariant SaklananBit(bool deger) const override { return QVariant(deger); }
    QVector<SutunBilgisi> SonucSutunlari(QSqlDatabase db, const QSqlRecord &kayit, const QString &gonderilenSql) override;
    TabloBilgisi Tablo(QSqlDatabase db, const QString &tablo) override;
    bool Yurut(QSqlQuery &sorgu, const QString &sql) override;
    QVariant SonEklenenAnahtar(QSqlDatabase) const override { return m_sonAnahtar; }
    std::unique_ptr<HazirKomutUcu> KomutHazirla(VeriTabaniBaglantisi &baglanti, const QString &sql,
                                                KomutKullanimi kullanim) override;

private:
    void KodSayfasiniOku(QSqlDatabase &db);
    void DegerleriDenetle(const QVariantList &degerler) const;

    QString m_server;
    // When the driver sends bound text as 8-bit text of the database's code page: the code
    // page and the characters above ASCII it holds. 0: text goes as Unicode, or unknown.
    int m_kodSayfasi = 0;
    QSet<char16_t> m_kodSayfasiHarfleri;
    QVariant m_sonAnahtar; // of the last INSERT
};
