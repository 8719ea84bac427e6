#include "login/Giris.h"

#include "login/Sifreleme.h"
#include "state/Degiskenler.h"
#include "state/DegerMetin.h"
#include "state/FirmaAyarlari.h"
#include "state/Hata.h"
#include "state/RecordsetAc.h"

#include <cmath>
#include <limits>
#include <optional>

namespace {

QString Tirnakla(QString metin)
{
    metin.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + metin + QLatin1Char('\'');
}

// A whole number read from a column, by its text (the one rule writes decimals with a comma).
std::optional<qint64> Tamsayi(const Recordset &rs, const QString &sutun)
{
    QString metin = rs.Metin(sutun);
    metin.replace(QLatin1Char(','), QLatin1Char('.'));
    bool tamam = false;
    const double sayi = metin.toDouble(&tamam);
    if (!tamam || !std::isfinite(sayi))
        return std::nullopt;
    return qint64(std::trunc(sayi));
}

QDate Tarih(const QVariant &deger)
{
    if (deger.isNull())
        return QDate();
    switch (deger.typeId()) {
    case QMetaType::QDateTime: return deger.toDateTime().date();
    case QMetaType::QDate: return deger.toDate();
    default: return SQLiteTarihOku(deger.toString().trimmed()).date();
    }
}

} // namespace

QString KullaniciSorgusu(const QString &kullanici, const QString &sifre)
{
    return QStringLiteral("SELECT sysus_ID FROM sysuslng WHERE sysus_nm=") + Tirnakla(BuyukHarf(kullanici))
           + QStringLiteral(" and sysus=") + Tirnakla(SifreKodla(sifre));
}

namespace {
// The look-up statement as a failure shows it: the encoded password would give the password
// away to anyone who sees the message or the clipboard.
QString GorunenKullaniciSorgusu(const QString &kullanici)
{
    return QStringLiteral("SELECT sysus_ID FROM sysuslng WHERE sysus_nm=") + Tirnakla(BuyukHarf(kullanici))
           + QStringLiteral(" and sysus='*****'");
}
} // namespace

QString FirmaSorgusu(qint32 kullaniciID)
{
    return QStringLiteral("SELECT sysfrmlng.sysfrm_nm,sysfrmlng.sysfrm_kd,sysfrmlng.sysfrm_dbnm,sysfrmlng.sysfrm_ID,"
                          "sysfrmlng.Mali_Yil_Baslangic,sysfrmlng.Mali_Yil_Bitis FROM sysfrmlng,sysusfrmlng "
                          "WHERE sysfrmlng.sysfrm_ID=sysusfrmlng.sysfrm_ID and sysusfrmlng.sysus_ID=")
           + QString::number(kullaniciID) + QLatin1Char(' ');
}

GirisSonucu KullaniciyiDogrula(const QString &kullanici, const QString &sifre, const QString &server,
                               Recordset &firmaRS)
{
    using namespace Degiskenler;
    GirisSonucu sonuc;
    try {
        KullaniciAdi = kullanici;
        Sifre = sifre;
        ServerAdi = server.trimmed();
        if (VeritabaniAdi.isEmpty())
            VeritabaniAdi = TanimVeritabani;
        // A NUL cannot stand in a stored name or password, would break the statement, and would
        // cut the server login's credentials short: refused before anything is sent.
        if (KullaniciAdi.contains(QChar(0)) || Sifre.contains(QChar(0))) {
            sonuc.durum = GirisSonucu::Durum::Reddedildi;
            return sonuc;
        }
        Baglanti.Ac(KullaniciAdi, Sifre, VeritabaniAdi, ServerAdi);
        RecordsetAc(firmaRS, KullaniciSorgusu(KullaniciAdi, Sifre), GorunenKullaniciSorgusu(KullaniciAdi));
        if (firmaRS.RecordCount() == 0) {
            sonuc.durum = GirisSonucu::Durum::Reddedildi;
            return sonuc;
        }
        const auto id = Tamsayi(firmaRS, QStringLiteral("sysus_ID"));
        if (!id || *id < std::numeric_limits<qint32>::min() || *id > std::numeric_limits<qint32>::max())
            throw Hata(QStringLiteral("Kullanıcı numarası geçersiz: %1").arg(firmaRS.Metin(QStringLiteral("sysus_ID"))));
        KullaniciID = qint32(*id);
        sonuc.durum = GirisSonucu::Durum::Bulundu;
    } catch (const BaglantiHatasi &hata) {
        sonuc.durum = hata.GirisReddedildi() ? GirisSonucu::Durum::Reddedildi : GirisSonucu::Durum::BaglantiHatasi;
        sonuc.aciklama = hata.Aciklama();
        sonuc.numara = hata.Numara();
    } catch (const Hata &hata) {
        sonuc.durum = GirisSonucu::Durum::BaglantiHatasi;
        sonuc.aciklama = hata.Aciklama();
        sonuc.numara = hata.Numara();
    }
    return sonuc;
}

