#include "state/Baglanti.h"

#include "state/DegerMetin.h"
#include "state/Hata.h"

#include <QFileInfo>
#include <QSqlError>
#include <QUuid>

namespace {

QString KayitNoktasiAdi(int derinlik)
{
    return QStringLiteral("k%1").arg(derinlik);
}

} // namespace

VeriTabaniBaglantisi::~VeriTabaniBaglantisi()
{
    Kapat();
}

std::optional<QString> VeriTabaniBaglantisi::SQLiteKlasoru(const QString &server)
{
    if (server.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive))
        return server.mid(7);
    if (!server.isEmpty() && QFileInfo(server).isDir())
        return server;
    return std::nullopt;
}

QString VeriTabaniBaglantisi::OdbcSurucusu()
{
    const QString surucu = qEnvironmentVariable("STOKTRANSFER_ODBC_DRIVER");
    return surucu.isEmpty() ? QStringLiteral("FreeTDS") : surucu;
}

QString VeriTabaniBaglantisi::OdbcDegeri(const QString &deger)
{
    QString icerik = deger;
    icerik.replace(QLatin1Char('}'), QLatin1String("}}"));
    return QLatin1Char('{') + icerik + QLatin1Char('}');
}

SunucuAdresi SunucuAdresi::Coz(const QString &server)
{
    SunucuAdresi adres;
    QString metin = server.trimmed();
    const qsizetype virgul = metin.lastIndexOf(QLatin1Char(','));
    if (virgul >= 0) {
        adres.port = metin.mid(virgul + 1).trimmed();
        metin = metin.left(virgul).trimmed();
    }
    const qsizetype ters = metin.indexOf(QLatin1Char('\\'));
    if (ters >= 0) {
        adres.ornek = metin.mid(ters + 1).trimmed();
        metin = metin.left(ters).trimmed();
    }
    adres.makine = metin;
    return adres;
}

QString VeriTabaniBaglantisi::TdsSurumu()
{
    const QString surum = qEnvironmentVariable("STOKTRANSFER_TDS_VERSION");
    return surum.isEmpty() ? QStringLiteral("7.4") : surum;
}

QString VeriTabaniBaglantisi::OdbcBaglantiMetni(const QString &kullanici, const QString &sifre,
                                                const QString &veritabani, const QString &server,
                                                const QString &surucu)
{
    QString metin = QStringLiteral("DRIVER=%1;UID=%2;PWD=%3;DATABASE=%4;")
                        .arg(OdbcDegeri(surucu), OdbcDegeri(kullanici), OdbcDegeri(sifre), OdbcDegeri(veritabani));
    if (surucu.compare(QLatin1String("FreeTDS"), Qt::CaseInsensitive) != 0)
        return metin + QStringLiteral("SERVER=%1;").arg(OdbcDegeri(server.trimmed()));
    // FreeTDS takes no "host,port": the port goes apart, 1433 unless typed. A named instance
    // without a port is found by the server's browser service, so no port is given then.
    const SunucuAdresi adres = SunucuAdresi::Coz(server);
    if (!adres.ornek.isEmpty())
        metin += QStringLiteral("SERVER=%1;").arg(OdbcDegeri(adres.makine + QLatin1Char('\\') + adres.ornek));
    else
        metin += QStringLiteral("SERVER=%1;").arg(OdbcDegeri(adres.makine));
    if (!adres.port.isEmpty() || adres.ornek.isEmpty())
        metin += QStringLiteral("PORT=%1;").arg(OdbcDegeri(adres.port.isEmpty() ? QStringLiteral("1433") : adres.port));
    return metin + QStringLiteral("ClientCharset=UTF-8;TDS_Version=%1;").arg(OdbcDegeri(TdsSurumu()));
}

