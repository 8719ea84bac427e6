#include "support/SahteEtkilesim.h"

#include <QTest>

namespace {
QLatin1String SimgeAdi(Etkilesim::Simge simge)
{
    static const char *const adlar[] = {"Yok", "Kritik", "Soru", "Bilgi"};
    return QLatin1String(adlar[int(simge)]);
}

void Basarisiz(const QString &neden)
{
    // The first failure of a test is the one worth reading.
    if (!QTest::currentTestFailed())
        QTest::qFail(qPrintable(neden), __FILE__, __LINE__);
}
} // namespace

SahteEtkilesim::~SahteEtkilesim()
{
    OperatorKur(nullptr);
    Bitti();
}

bool SahteEtkilesim::Bitti()
{
    const bool tamam = m_beklenen.isEmpty() && dosyalar.isEmpty();
    if (!m_beklenen.isEmpty())
        Basarisiz(QStringLiteral("message box announced but not shown: \"%1\"").arg(m_beklenen.head().gosterim));
    if (!dosyalar.isEmpty())
        Basarisiz(QStringLiteral("%1 file dialog answer(s) left unused").arg(dosyalar.size()));
    m_beklenen.clear();
    dosyalar.clear();
    return tamam;
}

void SahteEtkilesim::Bekle(const QRegularExpression &desen, Simge simge, int cevap)
{
    m_beklenen.enqueue({desen.pattern(),
                        QRegularExpression(QRegularExpression::anchoredPattern(desen.pattern()), desen.patternOptions()),
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
    const int bos = dugmeler == Dugmeler::Tamam ? Tamam : Hayir; // the safe answer to a surprise
    if (m_beklenen.isEmpty()) {
        Basarisiz(QStringLiteral("unexpected message box (%1): \"%2\"").arg(SimgeAdi(simge), metin));
        return bos;
    }
    const Beklenen b = m_beklenen.dequeue();
    const bool ayni = b.desen.pattern().isEmpty() ? b.gosterim == metin : b.desen.match(metin).hasMatch();
    if (!ayni || b.simge != simge) {
        Basarisiz(QStringLiteral("message box (%1) \"%2\"\n   where (%3) \"%4\" was expected")
                      .arg(SimgeAdi(simge), metin, SimgeAdi(b.simge), b.gosterim));
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

bool SahteEtkilesim::OnizlemeGoster(const Onizleme &onizleme)
{
    ++onizlemeSayisi;
    if (!onizlemede) {
        Basarisiz(QStringLiteral("unexpected preview window"));
        return false;
    }
    return onizlemede(onizleme);
}
