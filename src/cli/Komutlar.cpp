#include "cli/Komutlar.h"

#include "cli/KomutSatiri.h"
#include "cli/Sifre.h"
#include "cli/UcbirimEtkilesimi.h"
#include "common/Etkilesim.h"
#include "demo/DemoOlusturucu.h"
#include "filter/AktarimSecimi.h"
#include "filter/DegerListeleri.h"
#include "filter/FiltreTablosu.h"
#include "filter/SonucListesi.h"
#include "filter/SorguOlusturucu.h"
#include "filter/StokListesi.h"
#include "login/Giris.h"
#include "state/Baglanti.h"
#include "state/Degiskenler.h"
#include "state/Hata.h"
#include "transfer/DegisiklikRaporu.h"
#include "transfer/DosyaOlustur.h"
#include "transfer/DosyadanAl.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

void Yaz(const QString &metin)
{
    const QByteArray baytlar = metin.toUtf8();
    std::fwrite(baytlar.constData(), 1, size_t(baytlar.size()), stdout);
}

void HataYaz(const QString &metin)
{
    std::fflush(stdout);
    const QByteArray baytlar = (metin + QLatin1Char('\n')).toUtf8();
    std::fwrite(baytlar.constData(), 1, size_t(baytlar.size()), stderr);
}

// Logs in as the login screen does and chooses the company by its code. A refused login,
// an unknown user or company, and every connection failure refuse the command.
bool GirisYap(const KomutSecenekleri &s)
{
    const auto sifre = SifreOku();
    if (!sifre) {
        HataYaz(QStringLiteral("Şifre verilmedi: STOKTRANSFER_PASSWORD tanımlı değil ve uçbirim yok."));
        return false;
    }
    Recordset firmaRS;
    const GirisSonucu giris = KullaniciyiDogrula(s.kullanici, *sifre, s.server, firmaRS);
    if (giris.durum == GirisSonucu::Durum::Reddedildi) {
        HataYaz(GirisMesajlari::KullaniciyiKontrolEdin);
        return false;
    }
    if (giris.durum == GirisSonucu::Durum::BaglantiHatasi) {
        HataYaz(GirisMesajlari::BaglanilamadiGiris);
        HataYaz(giris.aciklama);
        HataYaz(QString::number(giris.numara));
        return false;
    }
    const GirisSonucu firmalar = FirmalariYukle(firmaRS);
    if (firmalar.durum != GirisSonucu::Durum::Bulundu) {
        HataYaz(GirisMesajlari::BaglanilamadiGiris);
        HataYaz(firmalar.aciklama);
        return false;
    }
    if (!FirmaKodunaGit(firmaRS, s.firma)) {
        HataYaz(QStringLiteral("%1 kodlu firma bu kullanıcıya tanımlı değil.").arg(s.firma));
        return false;
    }
    const FirmaSecimSonucu secim = FirmaSec(firmaRS);
    if (secim.durum == FirmaSecimSonucu::Durum::Secilemedi) {
        HataYaz(GirisMesajlari::FirmaSecilemedi);
        HataYaz(secim.aciklama);
        return false;
    }
    if (secim.durum == FirmaSecimSonucu::Durum::BaglantiKurulamadi) {
        HataYaz(GirisMesajlari::BaglanilamadiFirma);
        HataYaz(GirisMesajlari::HataAyrintisi + secim.aciklama);
        return false;
    }
    return true;
}

// The criteria grid as the filter screen opens it, with the command's values written into it.
// Returns the usage error, if any.
QString FiltreyiHazirla(FiltreTablosu &FiltreGrd, const KomutSecenekleri &s)
{
    FiltreGrd.SetRowHidden(5, true);
    // The drop-down lists only serve to check the values given; without any, they are not read.
    if (!s.baslangiclar.isEmpty() || !s.bitisler.isEmpty())
        SecenekleriDoldur(FiltreGrd);
    for (const auto &[baslik, deger] : s.baslangiclar) {
        QString neden;
        if (!FiltreGrd.DegerYaz(baslik, QStringLiteral("Baslangic"), deger, &neden))
            return neden;
    }
    for (const auto &[baslik, deger] : s.bitisler) {
        QString neden;
        if (!FiltreGrd.DegerYaz(baslik, QStringLiteral("Bitis"), deger, &neden))
            return neden;
    }
    return QString();
}

