#include "state/TutarliOkuma.h"

#include "state/Baglanti.h"
#include "state/Hata.h"

TutarliOkuma::TutarliOkuma(VeriTabaniBaglantisi &baglanti) : m_baglanti(baglanti)
{
    if (m_baglanti.IslemDerinligi() != 0)
        return;
    m_butun = m_baglanti.OkumaBaslat();
    m_acik = true;
}

TutarliOkuma::~TutarliOkuma()
{
    if (!m_acik)
        return;
    try {
        m_baglanti.OkumaBitir();
    } catch (const Hata &) {
        // Nothing was written; the failure that left the read early is the one to report.
    }
}

void TutarliOkuma::YeniParca()
{
    if (!m_acik || m_butun)
        return;
    m_acik = false;
    m_baglanti.OkumaBitir();
    m_butun = m_baglanti.OkumaBaslat();
    m_acik = true;
}

void TutarliOkuma::Bitir()
{
    if (!m_acik)
        return;
    m_acik = false;
    m_baglanti.OkumaBitir();
}
