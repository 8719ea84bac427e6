#include "transfer/DosyadanAl.h"

#include "common/Etkilesim.h"
#include "common/Ilerleme.h"
#include "state/Degiskenler.h"
#include "transfer/AktarimOkuyucu.h"
#include "transfer/IceAktarimHatasi.h"
#include "transfer/KayitYazici.h"
#include "transfer/OncekiDosya.h"
#include "transfer/Onizleme.h"

#include <QFileInfo>
#include <optional>

using namespace Degiskenler;
using Durus = IceAktarimHatasi::Durus;

namespace {

const QString Onay = QStringLiteral(
    "Gösterdiğiniz Dosya Okunacak ve Eğer Uygun bir Dosya ise \r* KDV Tanımları\r* Fiyat Tanımları\r* Stok Kartları \r"
    "* Stok Fiyatları\r Güncelenecektir. Bu işlem Esnasında var olan Kayıtlar Güncellenecek Olmayan Kayıtlar "
    "Oluşturulacakır.\rDevam Etmek İstiyor musunuz?");
const QString DosyaAcilamadi = QStringLiteral("Transfer Dosyası Dosya Açılamadı.");
const QString StokYok = QStringLiteral("Stok Bilgisine Rastlanmadı. İşlem Devam Etmeyecek");
const QString FormatHatasi = QStringLiteral("Dosya Formatı Hatası Dosya Ravelkoi İçinygun Dosya Değil.");
const QString Bolge7 =
    QStringLiteral("Stok Bilgileri Güncellenirken Bir Hata Oluştu.Lütfen Bu Durumu Progam SatıcınızaBildiriniz.");
const QString YazmaKilidi = QStringLiteral("STOKKART");

// Shows a message that ends the import and keeps its text for the summary.
void BitirenMesaj(IceAktarimOzeti &ozet, const QString &metin, Etkilesim::Simge simge, const QString &baslik = QString())
{
    ozet.basarili = false;
    ozet.mesaj = metin;
    Operator().Mesaj(metin, simge, Etkilesim::Dugmeler::Tamam, baslik);
}

// Ends the import with the message of the failure's region, or with a stop's own message.
// `bolge` and `stokKod` stand for a failure of the database layer, which names neither.
void Durdu(IceAktarimOzeti &ozet, const Hata &hata, int bolge, const QString &stokKod)
{
    const auto *aktarim = dynamic_cast<const IceAktarimHatasi *>(&hata);
    const QString kod = aktarim ? aktarim->StokKod() : stokKod;
    if (aktarim)
        bolge = aktarim->Bolge();
    const auto kritik = Etkilesim::Simge::Kritik;
    switch (aktarim ? aktarim->Durusu() : Durus::Yok) {
    case Durus::Yok:
        break;
    case Durus::DosyaDegil:
        return BitirenMesaj(ozet, QStringLiteral("Dosya Bir Ravelko Dosyası Değil "), kritik);
    case Durus::YabanciKodlama:
    case Durus::KdvBolumuBos:
        return BitirenMesaj(ozet, hata.Aciklama(), kritik);
    case Durus::StokYok:
        return BitirenMesaj(ozet, StokYok, Etkilesim::Simge::Bilgi);
    case Durus::KdvOkunamadi:
        return BitirenMesaj(ozet, QStringLiteral("Dosyadan KDV Tanımları Okunamıyor. İşlem Devam Etmeyecek"), kritik);
    case Durus::HedefKdvYok:
        return BitirenMesaj(ozet, QStringLiteral("hedef Firmanın KDV Tanımları Yapılmamış.İşle Devam Etmeyecek."),
                            Etkilesim::Simge::Bilgi);
    case Durus::KdvUyusmuyor:
        return BitirenMesaj(ozet,
                            QStringLiteral("Bilgilerin Okunduğu Firma ile Hedef Firmanın KDV Tanımları Birbirine Uymuyor. "
                                           "İşlemin Devam Etmesi Kayıtlı Bilgilerin Bozulmasına Neden Olacağından İşlem "
                                           "Devam Ettirilmeyecek!!!"),
                            kritik);
    case Durus::FiyatTanimOkunamadi:
        return BitirenMesaj(ozet, QStringLiteral("Fiyat Tanımları Dosyadan Okunamadı"), kritik);
    case Durus::KartBasligi:
        return BitirenMesaj(ozet, FormatHatasi, kritik, QStringLiteral("STOK OKMA PARAMETRESİ ADET HATASI "));
    case Durus::FiyatBasligi:
        return BitirenMesaj(ozet, FormatHatasi, kritik, QStringLiteral("STOK OKMA PARAMETRESİ HATASI"));
    case Durus::StokEtiketiYok:
        Operator().FrameBarGoster(false);
        return BitirenMesaj(ozet, QStringLiteral("Dosya Formatı Hatası Dosya Ravelkoi İçin uygun Dosya Değil."), kritik,
                            QStringLiteral("STOK OKMUA PARAMETRESİ HATASI"));
    }
    switch (bolge) {
    case 2:
        return BitirenMesaj(ozet, DosyaAcilamadi, kritik, hata.Aciklama());
    case 3:
        BitirenMesaj(ozet, QStringLiteral("Sayma Hatası!!!\r") + StokYok, Etkilesim::Simge::Bilgi);
        Operator().Mesaj(hata.Aciklama());
        return;
    case 4:
        return BitirenMesaj(ozet, QStringLiteral("Fiyat Tanımları Hatası!!!\r") + StokYok, Etkilesim::Simge::Bilgi,
                            hata.Aciklama());
    case 5:
        return BitirenMesaj(
            ozet, QStringLiteral("Stok Parametre Bilgileri Okunurken Bir Hata Oluştu.Lütfen Bu Durumu Progam SatıcınızaBildiriniz."),
            kritik, hata.Aciklama());
    case 6:
        return BitirenMesaj(
            ozet, QStringLiteral("Fiyat Parametre Bilgileri Okunurken Bir Hata Oluştu.Lütfen Bu Durumu Progam SatıcınızaBildiriniz."),
            kritik, hata.Aciklama());
    default:
        Operator().FrameBarGoster(false);
        BitirenMesaj(ozet, Bolge7, kritik, hata.Aciklama() + QStringLiteral("  ") + kod);
        Operator().Mesaj(hata.Aciklama());
        return;
    }
}

QString KartKodu(const Kayit &kayit)
{
    return kayit.tur == KayitTuru::Kart ? kayit.kart.stokKod.toString() : QString();
}

// Writes `adet` records again from `yer`, after their group was lost with a failure. A failure
// here is not told: the first one is what the operator sees.
void YenidenYaz(AktarimOkuyucu &okuyucu, KayitYazici &yazici, const AktarimOkuyucu::Yer &yer, int adet)
{
    try {
        okuyucu.KonumaGit(yer);
        Kayit kayit;
        for (int i = 0; i < adet && okuyucu.Sonraki(kayit); ++i)
            yazici.Yaz(kayit);
        yazici.Bitir();
    } catch (const Hata &) {
        yazici.Durdur();
    }
}

// Regions 2 to 7 on a chosen file, the consent already given: the whole file is read and
// checked against the target first (the counting pass), and only a file that passed is
// written. A refused file changes nothing.
void Uygula(const QString &yol, IceAktarimOzeti &ozet, DegisiklikKaydi *degisiklikler, bool basariMesaji)
{
    if (!QFileInfo::exists(yol)) {
        BitirenMesaj(ozet, QStringLiteral("Yazdığınız İsimde Bir Dosya Bulunamadı"), Etkilesim::Simge::Kritik);
        return;
    }
    std::optional<AktarimOkuyucu> okuyucu;
    try {
        okuyucu.emplace(yol);
    } catch (const Hata &hata) {
        Durdu(ozet, hata, 2, QString());
        return;
    }

    KayitYazici yazici(ozet, degisiklikler);
    Kayit kayit;
    int kartSayisi = 0;
    try {
        while (okuyucu->Sonraki(kayit)) {
            yazici.Denetle(kayit);
            if (kayit.tur == KayitTuru::Kart)
                ++kartSayisi;
        }
    } catch (const Hata &hata) {
        Durdu(ozet, hata, KayitBolgesi(kayit.tur), KartKodu(kayit));
        return;
    }

    KartBar().Ayarla(kartSayisi, 0);
    Operator().FrameBarGoster(true);
    AktarimOkuyucu::Yer grupBasi; // where the open group's first record starts
    int grupIlki = 0, sira = 0;   // records by their order in the file
    try {
        okuyucu->Basa();
        for (;; ++sira) {
            const AktarimOkuyucu::Yer yer = okuyucu->Konum();
            if (!okuyucu->Sonraki(kayit))
                break;
            if (!yazici.GrupAcik()) {
                grupBasi = yer;
                grupIlki = sira;
            }
            const bool kart = kayit.tur == KayitTuru::Kart;
            if (kart)
                Operator().MesajLblYaz(kayit.kart.stokAd.toString() + QStringLiteral(" İsimli Stok Aktarılıyor....."));
            yazici.Yaz(kayit);
            if (kart) {
                IlerlemeArttir(KartBar(), 1);
                Operator().BekleyenOlaylariIsle();
            }
        }
        yazici.Bitir();
    } catch (const Hata &hata) {
        const int bolge = KayitBolgesi(kayit.tur);
        const QString kod = KartKodu(kayit);
        // The records before the failing one stand whole, also where the database took their
        // group with the failure: those are written again.
        if (!yazici.Durdur() && sira > grupIlki)
            YenidenYaz(*okuyucu, yazici, grupBasi, sira - grupIlki);
        Durdu(ozet, hata, bolge, kod);
        return;
    }
    Operator().FrameBarGoster(false);
    if (basariMesaji)
        Operator().Mesaj(QStringLiteral("İşlem Başarı ile Tamamlandı"));
    ozet.basarili = true;
    ozet.mesaj.clear();
}

} // namespace