// Login, grid, statement and list: what list and export share. Returns an exit code when the
// command cannot go on, or nothing.
std::optional<int> Listele(const KomutSecenekleri &s, SonucListesi &Fisgrd, AktarimSecimi &secim, bool satirlariYaz)
{
    if (!GirisYap(s))
        return Reddedildi;
    FiltreTablosu FiltreGrd;
    const QString kullanim = FiltreyiHazirla(FiltreGrd, s);
    if (!kullanim.isEmpty()) {
        HataYaz(kullanim);
        return KullanimHatasi;
    }
    if (!SorguOlustur(FiltreGrd, secim))
        return Reddedildi;
    const std::optional<int> sayi = StoklariListele(Fisgrd);
    if (!sayi)
        return Reddedildi;
    if (satirlariYaz) {
        Yaz(Degiskenler::ListeSQL + QLatin1Char('\n'));
        const int kod = Fisgrd.ColIndex(QStringLiteral("Stok_Kod"));
        const int ad = Fisgrd.ColIndex(QStringLiteral("Stok_Ad"));
        const int fiyat = Fisgrd.ColIndex(QStringLiteral("Fiyat"));
        QString blok;
        for (int r = 1; r < Fisgrd.Rows(); ++r) {
            blok += Fisgrd.TextMatrix(r, 0) + QLatin1Char('\t') + Fisgrd.TextMatrix(r, kod) + QLatin1Char('\t')
                    + Fisgrd.TextMatrix(r, ad) + QLatin1Char('\t') + Fisgrd.TextMatrix(r, fiyat) + QLatin1Char('\n');
            if (blok.size() > 1 << 16) {
                Yaz(blok);
                blok.clear();
            }
        }
        Yaz(blok);
    }
    Yaz(KayitSayisiMetni(*sayi) + QLatin1Char('\n'));
    return std::nullopt;
}

} // namespace

int DemoKomutu(const KomutSecenekleri &s)
{
    DemoAyarlari ayarlar;
    if (s.kartSayisi >= 0)
        ayarlar.kartSayisi = s.kartSayisi;
    if (s.fiyatSayisi >= 0)
        ayarlar.fiyatSayisi = s.fiyatSayisi;
    ayarlar.uzerineYaz = s.uzerineYaz;
    // A folder takes no login; a server is reached with the administrator's.
    const auto klasor = VeriTabaniBaglantisi::SQLiteKlasoru(s.dosya);
    const bool sqlServer = !s.kullanici.isEmpty();
    if (sqlServer && klasor) {
        HataYaz(QStringLiteral("%1 bir klasör: --user yalnızca SQL Server'a yazarken verilir.").arg(s.dosya));
        return KullanimHatasi;
    }
    QString hedef;
    try {
        if (sqlServer) {
            const auto sifre = SifreOku();
            if (!sifre) {
                HataYaz(QStringLiteral("Şifre verilmedi: STOKTRANSFER_PASSWORD tanımlı değil ve uçbirim yok."));
                return Reddedildi;
            }
            SqlServerDemoOlustur(s.dosya, s.kullanici, *sifre, ayarlar);
            hedef = s.dosya;
        } else {
            const QString yol = klasor.value_or(s.dosya);
            DemoOlustur(yol, ayarlar);
            hedef = QDir(yol).absolutePath();
        }
    } catch (const Hata &hata) {
        HataYaz(hata.Aciklama());
        return Reddedildi;
    }
    Yaz(QStringLiteral("Demo veritabanları yazıldı: %1\nKaynak firma 01: %2 stok kartı, kart başına %3 fiyat satırı\n")
            .arg(hedef)
            .arg(ayarlar.kartSayisi)
            .arg(ayarlar.fiyatSayisi));
    return Basarili;
}

int ListeKomutu(const KomutSecenekleri &s)
{
    SonucListesi Fisgrd;
    AktarimSecimi secim;
    if (const auto kod = Listele(s, Fisgrd, secim, true))
        return *kod;
    return Basarili;
}

