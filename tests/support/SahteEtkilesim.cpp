#include "support/SahteEtkilesim.h"

SahteEtkilesim::SahteEtkilesim()
{
    OperatorKur(this);
}

SahteEtkilesim::~SahteEtkilesim()
{
    OperatorKur(nullptr);
}

int SahteEtkilesim::Mesaj(const QString &metin, Simge simge, Dugmeler dugmeler, const QString &baslik)
{
    kutular.append({metin, simge, dugmeler, baslik});
    if (dugmeler == Dugmeler::Tamam)
        return Tamam;
    if (cevaplar.isEmpty()) {
        beklenmeyen << metin;
        return Hayir;
    }
    return cevaplar.dequeue();
}

std::optional<QString> SahteEtkilesim::DosyaSec(const QString &onerilen, Dosya)
{
    onerilenDosyalar << onerilen;
    if (dosyalar.isEmpty()) {
        beklenmeyen << QStringLiteral("dosya diyaloğu");
        return std::nullopt;
    }
    return dosyalar.dequeue();
}

void SahteEtkilesim::KartBarAyarla(double maksimum, double deger)
{
    kartBarMaks = maksimum;
    kartBarDeger = deger;
}

void SahteEtkilesim::BarFrameYaz(const QString &baslik)
{
    yuzdeler << baslik;
}

void SahteEtkilesim::FrameBarGoster(bool gorunur)
{
    frameBarGorunur = gorunur;
    if (gorunur)
        ++frameBarGosterildi;
}

void SahteEtkilesim::MesajLblYaz(const QString &metin)
{
    mesajLbl << metin;
}

void SahteEtkilesim::BekleyenOlaylariIsle()
{
    ++olayIsleme;
    if (olaylarda)
        olaylarda();
}

void SahteEtkilesim::PanoyaYaz(const QString &metin)
{
    pano = metin;
    ++panoYazma;
}

QStringList SahteEtkilesim::Metinler() const
{
    QStringList metinler;
    for (const Kutu &k : kutular)
        metinler << k.metin;
    return metinler;
}

bool SahteEtkilesim::OnizlemeGoster(const Onizleme &onizleme)
{
    ++onizlemeSayisi;
    if (!onizlemede) {
        beklenmeyen << QStringLiteral("önizleme");
        return false;
    }
    return onizlemede(onizleme);
}
