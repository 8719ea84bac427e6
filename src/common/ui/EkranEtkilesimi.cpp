#include "common/ui/EkranEtkilesimi.h"

#include "common/ui/DosyaDiyalogu.h"
#include "transfer/ui/OnizlemeFrm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPointer>

EkranEtkilesimi::EkranEtkilesimi()
{
    m_gecikme.setSingleShot(true);
    m_gecikme.callOnTimeout([this] { Goster(); });
}

int EkranEtkilesimi::Mesaj(const QString &metin, Simge simge, Dugmeler dugmeler, const QString &baslik)
{
    // The box stands beside the progress it reports on.
    Goster();
    return KutuGoster(metin, simge, dugmeler, baslik);
}

int EkranEtkilesimi::KutuGoster(const QString &metin, Simge simge, Dugmeler dugmeler, const QString &baslik)
{
    const QPointer<QWidget> oncekiPencere = QApplication::activeWindow();
    QMessageBox kutu(oncekiPencere);
    // The platform's boxes break lines at a carriage return; Qt at a line feed.
    QString gosterilen = metin;
    gosterilen.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    kutu.setText(gosterilen);
    kutu.setWindowTitle(baslik.isEmpty() ? QApplication::applicationDisplayName() : baslik);
    switch (simge) {
    case Simge::Kritik: kutu.setIcon(QMessageBox::Critical); break;
    case Simge::Soru: kutu.setIcon(QMessageBox::Question); break;
    case Simge::Bilgi: kutu.setIcon(QMessageBox::Information); break;
    case Simge::Yok: kutu.setIcon(QMessageBox::NoIcon); break;
    }
    if (dugmeler == Dugmeler::EvetHayir) {
        kutu.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        kutu.setDefaultButton(QMessageBox::Yes);
        kutu.button(QMessageBox::Yes)->setText(QStringLiteral("Evet"));
        kutu.button(QMessageBox::No)->setText(QStringLiteral("Hayır"));
        kutu.setEscapeButton(QMessageBox::No);
    } else {
        kutu.setStandardButtons(QMessageBox::Ok);
        kutu.button(QMessageBox::Ok)->setText(QStringLiteral("Tamam"));
    }
    const int cevap = kutu.exec();
    // Without a window manager nobody hands the keyboard back to the window the box stood on.
    if (oncekiPencere && !QApplication::activeWindow())
        oncekiPencere->activateWindow();
    if (dugmeler == Dugmeler::EvetHayir)
        return cevap == QMessageBox::Yes ? Evet : Hayir;
    return Tamam;
}

std::optional<QString> EkranEtkilesimi::DosyaSec(const QString &onerilen, Dosya tur)
{
    Goster();
    return DiyalogGoster(onerilen, tur);
}

std::optional<QString> EkranEtkilesimi::DiyalogGoster(const QString &onerilen, Dosya tur)
{
    if (tur == Dosya::Rapor)
        return TransferDosyasiSec(QApplication::activeWindow(), onerilen, true, QStringLiteral("CSV Dosyaları (*.csv)"));
    return TransferDosyasiSec(QApplication::activeWindow(), onerilen, tur == Dosya::Kaydet);
}

bool EkranEtkilesimi::OnizlemeGoster(const Onizleme &onizleme)
{
    Goster();
    OnizlemeFrm pencere(onizleme, QApplication::activeWindow());
    return pencere.exec() == OnizlemeFrm::Aktar;
}

void EkranEtkilesimi::IlerlemeGorunumuKur(IlerlemeGorunumu *gorunum)
{
    m_gecikme.stop();
    m_bekleyen = Bekleyen();
    m_gorunum = gorunum;
}

void EkranEtkilesimi::KartBarAyarla(double maksimum, double deger)
{
    m_bekleyen.bar = true;
    m_bekleyen.maksimum = maksimum;
    m_bekleyen.deger = deger;
    Zamanla();
}

void EkranEtkilesimi::BarFrameYaz(const QString &baslik)
{
    m_bekleyen.yuzde = true;
    m_bekleyen.baslik = baslik;
    Zamanla();
}

void EkranEtkilesimi::MesajLblYaz(const QString &metin)
{
    m_bekleyen.mesaj = true;
    m_bekleyen.metin = metin;
    Zamanla();
}

void EkranEtkilesimi::FrameBarGoster(bool gorunur)
{
    // Shown or hidden with the values it is to show.
    Goster();
    if (m_gorunum)
        m_gorunum->FrameBarGoster(gorunur);
}

void EkranEtkilesimi::Zamanla()
{
    if (!m_sonGosterim.isValid() || m_sonGosterim.elapsed() >= GosterimAraligiMs)
        Goster();
    else if (!m_gecikme.isActive())
        m_gecikme.start(int(GosterimAraligiMs - m_sonGosterim.elapsed()));
}

void EkranEtkilesimi::Goster()
{
    m_gecikme.stop();
    m_sonGosterim.start();
    const Bekleyen b = std::exchange(m_bekleyen, Bekleyen());
    if (!m_gorunum)
        return;
    if (b.bar)
        m_gorunum->KartBarAyarla(b.maksimum, b.deger);
    if (b.yuzde)
        m_gorunum->BarFrameYaz(b.baslik);
    if (b.mesaj)
        m_gorunum->MesajLblYaz(b.metin);
}

void EkranEtkilesimi::BekleyenOlaylariIsle()
{
    // A long command asks after every card; the screen needs far fewer turns to repaint and
    // to answer the operator.
    if (m_sonOlaylar.isValid() && m_sonOlaylar.elapsed() < OlayAraligiMs)
        return;
    if (m_gecikme.isActive() && m_sonGosterim.elapsed() >= GosterimAraligiMs)
        Goster();
    QCoreApplication::processEvents();
    m_sonOlaylar.start();
}

void EkranEtkilesimi::PanoyaYaz(const QString &metin)
{
    QApplication::clipboard()->clear();
    QApplication::clipboard()->setText(metin);
}
