#include "transfer/DosyadanAl.h"

#include "common/Etkilesim.h"
#include "state/Degiskenler.h"
#include "state/Hata.h"
#include "state/RecordsetAc.h"
#include "transfer/AktarimDosyasi.h"
#include "transfer/KartAktarimi.h"
#include "transfer/OncekiDosya.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <memory>

using namespace Degiskenler;

namespace {

const QString Onay = QStringLiteral(
    "Gösterdiğiniz Dosya Okunacak ve Eğer Uygun bir Dosya ise \r* KDV Tanımları\r* Fiyat Tanımları\r* Stok Kartları \r"
    "* Stok Fiyatları\r Güncelenecektir. Bu işlem Esnasında var olan Kayıtlar Güncellenecek Olmayan Kayıtlar "
    "Oluşturulacakır.\rDevam Etmek İstiyor musunuz?");
const QString DosyaAcilamadi = QStringLiteral("Transfer Dosyası Dosya Açılamadı.");
const QString StokYok = QStringLiteral("Stok Bilgisine Rastlanmadı. İşlem Devam Etmeyecek");
const QString KdvSorgusu =
    QStringLiteral("SELECT Departman_No,Departman_Adi,KDV,0 as Kullanici_ID FROM KDVGRUPLARI ORDER BY Departman_No");
const QString FiyatTanimSorgusu = QStringLiteral("SELECT Sira_No,Fiyat_Aciklama,On_Deger FROM FIYATTANIM ORDER BY Sira_No");
const QString FiyatAciklamaKomutu = QStringLiteral("UPDATE STOKFIYAT SET Fiyat_Aciklama=? WHERE Fiyat_Sira_No=?");

// A row's text against a number of the file: numerically where the text is a number.
bool AyniSayi(const QString &metin, qint16 sayi)
{
    QString c = metin;
    c.replace(QLatin1Char(','), QLatin1Char('.'));
    bool tamam = false;
    const double d = c.toDouble(&tamam);
    return tamam ? d == double(sayi) : metin == QString::number(sayi);
}

// The file's VAT groups against the target's, row k against line k over the shorter list.
// Returns false after its own message when the import must stop.
bool KdvGruplariniKarsilastir(AktarimOkuyucu &dosya, IceAktarimOzeti &ozet)
{
    const qint64 bas = dosya.Konum();
    int sayi = 0;
    for (;;) {
        const QString satir = dosya.SatirOku();
        if (satir == Etiket::FiyatTanim)
            break;
        if (satir == Etiket::Son) {
            BitirenMesaj(ozet, StokYok, Etkilesim::Simge::Bilgi);
            return false;
        }
        ++sayi;
    }
    dosya.KonumaGit(bas);
    QVector<KDVTanim> DosyaKDV(sayi + 1);
    for (int i = 1; i <= sayi; ++i) {
        if (KdvSatiriOku(dosya.SatirOku(), DosyaKDV[i]) == -1) {
            BitirenMesaj(ozet, QStringLiteral("Dosyadan KDV Tanımları Okunamıyor. İşlem Devam Etmeyecek"),
                         Etkilesim::Simge::Kritik);
            return false;
        }
    }
    dosya.SatirOku(); // "<FIYATTANIM>"

    RecordsetAc(YardimciRS, KdvSorgusu);
    if (YardimciRS.RecordCount() == 0) {
        BitirenMesaj(ozet, QStringLiteral("hedef Firmanın KDV Tanımları Yapılmamış.İşle Devam Etmeyecek."),
                     Etkilesim::Simge::Bilgi);
        return false;
    }
    for (int k = 1; !YardimciRS.Eof() && k <= sayi; ++k, YardimciRS.MoveNext()) {
        if (!AyniSayi(YardimciRS.Metin(QStringLiteral("Departman_No")), DosyaKDV[k].Departman_No)
            || !AyniSayi(YardimciRS.Metin(QStringLiteral("KDV")), DosyaKDV[k].KDV)) {
            BitirenMesaj(ozet,
                         QStringLiteral("Bilgilerin Okunduğu Firma ile Hedef Firmanın KDV Tanımları Birbirine Uymuyor. "
                                        "İşlemin Devam Etmesi Kayıtlı Bilgilerin Bozulmasına Neden Olacağından İşlem "
                                        "Devam Ettirilmeyecek!!!"),
                         Etkilesim::Simge::Kritik);
            return false;
        }
    }
    return true;
}

// Gives every stock price of a level the level's new caption. A failure is reported the way
// the recordset routines report theirs, and the import goes on.
void FiyatAciklamalariniYaz(const FiyatTanimSatiri &tanim)
{
    try {
        QSqlQuery &komut = Baglanti.Hazirla(FiyatAciklamaKomutu);
        komut.bindValue(0, tanim.Fiyat_Aciklama.isNull() ? QStringLiteral("") : tanim.Fiyat_Aciklama);
        komut.bindValue(1, tanim.Sira_No);
        Baglanti.Yurut(komut);
    } catch (const Hata &hata) {
        Operator().Mesaj(hata.Aciklama(), Etkilesim::Simge::Kritik);
        Operator().Mesaj(FiyatAciklamaKomutu, Etkilesim::Simge::Kritik);
    }
}

// Brings the target's price definitions in line with the file's. Returns false after its own
// message when the import must stop; the reader then stands after "<STOKKART>".
bool FiyatTanimlariniUygula(AktarimOkuyucu &dosya, IceAktarimOzeti &ozet)
{
    RecordsetAcDuzenle(ListeRS, FiyatTanimSorgusu);
    const int siraSutunu = ListeRS.FieldIndex(QStringLiteral("Sira_No"));
    const int aciklamaSutunu = ListeRS.FieldIndex(QStringLiteral("Fiyat_Aciklama"));
    const int onDegerSutunu = ListeRS.FieldIndex(QStringLiteral("On_Deger"));
    for (;;) {
        const QString satir = dosya.SatirOku();
        if (satir == Etiket::StokKart)
            break;
        if (satir == Etiket::Son) {
            BitirenMesaj(ozet, StokYok, Etkilesim::Simge::Bilgi);
            return false;
        }
        FiyatTanimSatiri tanim;
        if (FiyatTanimSatiriOku(satir, tanim) == -1) {
            BitirenMesaj(ozet, QStringLiteral("Fiyat Tanımları Dosyadan Okunamadı"), Etkilesim::Simge::Kritik);
            return false;
        }
        ListeRS.MoveFirst();
        while (!ListeRS.Eof()) {
            const QVariant sira = ListeRS.Deger(siraSutunu);
            if (!sira.isNull() && sira.toInt() == tanim.Sira_No)
                break;
            ListeRS.MoveNext();
        }
        const bool yeni = ListeRS.Eof();
        if (yeni)
            ListeRS.AddNew();
        // A new row takes every value; in an existing one a NULL is never seen as different.
        bool degisti = false;
        const QVariant sira = ListeRS.Deger(siraSutunu);
        if (yeni || (!sira.isNull() && sira.toInt() != tanim.Sira_No)) {
            ListeRS.DegerYaz(siraSutunu, tanim.Sira_No);
            degisti = true;
        }
        if (yeni || (!ListeRS.Deger(aciklamaSutunu).isNull() && ListeRS.Metin(aciklamaSutunu) != tanim.Fiyat_Aciklama)) {
            ListeRS.MetinYaz(aciklamaSutunu, tanim.Fiyat_Aciklama.isNull() ? QStringLiteral("") : tanim.Fiyat_Aciklama);
            degisti = true;
        }
        const QVariant onDeger = ListeRS.Deger(onDegerSutunu);
        if (yeni || (!onDeger.isNull() && EvetHayir(onDeger.toString()) != tanim.On_Deger)) {
            ListeRS.DegerYaz(onDegerSutunu, Baglanti.SaklanacakBit(tanim.On_Deger));
            degisti = true;
        }
        if (degisti) {
            ListeRS.UpdateBatch();
            if (yeni) {
                ++ozet.fiyatTanimiEklenen;
            } else {
                ++ozet.fiyatTanimiGuncellenen;
                FiyatAciklamalariniYaz(tanim);
            }
        }
    }
    return true;
}

// Regions 2 to 7 on a chosen file, the consent already given.
void Uygula(const QString &yol, IceAktarimOzeti &ozet)
{
    if (!QFileInfo::exists(yol)) {
        BitirenMesaj(ozet, QStringLiteral("Yazdığınız İsimde Bir Dosya Bulunamadı"), Etkilesim::Simge::Kritik);
        return;
    }
    std::unique_ptr<AktarimOkuyucu> dosya;
    try {
        dosya = std::make_unique<AktarimOkuyucu>(yol);
        if (dosya->SatirOku() != Etiket::KdvGruplari) {
            BitirenMesaj(ozet, QStringLiteral("Dosya Bir Ravelko Dosyası Değil "), Etkilesim::Simge::Kritik);
            return;
        }
    } catch (const Hata &hata) {
        BitirenMesaj(ozet, DosyaAcilamadi, Etkilesim::Simge::Kritik, hata.Aciklama());
        return;
    }

    try {
        if (!KdvGruplariniKarsilastir(*dosya, ozet))
            return;
    } catch (const Hata &hata) {
        BitirenMesaj(ozet, QStringLiteral("Sayma Hatası!!!\r") + StokYok, Etkilesim::Simge::Bilgi);
        Operator().Mesaj(hata.Aciklama());
        return;
    }

    try {
        if (!FiyatTanimlariniUygula(*dosya, ozet))
            return;
    } catch (const Hata &) {
        BitirenMesaj(ozet, QStringLiteral("Fiyat Tanımları Hatası!!!\r") + StokYok, Etkilesim::Simge::Bilgi);
        return;
    }

    KartlariAktar(*dosya, ozet);
}

} // namespace