IceAktarimOzeti AktarimDosyasiUygula(const QString &yol, bool deneme, DegisiklikKaydi *degisiklikler, bool basariMesaji)
{
    IceAktarimOzeti ozet;
    if (deneme) {
        try {
            Baglanti.IslemBaslat(IslemTuru::Yazma, YazmaKilidi);
        } catch (const Hata &hata) {
            Durdu(ozet, hata, 7, QString());
            return ozet;
        }
    }
    const auto geriAl = [&] {
        if (!deneme)
            return;
        try {
            Baglanti.IslemGeriAl();
        } catch (const Hata &) {
            // The server had undone it already.
        }
    };
    try {
        Uygula(yol, ozet, degisiklikler, basariMesaji);
    } catch (...) {
        geriAl();
        throw;
    }
    geriAl();
    return ozet;
}

std::optional<QString> AlinacakDosyaSec()
{
    try {
        const auto secilen = Operator().DosyaSec(OncekiDosyaOku(), Etkilesim::Dosya::Ac);
        if (!secilen || secilen->isEmpty())
            return std::nullopt;
        // Remembered before the consent: a "No" keeps the new name.
        OncekiDosyaYaz(*secilen);
        return secilen;
    } catch (const Hata &hata) {
        Operator().Mesaj(DosyaAcilamadi, Etkilesim::Simge::Kritik, Etkilesim::Dugmeler::Tamam, hata.Aciklama());
        return std::nullopt;
    }
}

void DosyadanAl()
{
    const auto yol = AlinacakDosyaSec();
    if (!yol)
        return;
    if (Operator().Mesaj(Onay, Etkilesim::Simge::Soru, Etkilesim::Dugmeler::EvetHayir) != Etkilesim::Evet)
        return;
    RaporluAktar(*yol);
}

const QString &AktarimOnayi()
{
    return Onay;
}

QString OzetMetni(const IceAktarimOzeti &ozet)
{
    return QStringLiteral("Oluşturulan kart: %1\nGüncellenen kart: %2\nDeğişmeyen kart: %3\n"
                          "Oluşturulan fiyat satırı: %4\nGüncellenen fiyat satırı: %5\n"
                          "Eklenen fiyat tanımı: %6\nGüncellenen fiyat tanımı: %7\n")
        .arg(ozet.kartOlusturulan)
        .arg(ozet.kartGuncellenen)
        .arg(ozet.kartDegismeyen)
        .arg(ozet.fiyatOlusturulan)
        .arg(ozet.fiyatGuncellenen)
        .arg(ozet.fiyatTanimiEklenen)
        .arg(ozet.fiyatTanimiGuncellenen);
}
