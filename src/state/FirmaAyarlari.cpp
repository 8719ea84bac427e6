#include "state/FirmaAyarlari.h"

#include "state/Degiskenler.h"
#include "state/Hata.h"
#include "state/RecordsetAc.h"

#include <cmath>
#include <limits>

QString ParaFormati(int ondalik)
{
    QString bicim = QStringLiteral("#,##");
    for (int i = 1; i <= ondalik; ++i) {
        if (i == 1)
            bicim += QLatin1Char('.');
        bicim += QLatin1Char('#');
    }
    return bicim;
}

namespace {

struct Okuyucu {
    const Recordset &rs;

    QVariant Ham(const char *sutun) const
    {
        const QString ad = QString::fromLatin1(sutun);
        if (rs.FieldIndex(ad) < 0)
            throw Hata(QStringLiteral("Firma ayarı okunamadı: \"%1\" sütunu yok.").arg(ad));
        const QVariant deger = rs.Deger(ad);
        if (deger.isNull())
            throw Hata(QStringLiteral("Firma ayarı okunamadı: \"%1\" boş.").arg(ad));
        return deger;
    }

    // A whole number in [enAz, enCok]; fractions are rounded half to even, as the platform's
    // conversions do.
    qint64 Tamsayi(const char *sutun, qint64 enAz, qint64 enCok) const
    {
        const QVariant deger = Ham(sutun);
        bool tamam = false;
        double sayi;
        if (deger.typeId() == QMetaType::QString) {
            QString metin = deger.toString().trimmed();
            metin.replace(QLatin1Char(','), QLatin1Char('.'));
            sayi = metin.toDouble(&tamam);
        } else {
            sayi = deger.toDouble(&tamam);
        }
        if (tamam)
            sayi = std::nearbyint(sayi);
        if (!tamam || !std::isfinite(sayi) || sayi < double(enAz) || sayi > double(enCok))
            throw Hata(QStringLiteral("Firma ayarı okunamadı: \"%1\" değeri (%2) geçersiz.")
                           .arg(QString::fromLatin1(sutun), deger.toString()));
        return qint64(sayi);
    }

    qint32 Uzun(const char *sutun) const
    {
        return qint32(Tamsayi(sutun, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
    }
    quint8 Bayt(const char *sutun) const { return quint8(Tamsayi(sutun, 0, 255)); }

    bool Mantiksal(const char *sutun) const
    {
        const QVariant deger = Ham(sutun);
        if (deger.typeId() == QMetaType::Bool)
            return deger.toBool();
        const QString metin = deger.toString().trimmed();
        if (metin.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (metin.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        return Tamsayi(sutun, std::numeric_limits<qint64>::min() / 2, std::numeric_limits<qint64>::max() / 2) != 0;
    }
};

} // namespace

void FirmaAyarlariniOku()
{
    using namespace Degiskenler;
    Recordset rs;
    RecordsetAc(rs, QStringLiteral("SELECT * FROM sysfrmlng WHERE sysfrm_ID=") + QString::number(FirmaID));
    if (rs.RecordCount() == 0) // a statement that failed leaves rs closed: this throws
        throw Hata(QStringLiteral("Firma ayarı okunamadı: %1 numaralı firma tanımlı değil.").arg(FirmaID));

    // Everything is read first, so that a bad row changes nothing.
    const Okuyucu oku{rs};
    const qint32 anaParaVirgul = oku.Uzun("AnaParaVirgul");
    const qint32 dovizVirgul = oku.Uzun("DovizVirgul");
    const qint32 kurVirgul = oku.Uzun("KurVirgul");
    const bool dovizVar = oku.Mantiksal("DovizVar");
    const bool renkBedenVar = oku.Mantiksal("RenkBedenVar");
    const bool posVar = oku.Mantiksal("PosVar");
    const bool barkodVar = oku.Mantiksal("BarkodVar");
    const bool hareketKilit = oku.Mantiksal("HareketKilit");
    const quint8 ozelRenkli = oku.Bayt("OzelRenkli");
    const qint32 renkOzel = oku.Uzun("Renk_Ozel");
    const qint32 renkTL = oku.Uzun("Renk_TL");
    const qint32 renkDoviz = oku.Uzun("Renk_Doviz");
    const bool satirISK = oku.Mantiksal("SatirISK_Dahil");
    const bool faturaAltiISK = oku.Mantiksal("FaturaAltiISK_Dahil");
    const bool masraflar = oku.Mantiksal("Masraflar_Dahil");
    const quint8 minSeviye = oku.Bayt("StokMinSeviye");
    const qint32 minRenk = oku.Uzun("StokMinRenk");
    const quint8 maxSeviye = oku.Bayt("StokMaxSeviye");
    const qint32 maxRenk = oku.Uzun("StokMaxRenk");
    const quint8 sfrSeviye = oku.Bayt("StokSFRSeviye");
    const qint32 sfrRenk = oku.Uzun("StokSFRRenk");

    AnaParaVirgul = anaParaVirgul;
    AnaParaFormat = ParaFormati(anaParaVirgul);
    DovizVirgul = dovizVirgul;
    DovizFormat = ParaFormati(dovizVirgul);
    KurVirgul = kurVirgul;
    KurFormat = ParaFormati(kurVirgul);
    DovizVar = dovizVar;
    RenkBedenVar = renkBedenVar;
    PosVar = posVar;
    BarkodVar = barkodVar;
    HareketKilit = hareketKilit;
    OzelRenkli = ozelRenkli;
    Renk_Ozel = renkOzel;
    Renk_TL = renkTL;
    Renk_Doviz = renkDoviz;
    SatirISK_Dahil = satirISK;
    FaturaAltiISK_Dahil = faturaAltiISK;
    Masraflar_Dahil = masraflar;
    StokMinSeviye = minSeviye;
    StokMinRenk = minRenk;
    StokMaxSeviye = maxSeviye;
    StokMaxRenk = maxRenk;
    StokSFRSeviye = sfrSeviye;
    StokSFRRenk = sfrRenk;
}