void BitirenMesaj(IceAktarimOzeti &ozet, const QString &metin, Etkilesim::Simge simge, const QString &baslik)
{
    ozet.basarili = false;
    ozet.mesaj = metin;
    Operator().Mesaj(metin, simge, Etkilesim::Dugmeler::Tamam, baslik);
}

IceAktarimOzeti AktarimDosyasiUygula(const QString &yol, bool deneme)
{
    IceAktarimOzeti ozet;
    if (deneme)
        Baglanti.IslemBaslat();
    try {
        Uygula(yol, ozet);
    } catch (...) {
        if (deneme)
            Baglanti.IslemGeriAl();
        throw;
    }
    if (deneme)
        Baglanti.IslemGeriAl();
    return ozet;
}

void DosyadanAl()
{
    QString yol;
    try {
        const auto secilen = Operator().DosyaSec(OncekiDosyaOku(), Etkilesim::Dosya::Ac);
        if (!secilen || secilen->isEmpty())
            return;
        yol = *secilen;
        // Remembered before the consent: a "No" keeps the new name.
        OncekiDosyaYaz(yol);
    } catch (const Hata &hata) {
        Operator().Mesaj(DosyaAcilamadi, Etkilesim::Simge::Kritik, Etkilesim::Dugmeler::Tamam, hata.Aciklama());
        return;
    }
    if (Operator().Mesaj(Onay, Etkilesim::Simge::Soru, Etkilesim::Dugmeler::EvetHayir) != Etkilesim::Evet)
        return;
    AktarimDosyasiUygula(yol, false);
}
