#include "cli/UcbirimEtkilesimi.h"

#include <cstdio>
#include <unistd.h>

namespace {
void Yaz(const QString &metin)
{
    const QByteArray baytlar = metin.toUtf8();
    std::fwrite(baytlar.constData(), 1, size_t(baytlar.size()), stderr);
    std::fflush(stderr);
}
} // namespace

UcbirimEtkilesimi::UcbirimEtkilesimi() : m_terminal(isatty(STDERR_FILENO) == 1) {}

void UcbirimEtkilesimi::SatiriBitir()
{
    if (m_satirAcik) {
        Yaz(QStringLiteral("\n"));
        m_satirAcik = false;
    }
}

int UcbirimEtkilesimi::Mesaj(const QString &metin, Simge simge, Dugmeler dugmeler, const QString &baslik)
{
    if (dugmeler == Dugmeler::EvetHayir)
        return Evet;
    SatiriBitir();
    QString satir = metin;
    satir.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!baslik.isEmpty())
        satir = baslik.trimmed() + QStringLiteral(": ") + satir;
    if (simge == Simge::Kritik) {
        m_sonHata = metin;
        ++m_hataSayisi;
    }
    Yaz(satir + QLatin1Char('\n'));
    return Tamam;
}

std::optional<QString> UcbirimEtkilesimi::DosyaSec(const QString &, Dosya)
{
    return std::nullopt;
}

void UcbirimEtkilesimi::KartBarAyarla(double, double) {}

void UcbirimEtkilesimi::BarFrameYaz(const QString &baslik)
{
    if (!m_terminal || baslik == m_sonYuzde)
        return;
    m_sonYuzde = baslik;
    Yaz(QStringLiteral("\r%1 %2\x1b[K").arg(m_durum, baslik));
    m_satirAcik = true;
}

void UcbirimEtkilesimi::FrameBarGoster(bool gorunur)
{
    if (!gorunur)
        SatiriBitir();
    m_sonYuzde.clear();
}

void UcbirimEtkilesimi::MesajLblYaz(const QString &metin)
{
    m_durum = metin;
}
