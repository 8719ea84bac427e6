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
    void IslemBaslat(QSqlDatabase &db, IslemTuru tur, const QString &kilit) override;
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

    // Whether a failed connection is a refused login (a failed attempt), from the driver's
    // text and its native codes separated by ';'.
    static bool GirisReddiMi(const QString &metin, const QString &yerelKodlar);
    // Ends the batch of every INSERT: the key of its new row (see Lehce).
    static const QString &AnahtarSorgusu();

    // The first character of `metin` the database's code page lacks; null when there is none
    // or the code page is not known.
    QChar KodSayfasindaOlmayan(const QString &metin) const;
    QString KodSayfasiHatasi(const QString &metin, QChar karakter) const;
    // The key of an INSERT's new row, read by a statement of the connection.
    void SonAnahtariYaz(const QVariant &anahtar) { m_sonAnahtar = anahtar; }

private:
    void KodSayfasiniOku(QSqlDatabase &db);
    void DegerleriDenetle(const QVariantList &degerler) const;

    QString m_server;
    // The database's single-byte code page and the characters above ASCII it holds; 0: unknown.
    int m_kodSayfasi = 0;
    bool m_surucuUnicode = false; // Qt's driver binds text as Unicode
    QSet<char16_t> m_kodSayfasiHarfleri;
    QVariant m_sonAnahtar; // of the last INSERT
};
