#include "transfer/DosyaOlustur.h"

#include "common/Etkilesim.h"
#include "common/Ilerleme.h"
#include "filter/SonucListesi.h"
#include "state/Degiskenler.h"
#include "state/Hata.h"
#include "state/RecordsetAc.h"
#include "transfer/AktarimDosyasi.h"
#include "transfer/OncekiDosya.h"

#include <QFileInfo>

using namespace Degiskenler;

namespace {

const QString KdvSorgusu =
    QStringLiteral("SELECT Departman_No,Departman_Adi,KDV,0 as Kullanici_ID FROM KDVGRUPLARI ORDER BY Departman_No");
const QString FiyatTanimSorgusu = QStringLiteral("SELECT Sira_No,Fiyat_Aciklama,On_Deger FROM FIYATTANIM ORDER BY Sira_No");
const QString KartSutunSorgusu = QStringLiteral(
    "SELECT TOP 1 STOKKART.*,KDVGRUPLARI.Departman_No FROM STOKKART,KDVGRUPLARI WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID");

// The current record's values as file texts; a value that would break the file stops the
// export with the card (or table) and the column named.
QStringList KayitDegerleri(const Recordset &rs, int sutunSayisi, const QString &nerede)
{
    QStringList degerler;
    for (int i = 0; i < sutunSayisi; ++i) {
        const QString metin = rs.Metin(i);
        const QString neden = DegerYazilamazNedeni(metin);
        if (!neden.isEmpty())
            throw Hata(QStringLiteral("%1, %2 sütunu: %3.").arg(nerede, rs.FieldName(i), neden));
        degerler << metin;
    }
    return degerler;
}

// Only an integer id goes into the statements.
QString KimlikMetni(const QString &metin)
{
    bool tamam = false;
    const qlonglong id = metin.trimmed().toLongLong(&tamam);
    if (!tamam)
        throw Hata(QStringLiteral("Listedeki Stok_ID geçersiz: '%1'").arg(metin));
    return QString::number(id);
}

} // namespace

