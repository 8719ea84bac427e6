#include "common/Ilerleme.h"

#include "common/Etkilesim.h"

#include <cmath>

void IlerlemeCubugu::Ayarla(double maksimum, double deger)
{
    m_maksimum = maksimum;
    m_deger = deger;
    Operator().KartBarAyarla(m_maksimum, m_deger);
}

void IlerlemeCubugu::DegerYaz(double deger)
{
    m_deger = deger;
    Operator().KartBarAyarla(m_maksimum, m_deger);
}

IlerlemeCubugu &KartBar()
{
    static IlerlemeCubugu bar;
    return bar;
}

QString YuzdeMetni(double deger, double maksimum)
{
    if (!(maksimum > 0))
        return QStringLiteral("0%");
    const float yuzde = float(deger) * 100.0f / float(maksimum);
    return QString::number(static_cast<long long>(std::lround(yuzde))) + QLatin1Char('%');
}

void IlerlemeArttir(IlerlemeCubugu &bar, int adim)
{
    // The bar control refuses values above its maximum; the text still tells the truth.
    const float yeni = float(bar.Deger()) + float(adim);
    const double gosterilen = bar.Maksimum() > 0 ? qMin<double>(yeni, bar.Maksimum()) : 0.0;
    bar.DegerYaz(gosterilen);
    Operator().BarFrameYaz(YuzdeMetni(gosterilen, bar.Maksimum()));
}
