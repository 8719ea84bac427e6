#include "common/ui/EkranEtkilesimi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>

int EkranEtkilesimi::Mesaj(const QString &metin, Simge simge, Dugmeler dugmeler, const QString &baslik)
{
    QMessageBox kutu(QApplication::activeWindow());
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
        return kutu.exec() == QMessageBox::Yes ? Evet : Hayir;
    }
    kutu.setStandardButtons(QMessageBox::Ok);
    kutu.button(QMessageBox::Ok)->setText(QStringLiteral("Tamam"));
    kutu.exec();
    return Tamam;
}

std::optional<QString> EkranEtkilesimi::DosyaSec(const QString &onerilen, Dosya tur)
{
    QFileDialog diyalog(QApplication::activeWindow());
    diyalog.setAcceptMode(tur == Dosya::Kaydet ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Any name may be typed: the commands ask about an existing file, or report a missing one.
    diyalog.setFileMode(QFileDialog::AnyFile);
    diyalog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!onerilen.isEmpty())
        diyalog.selectFile(onerilen);
    if (diyalog.exec() != QDialog::Accepted || diyalog.selectedFiles().isEmpty())
        return std::nullopt;
    return diyalog.selectedFiles().constFirst();
}

void EkranEtkilesimi::KartBarAyarla(double maksimum, double deger)
{
    if (m_gorunum)
        m_gorunum->KartBarAyarla(maksimum, deger);
}

void EkranEtkilesimi::BarFrameYaz(const QString &baslik)
{
    if (m_gorunum)
        m_gorunum->BarFrameYaz(baslik);
}

void EkranEtkilesimi::FrameBarGoster(bool gorunur)
{
    if (m_gorunum)
        m_gorunum->FrameBarGoster(gorunur);
}

void EkranEtkilesimi::MesajLblYaz(const QString &metin)
{
    if (m_gorunum)
        m_gorunum->MesajLblYaz(metin);
}

void EkranEtkilesimi::BekleyenOlaylariIsle()
{
    QCoreApplication::processEvents();
}

void EkranEtkilesimi::PanoyaYaz(const QString &metin)
{
    QApplication::clipboard()->clear();
    QApplication::clipboard()->setText(metin);
}