void VeriTabaniBaglantisi::Ac(const QString &kullanici, const QString &sifre, const QString &veritabani,
                              const QString &server)
{
    Kapat();
    const QString ad = QStringLiteral("Baglanti-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::unique_ptr<ArkaUc> arkaUc = ArkaUcSec(server);
    arkaUc->Ac(ad, kullanici, sifre, veritabani);
    m_ad = ad;
    m_arkaUc = std::move(arkaUc);
    m_komutSayisi = 0;
}

void VeriTabaniBaglantisi::Kapat()
{
    m_hazirlar.clear();
    m_tablolar.clear();
    m_islemDerinligi = 0;
    m_arkaUc.reset();
    if (m_ad.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_ad, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_ad);
    m_ad.clear();
}

bool VeriTabaniBaglantisi::Acik() const
{
    return !m_ad.isEmpty() && QSqlDatabase::database(m_ad, false).isOpen();
}

QSqlDatabase VeriTabaniBaglantisi::Veritabani() const
{
    if (m_ad.isEmpty())
        throw Hata(QStringLiteral("Veritabanı bağlantısı açık değil."));
    return QSqlDatabase::database(m_ad, false);
}

ArkaUc &VeriTabaniBaglantisi::ArkaUcu() const
{
    if (!m_arkaUc)
        throw Hata(QStringLiteral("Veritabanı bağlantısı açık değil."));
    return *m_arkaUc;
}

QString VeriTabaniBaglantisi::Lehce(const QString &sql) const
{
    return m_arkaUc ? m_arkaUc->Lehce(sql) : sql;
}

void VeriTabaniBaglantisi::Firlat(const QSqlError &hata) const
{
    VeritabaniHatasiFirlat(ArkaUcu(), hata);
}

QSqlQuery VeriTabaniBaglantisi::Calistir(const QString &sql)
{
    QSqlQuery sorgu(Veritabani());
    sorgu.setForwardOnly(true);
    ++m_komutSayisi;
    if (!ArkaUcu().Yurut(sorgu, Lehce(sql)))
        Firlat(sorgu.lastError());
    return sorgu;
}

QSqlQuery &VeriTabaniBaglantisi::Hazirla(const QString &sql)
{
    auto &yer = m_hazirlar[sql];
    if (!yer) {
        auto sorgu = std::make_shared<QSqlQuery>(Veritabani());
        sorgu->setForwardOnly(true);
        if (!sorgu->prepare(Lehce(sql))) {
            const QSqlError hata = sorgu->lastError();
            m_hazirlar.remove(sql);
            Firlat(hata);
        }
        yer = sorgu;
    }
    return *yer;
}

void VeriTabaniBaglantisi::Yurut(QSqlQuery &sorgu)
{
    ++m_komutSayisi;
    if (!ArkaUcu().Yurut(sorgu, QString()))
        Firlat(sorgu.lastError());
}

QVariant VeriTabaniBaglantisi::SonEklenenAnahtar() const
{
    return ArkaUcu().SonEklenenAnahtar(Veritabani());
}

void VeriTabaniBaglantisi::IslemBaslat(IslemTuru tur)
{
    QSqlDatabase db = Veritabani();
    if (m_islemDerinligi == 0) {
        ++m_komutSayisi;
        ArkaUcu().IslemBaslat(db, tur);
    } else {
        for (const QString &sql : ArkaUcu().KayitNoktasi(KayitNoktasiAdimi::Kur, KayitNoktasiAdi(m_islemDerinligi)))
            Calistir(sql);
    }
    ++m_islemDerinligi;
}

void VeriTabaniBaglantisi::IslemOnayla()
{
    if (m_islemDerinligi == 0)
        return;
    --m_islemDerinligi;
    if (m_islemDerinligi == 0) {
        QSqlDatabase db = Veritabani();
        ++m_komutSayisi;
        if (!db.commit())
            Firlat(db.lastError());
    } else {
        for (const QString &sql : ArkaUcu().KayitNoktasi(KayitNoktasiAdimi::Onayla, KayitNoktasiAdi(m_islemDerinligi)))
            Calistir(sql);
    }
}

void VeriTabaniBaglantisi::IslemGeriAl()
{
    if (m_islemDerinligi == 0)
        return;
    --m_islemDerinligi;
    if (m_islemDerinligi == 0) {
        QSqlDatabase db = Veritabani();
        ++m_komutSayisi;
        if (!db.rollback())
            Firlat(db.lastError());
    } else {
        for (const QString &sql : ArkaUcu().KayitNoktasi(KayitNoktasiAdimi::GeriDon, KayitNoktasiAdi(m_islemDerinligi)))
            Calistir(sql);
    }
}

bool VeriTabaniBaglantisi::OkumaBaslat()
{
    if (m_islemDerinligi != 0)
        throw Hata(QStringLiteral("Okuma bir işlemin içinde başlatılamaz."));
    QSqlDatabase db = Veritabani();
    ++m_komutSayisi;
    const bool butun = ArkaUcu().OkumaBaslat(db);
    ++m_islemDerinligi;
    return butun;
}

void VeriTabaniBaglantisi::OkumaBitir()
{
    if (m_islemDerinligi == 0)
        return;
    m_islemDerinligi = 0;
    QSqlDatabase db = Veritabani();
    ++m_komutSayisi;
    ArkaUcu().OkumaBitir(db);
}

QString VeriTabaniBaglantisi::KilitIpucu() const
{
    return ArkaUcu().KilitIpucu();
}

QVariant VeriTabaniBaglantisi::SaklanacakDeger(const QString &metin, const SutunBilgisi &sutun) const
{
    return MetinDegeri(metin, sutun, ArkaUcu());
}

QVariant VeriTabaniBaglantisi::SaklanacakBit(bool deger) const
{
    return ArkaUcu().SaklananBit(deger);
}

QVector<SutunBilgisi> VeriTabaniBaglantisi::SonucSutunlari(const QSqlRecord &kayit, const QString &gonderilenSql)
{
    return ArkaUcu().SonucSutunlari(Veritabani(), kayit, gonderilenSql);
}

const TabloBilgisi &VeriTabaniBaglantisi::Tablo(const QString &tablo)
{
    const QString anahtar = tablo.toUpper();
    auto it = m_tablolar.find(anahtar);
    if (it != m_tablolar.end())
        return *it;
    return *m_tablolar.insert(anahtar, ArkaUcu().Tablo(Veritabani(), tablo));
}

QStringList VeriTabaniBaglantisi::TabloSutunlari(const QString &tablo)
{
    return Tablo(tablo).sutunlar;
}

SutunBilgisi VeriTabaniBaglantisi::TabloSutunu(const QString &tablo, const QString &sutun)
{
    const TabloBilgisi &bilgi = Tablo(tablo);
    for (int i = 0; i < bilgi.sutunlar.size(); ++i)
        if (bilgi.sutunlar[i].compare(sutun, Qt::CaseInsensitive) == 0)
            return bilgi.tipler[i];
    return SutunBilgisi();
}

QStringList VeriTabaniBaglantisi::AnahtarSutunlari(const QString &tablo)
{
    return Tablo(tablo).anahtarlar;
}