int DisaAktarKomutu(const KomutSecenekleri &s)
{
    if (QFileInfo::exists(s.dosya) && !s.uzerineYaz) {
        HataYaz(QStringLiteral("%1 zaten var; üzerine yazmak için --force verin.").arg(s.dosya));
        return Reddedildi;
    }
    SonucListesi Fisgrd;
    AktarimSecimi secim;
    if (const auto kod = Listele(s, Fisgrd, secim, false))
        return *kod;
    try {
        const DisaAktarimSayilari sayilar = AktarimDosyasiYaz(s.dosya, Fisgrd, secim);
        Yaz(QStringLiteral("Dosya yazıldı: %1\nKDV grupları: %2\nFiyat tanımları: %3\nStok kartları: %4\nFiyat satırları: %5\n")
                .arg(QFileInfo(s.dosya).absoluteFilePath())
                .arg(sayilar.kdvGrubu)
                .arg(sayilar.fiyatTanimi)
                .arg(sayilar.kart)
                .arg(sayilar.fiyatSatiri));
    } catch (const Hata &hata) {
        HataYaz(QStringLiteral("Transfer Dosyası Oluşturulamadı."));
        HataYaz(hata.Aciklama());
        return Reddedildi;
    }
    return Basarili;
}

int IceAktarKomutu(const KomutSecenekleri &s)
{
    // The report's place is checked before anything is written.
    if (!s.rapor.isEmpty() && QFileInfo::exists(s.rapor) && !s.uzerineYaz) {
        HataYaz(QStringLiteral("%1 zaten var; üzerine yazmak için --force verin.").arg(s.rapor));
        return Reddedildi;
    }
    if (!GirisYap(s))
        return Reddedildi;
    std::optional<RaporDosyasi> rapor;
    std::optional<DegisiklikToplayici> toplayici;
    if (!s.rapor.isEmpty()) {
        rapor.emplace(s.rapor, RaporFirmasi());
        const QString hata = rapor->Ac();
        if (!hata.isEmpty()) {
            HataYaz(QStringLiteral("Rapor dosyası açılamadı: %1: %2").arg(s.rapor, hata));
            return Reddedildi;
        }
        toplayici.emplace(*rapor);
    }
    const IceAktarimOzeti ozet = AktarimDosyasiUygula(s.dosya, s.deneme, toplayici ? &*toplayici : nullptr);
    Yaz((s.deneme ? QStringLiteral("Deneme: hiçbir değişiklik kaydedilmedi.\n") : QString()) + OzetMetni(ozet));
    if (rapor) {
        const QString hata = rapor->Bitir();
        if (!hata.isEmpty()) {
            HataYaz(QStringLiteral("Rapor dosyası yazılamadı: %1: %2").arg(s.rapor, hata));
            return Reddedildi;
        }
        Yaz(rapor->SatirSayisi() > 0 ? QStringLiteral("Rapor yazıldı: %1 (%2 satır)\n")
                                           .arg(QFileInfo(s.rapor).absoluteFilePath())
                                           .arg(rapor->SatirSayisi())
                                     : QStringLiteral("Değişiklik yok; rapor yazılmadı.\n"));
    }
    if (s.istatistik) {
        auto satir = [](const QString &tur, int kart, const IceAktarimOzeti::KomutSayilari &k) {
            const QString ortalama = kart > 0 ? QString::number(double(k.toplam) / kart, 'f', 2) : QStringLiteral("-");
            return QStringLiteral("Komut (%1 kart): toplam %2, kart başına ortalama %3, en çok %4\n")
                .arg(tur)
                .arg(k.toplam)
                .arg(ortalama)
                .arg(k.enCok);
        };
        Yaz(satir(QStringLiteral("oluşturulan"), ozet.kartOlusturulan, ozet.komutOlusturulan)
            + satir(QStringLiteral("güncellenen"), ozet.kartGuncellenen, ozet.komutGuncellenen)
            + satir(QStringLiteral("değişmeyen"), ozet.kartDegismeyen, ozet.komutDegismeyen));
    }
    return ozet.basarili ? Basarili : Reddedildi;
}
