#include "filter/StokListesi.h"

#include "common/Etkilesim.h"
#include "common/Ilerleme.h"
#include "filter/SonucListesi.h"
#include "state/DegerMetin.h"
#include "state/Degiskenler.h"
#include "state/RecordsetAc.h"

using Degiskenler::ListeRS;

QString KayitSayisiMetni(int sayi)
{
    return KayitSayisiBasligi + QString::number(sayi);
}

std::optional<int> StoklariListele(SonucListesi &Fisgrd)
{
    Fisgrd.SetRows(1);
    RecordsetAc(ListeRS, Degiskenler::ListeSQL);
    if (!ListeRS.Acik())
        return std::nullopt;
    const int sayi = ListeRS.RecordCount();
    if (sayi == 0)
        return 0;

    Operator().MesajLblYaz(QStringLiteral("Kayıt Getiriliyor....."));
    KartBar().Ayarla(sayi, 0);
    Operator().FrameBarGoster(true);

    const int id = ListeRS.FieldIndex(QStringLiteral("Stok_ID"));
    const int kod = ListeRS.FieldIndex(QStringLiteral("Stok_Kod"));
    const int ad = ListeRS.FieldIndex(QStringLiteral("Stok_Ad"));
    const int fiyat = ListeRS.FieldIndex(QStringLiteral("Ana_Birim_Fiyat"));
    const int cNo = 0;
    const int cId = Fisgrd.ColIndex(QStringLiteral("Stok_ID"));
    const int cKod = Fisgrd.ColIndex(QStringLiteral("Stok_Kod"));
    const int cAd = Fisgrd.ColIndex(QStringLiteral("Stok_Ad"));
    const int cFiyat = Fisgrd.ColIndex(QStringLiteral("Fiyat"));

    // Rows reach the model in batches, each before the window gets to repaint, so a long
    // list costs one insertion per batch instead of one per row.
    QVector<SonucListesi::Satir> bekleyen;
    bekleyen.reserve(20);
    int satir = Fisgrd.Rows() - 1;
    while (!ListeRS.Eof()) {
        ++satir;
        SonucListesi::Satir s;
        s[cNo] = QString::number(satir);
        s[cId] = DegerMetni(ListeRS.Deger(id), ListeRS.Sutun(id).tip);
        s[cKod] = ListeRS.Metin(kod);
        s[cAd] = ListeRS.Metin(ad);
        s[cFiyat] = ListeRS.Metin(fiyat);
        bekleyen.append(s);
        ListeRS.MoveNext();
        IlerlemeArttir(KartBar(), 1);
        if (satir % 20 == 0) {
            Fisgrd.SatirlariEkle(bekleyen);
            bekleyen.clear();
            Operator().BekleyenOlaylariIsle();
        }
    }
    Fisgrd.SatirlariEkle(bekleyen);
    Operator().FrameBarGoster(false);
    return sayi;
}
