#include "support/SahteEtkilesim.h"

#include <QTest>

namespace {
const char *SimgeAdi(Etkilesim::Simge simge)
{
    switch (simge) {
    case Etkilesim::Simge::Yok: return "Yok";
    case Etkilesim::Simge::Kritik: return "Kritik";
    case Etkilesim::Simge::Soru: return "Soru";
    case Etkilesim::Simge::Bilgi: return "Bilgi";
    }
    return "?";
}
} // namespace

SahteEtkilesim::SahteEtkilesim()
{
    OperatorKur(this);
}

SahteEtkilesim::~SahteEtkilesim()
{
    OperatorKur(nullptr);
    Bitti();
}

void SahteEtkilesim::Basarisiz(const QString &neden)
{
    // The first failure of a test is the one worth reading.
    if (!QTest::currentTestFailed())
        QTest::qFail(qPrintable(neden), __FILE__, __LINE__);
}

bool SahteEtkilesim::Bitti()
{
    bool tamam = true;
    if (!m_beklenen.isEmpty()) {
        Basarisiz(QStringLiteral("message box announced but not shown: \"%1\"")
                      .arg(m_beklenen.head().desen.pattern().isEmpty() ? m_beklenen.head().metin : m_beklenen.head().desen.pattern()));
        tamam = false;
    }
    if (!dosyalar.isEmpty()) {
        Basarisiz(QStringLiteral("%1 file dialog answer(s) left unused").arg(dosyalar.size()));
        tamam = false;
    }
    m_beklenen.clear();
    dosyalar.clear();
    return tamam;
}

void SahteEtkilesim::Bekle(const QString &metin, Simge simge, int cevap)
{
    m_beklenen.enqueue({metin, QRegularExpression(), simge, cevap});
}

void SahteEtkilesim::Bekle(const QRegularExpression &desen, Simge simge, int cevap)
{
    m_beklenen.enqueue({QString(), QRegularExpression(QRegularExpression::anchoredPattern(desen.pattern()), desen.patternOptions()),
                        simge, cevap});
}

void SahteEtkilesim::BekleSorguHatasi(const QString &gosterilen, const QString &neden)
{
    Bekle(QRegularExpression(neden, QRegularExpression::DotMatchesEverythingOption), Simge::Kritik);
    Bekle(gosterilen, Simge::Kritik);
}

int SahteEtkilesim::Mesaj(const QString &metin, Simge simge, Dugmeler dugmeler, const QString &baslik)
{
    kutular.append({metin, simge, dugmeler, baslik});
    const int bos = dugmeler == Dugmeler::Tamam ? Tamam : Hayir;
    if (m_beklenen.isEmpty()) {
        Basarisiz(QStringLiteral("unexpected message box (%1): \"%2\"").arg(QLatin1String(SimgeAdi(simge)), metin));
        return bos;
    }
    const Beklenen b = m_beklenen.dequeue();
    const bool ayni = b.desen.pattern().isEmpty() ? b.metin == metin : b.desen.match(metin).hasMatch();
    if (!ayni || b.simge != simge) {
        Basarisiz(QStringLiteral("message box (%1) \"%2\"\n   where (%3) \"%4\" was expected")
                      .arg(QLatin1String(SimgeAdi(simge)), metin, QLatin1String(SimgeAdi(b.simge)),
                           b.desen.pattern().isEmpty() ? b.metin : b.desen.pattern()));
        return bos;
    }
    return dugmeler == Dugmeler::Tamam ? Tamam : b.cevap;
}

std::optional<QString> SahteEtkilesim::DosyaSec(const QString &onerilen, Dosya)
{
    onerilenDosyalar << onerilen;
    if (dosyalar.isEmpty()) {
        Basarisiz(QStringLiteral("unexpected file dialog (proposed: \"%1\")").arg(onerilen));
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

bool SahteEtkilesim::OnizlemeGoster(const Onizleme &onizleme)
{
    ++onizlemeSayisi;
    if (!onizlemede) {
        Basarisiz(QStringLiteral("unexpected preview window"));
        return false;
    }
    return onizlemede(onizleme);
}
