#include "filter/StokListesi.h"

#include "common/Etkilesim.h"
#include "common/Ilerleme.h"
#include "filter/SonucListesi.h"
#include "state/DegerMetin.h"
#include "state/Degiskenler.h"
#include "state/RecordsetAc.h"

#include <QElapsedTimer>

using Degiskenler::ListeRS;

namespace {
constexpr qint64 EklemeAraligiMs = 200;
}

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

    // Rows reach the model in batches, a few times a second: each insertion makes the list
    // repaint at the next pause, and a repaint every 20 rows would cost more than the reading.
    QVector<SonucListesi::Satir> bekleyen;
    QElapsedTimer sonEkleme;
    sonEkleme.start();
    int satir = Fisgrd.Rows() - 1;
    while (!ListeRS.Eof()) {
        ++satir;
        SonucListesi::Satir s;
        s[cNo] = QString::number(satir);
        s[cId] = DegerMetni(ListeRS.Deger(id), ListeRS.Sutun(id).tip);
        s[cKod] = ListeRS.Metin(kod);
        s[cAd] = ListeRS.Metin(ad);
        s[cFiyat] = ListeRS.Metin(fiyat);
        bekleyen.append(std::move(s));
        ListeRS.MoveNext();
        IlerlemeArttir(KartBar(), 1);
        if (satir % 20 == 0) {
            if (sonEkleme.elapsed() >= EklemeAraligiMs) {
                Fisgrd.SatirlariEkle(std::move(bekleyen));
                bekleyen = {};
                sonEkleme.restart();
            }
            Operator().BekleyenOlaylariIsle();
        }
    }
    Fisgrd.SatirlariEkle(std::move(bekleyen));
    Operator().FrameBarGoster(false);
    return sayi;
}
