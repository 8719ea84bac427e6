// ekran-olcumu: runs "DOSYADAN AL" of the filter screen on one transfer file without an
// operator, for bench/run.sh. The screen is the real one, with the screen's own operator seam
// (its progress display and its pending-event turns); only the message boxes and the file
// dialog are answered here: the dialog with FILE, every question with Yes. Not part of the
// program and not installed.
//
//   STOKTRANSFER_PASSWORD=... ekran-olcumu SERVER USER COMPANY FILE
//
// Prints the seconds the button took; exit 0 when the import ended with its success message.
#include "common/ProgramKlasoru.h"
#include "common/ui/EkranEtkilesimi.h"
#include "filter/ui/FiltreFrm.h"
#include "login/Giris.h"
#include "state/Degiskenler.h"
#include "state/Recordset.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

namespace {

class OtomatikEkran : public EkranEtkilesimi
{
public:
    explicit OtomatikEkran(QString dosya) : m_dosya(std::move(dosya)) {}
    QStringList kutular;
    int kritik = 0;

protected:
    int KutuGoster(const QString &metin, Simge simge, Dugmeler dugmeler, const QString &) override
    {
        kutular << metin;
        if (simge == Simge::Kritik)
            ++kritik;
        return dugmeler == Dugmeler::EvetHayir ? Evet : Tamam;
    }
    // The transfer file for its dialog; the change report is not saved elsewhere (it is
    // kept in the data folder all the same).
    std::optional<QString> DiyalogGoster(const QString &, Dosya tur) override
    {
        return tur == Dosya::Rapor ? std::nullopt : std::optional<QString>(m_dosya);
    }

private:
    QString m_dosya;
};

// The offscreen platform warns at every relayout that it cannot pass size hints on; the
// warning says nothing about the import and would only slow the run down.
QtMessageHandler oncekiIsleyici = nullptr;

void SessizUyarilar(QtMsgType tur, const QMessageLogContext &baglam, const QString &metin)
{
    if (!metin.contains(QLatin1String("propagateSizeHints")))
        oncekiIsleyici(tur, baglam, metin);
}

void Yaz(const QString &metin)
{
    std::fputs((metin + QLatin1Char('\n')).toUtf8().constData(), stderr);
}

bool GirisYap(const QString &server, const QString &kullanici, const QString &firma)
{
    Recordset firmaRS;
    const QString sifre = qEnvironmentVariable("STOKTRANSFER_PASSWORD");
    if (KullaniciyiDogrula(kullanici, sifre, server, firmaRS).durum != GirisSonucu::Durum::Bulundu
        || FirmalariYukle(firmaRS).durum != GirisSonucu::Durum::Bulundu || !FirmaKodunaGit(firmaRS, firma))
        return false;
    return FirmaSec(firmaRS).durum == FirmaSecimSonucu::Durum::Secildi;
}

} // namespace

int main(int argc, char *argv[])
{
    // No screen is needed unless one is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    oncekiIsleyici = qInstallMessageHandler(SessizUyarilar);
    QApplication uygulama(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Stok ve Fiyat Transfer Sistemi"));
    const QStringList arglar = uygulama.arguments();
    if (arglar.size() != 5) {
        Yaz(QStringLiteral("kullanım: ekran-olcumu SERVER KULLANICI FİRMA DOSYA"));
        return 2;
    }
    OtomatikEkran ekran(arglar[4]);
    OperatorKur(&ekran);
    // The remembered path is written beside a throwaway copy of the program, not beside this one.
    QTemporaryDir klasor;
    ProgramKlasorunuAyarla(klasor.path());

    int sonuc = 1;
    if (!GirisYap(arglar[1], arglar[2], arglar[3])) {
        Yaz(QStringLiteral("Giriş yapılamadı."));
    } else {
        auto *ekranFrm = new FiltreFrm;
        ekranFrm->show();
        QCoreApplication::processEvents();
        QElapsedTimer sure;
        sure.start();
        ekranFrm->DosyadanOkuBtn->click();
        const double saniye = double(sure.elapsed()) / 1000.0;
        const bool basarili = ekran.kritik == 0 && !ekran.kutular.isEmpty()
                              && ekran.kutular.constLast() == QStringLiteral("İşlem Başarı ile Tamamlandı");
        if (!basarili)
            Yaz(ekran.kutular.join(QLatin1Char('\n')));
        std::printf("%.2f\n", saniye);
        sonuc = basarili ? 0 : 1;
        delete ekranFrm;
    }
    OperatorKur(nullptr);
    Degiskenler::Sifirla();
    return sonuc;
}