GirisSonucu FirmalariYukle(Recordset &firmaRS)
{
    GirisSonucu sonuc;
    try {
        RecordsetAc(firmaRS, FirmaSorgusu(Degiskenler::KullaniciID));
        firmaRS.RecordCount(); // a statement that failed left firmaRS closed: this throws
        sonuc.durum = GirisSonucu::Durum::Bulundu;
    } catch (const Hata &hata) {
        sonuc.durum = GirisSonucu::Durum::BaglantiHatasi;
        sonuc.aciklama = hata.Aciklama();
        sonuc.numara = hata.Numara();
    }
    return sonuc;
}

FirmaSecimSonucu FirmaSec(Recordset &firmaRS)
{
    using namespace Degiskenler;
    FirmaSecimSonucu sonuc;

    // Up to the settings nothing can be left half done: the previous values come back.
    const QString oncekiVeritabani = VeritabaniAdi;
    const qint16 oncekiFirmaID = FirmaID;
    const QString oncekiFirmaAdi = FirmaAdi;
    const QString oncekiFirmaKodu = FirmaKodu;
    const QDate oncekiBaslangic = Mali_Yil_Baslangic;
    const QDate oncekiBitis = Mali_Yil_Bitis;
    try {
        if (!firmaRS.Acik() || firmaRS.RecordCount() == 0 || firmaRS.Eof())
            throw Hata(QStringLiteral("Kullanıcıya tanımlı firma yok."));
        const QString veritabani = firmaRS.Metin(QStringLiteral("sysfrm_dbnm"));
        const auto id = Tamsayi(firmaRS, QStringLiteral("sysfrm_ID"));
        if (!id || *id < std::numeric_limits<qint16>::min() || *id > std::numeric_limits<qint16>::max())
            throw Hata(QStringLiteral("Firma numarası geçersiz: %1").arg(firmaRS.Metin(QStringLiteral("sysfrm_ID"))));
        const QDate baslangic = Tarih(firmaRS.Deger(QStringLiteral("Mali_Yil_Baslangic")));
        const QDate bitis = Tarih(firmaRS.Deger(QStringLiteral("Mali_Yil_Bitis")));
        if (!baslangic.isValid() || !bitis.isValid())
            throw Hata(QStringLiteral("Firmanın mali yılı tanımlı değil."));

        sonuc.kod = firmaRS.Metin(QStringLiteral("sysfrm_kd"));
        VeritabaniAdi = veritabani;
        FirmaID = qint16(*id);
        FirmaAdi = firmaRS.Metin(QStringLiteral("sysfrm_nm"));
        FirmaKodu = sonuc.kod;
        Mali_Yil_Baslangic = baslangic;
        Mali_Yil_Bitis = bitis;
        FirmaAyarlariniOku();
    } catch (const Hata &hata) {
        VeritabaniAdi = oncekiVeritabani;
        FirmaID = oncekiFirmaID;
        FirmaAdi = oncekiFirmaAdi;
        FirmaKodu = oncekiFirmaKodu;
        Mali_Yil_Baslangic = oncekiBaslangic;
        Mali_Yil_Bitis = oncekiBitis;
        sonuc.durum = FirmaSecimSonucu::Durum::Secilemedi;
        sonuc.aciklama = hata.Aciklama();
        return sonuc;
    }

    try {
        Baglanti.Ac(KullaniciAdi, Sifre, VeritabaniAdi, ServerAdi);
    } catch (const Hata &hata) {
        sonuc.durum = FirmaSecimSonucu::Durum::BaglantiKurulamadi;
        sonuc.aciklama = hata.Aciklama();
        return sonuc;
    }
    sonuc.durum = FirmaSecimSonucu::Durum::Secildi;
    return sonuc;
}

bool FirmaKodunaGit(Recordset &firmaRS, const QString &kod)
{
    if (!firmaRS.Acik())
        return false;
    for (firmaRS.MoveFirst(); !firmaRS.Eof(); firmaRS.MoveNext())
        if (firmaRS.Metin(QStringLiteral("sysfrm_kd")) == kod.trimmed())
            return true;
    return false;
}