DisaAktarimSayilari AktarimDosyasiYaz(const QString &yol, const SonucListesi &Fisgrd, const AktarimSecimi &secim)
{
    DisaAktarimSayilari sayilar;
    AktarimYazici dosya(yol);

    dosya.SatirYaz(Etiket::KdvGruplari);
    RecordsetAc(ListeRS, KdvSorgusu);
    Operator().MesajLblYaz(QStringLiteral("KDV GRUPLARI Oluşturuluyor....."));
    KartBar().Ayarla(ListeRS.RecordCount(), 0);
    Operator().FrameBarGoster(true);
    while (!ListeRS.Eof()) {
        dosya.SatirYaz(DegerSatiri(KayitDegerleri(ListeRS, ListeRS.FieldCount(), QStringLiteral("KDVGRUPLARI"))));
        ++sayilar.kdvGrubu;
        IlerlemeArttir(KartBar(), 1);
        Operator().BekleyenOlaylariIsle();
        ListeRS.MoveNext();
    }

    dosya.SatirYaz(Etiket::FiyatTanim);
    RecordsetAc(ListeRS, FiyatTanimSorgusu);
    Operator().MesajLblYaz(QStringLiteral("FİYAT TANIMLARI Oluşturuluyor....."));
    KartBar().Ayarla(ListeRS.RecordCount(), 0);
    Operator().FrameBarGoster(true);
    while (!ListeRS.Eof()) {
        dosya.SatirYaz(DegerSatiri(KayitDegerleri(ListeRS, ListeRS.FieldCount(), QStringLiteral("FIYATTANIM"))));
        ++sayilar.fiyatTanimi;
        ListeRS.MoveNext();
        IlerlemeArttir(KartBar(), 1);
        Operator().BekleyenOlaylariIsle();
    }
    Operator().FrameBarGoster(false);

    QString kartSatiri;
    QString fiyatOnEki;
    int degerSayisi = 0;
    if (Fisgrd.Rows() > 1) {
        dosya.SatirYaz(Etiket::StokKart);
        RecordsetAc(ListeRS, KartSutunSorgusu);
        degerSayisi = ListeRS.FieldCount() - 2;
        dosya.SatirYaz(SayiSatiri(degerSayisi));
        QStringList adlar;
        for (int i = 0; i < ListeRS.FieldCount(); ++i)
            adlar << ListeRS.FieldName(i);
        kartSatiri = KartSutunSatiri(adlar);
        dosya.SatirYaz(kartSatiri);
        dosya.SatirYaz(Etiket::StokFiyat);
        fiyatOnEki = FiyatOnEki(secim.Satis_Dahil, secim.Alis_Dahil);
        dosya.SatirYaz(fiyatOnEki);
    }

    Operator().MesajLblYaz(QStringLiteral("Dosya Oluşturuluyor....."));
    KartBar().Ayarla(Fisgrd.Rows(), 0);
    Operator().FrameBarGoster(true);
    const int idSutunu = Fisgrd.ColIndex(QStringLiteral("Stok_ID"));
    // The list is read again before every row: rows removed meanwhile are left out.
    for (int r = 1; r < Fisgrd.Rows(); ++r) {
        dosya.SatirYaz(Etiket::Stok);
        const QString id = KimlikMetni(Fisgrd.TextMatrix(r, idSutunu));
        RecordsetAc(ListeRS, kartSatiri + QStringLiteral(" AND Stok_ID=") + id);
        if (ListeRS.Eof())
            throw Hata(QStringLiteral("Listedeki %1 numaralı stok kartı veritabanında bulunamadı.").arg(id));
        const QString stokKod = ListeRS.Metin(0);
        const QString kart = QStringLiteral("Stok kodu %1").arg(stokKod);
        dosya.SatirYaz(DegerSatiri(KayitDegerleri(ListeRS, degerSayisi, kart)));
        ++sayilar.kart;

        RecordsetAc(ListeRS, fiyatOnEki + QStringLiteral(" WHERE Stok_ID=") + id + QStringLiteral(" ORDER BY Fiyat_Sira_No"));
        while (!ListeRS.Eof()) {
            bool tamam = false;
            const int seviye = ListeRS.Metin(0).toInt(&tamam);
            if (!tamam || seviye < 0 || seviye > 10)
                throw Hata(QStringLiteral("%1: fiyat seviyesi %2, 0 ile 10 arasında değil.").arg(kart, ListeRS.Metin(0)));
            if (secim.Fiyat_Secimi[size_t(seviye)]) {
                dosya.SatirYaz(DegerSatiri(KayitDegerleri(ListeRS, ListeRS.FieldCount(), kart)));
                ++sayilar.fiyatSatiri;
            }
            ListeRS.MoveNext();
        }
        IlerlemeArttir(KartBar(), 1);
        if (r % 20 == 0)
            Operator().BekleyenOlaylariIsle();
    }

    dosya.SatirYaz(Etiket::Son);
    dosya.Tamamla();
    return sayilar;
}

void DosyaOlustur(const SonucListesi &Fisgrd, const AktarimSecimi &secim)
{
    const auto secilen = Operator().DosyaSec(OncekiDosyaOku(), Etkilesim::Dosya::Kaydet);
    if (!secilen || secilen->isEmpty())
        return;
    const QString yol = *secilen;
    if (QFileInfo::exists(yol)
        && Operator().Mesaj(QStringLiteral("Dosya Var Üzerine Yazılacktır.Onaylıyormusunuz"), Etkilesim::Simge::Soru,
                            Etkilesim::Dugmeler::EvetHayir)
               != Etkilesim::Evet)
        return;
    try {
        OncekiDosyaYaz(yol);
        AktarimDosyasiYaz(yol, Fisgrd, secim);
    } catch (const Hata &hata) {
        Operator().Mesaj(QStringLiteral("Transfer Dosyası Oluşturulamadı.\r") + hata.Aciklama(), Etkilesim::Simge::Kritik);
        return;
    }
    KartBar().DegerYaz(KartBar().Maksimum());
    Operator().Mesaj(QStringLiteral("İşlem Tamamlandı"));
    Operator().FrameBarGoster(false);
}
