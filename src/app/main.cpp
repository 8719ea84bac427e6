#include "common/TekKopya.h"
#include "common/ui/EkranEtkilesimi.h"
#include "common/ui/QtTurkcesi.h"
#include "filter/ui/FiltreFrm.h"
#include "login/BolgeselAyarlar.h"
#include "login/ui/LoginFrm.h"
#include "state/Degiskenler.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QStringList>

namespace {

const QString ProgramBasligi = QStringLiteral("Stok ve Fiyat Transfer Sistemi");
QPointer<FiltreFrm> anaPencere;

// "--server PATH" proposes the server of the login screen.
QString OnerilenServer(const QStringList &arglar)
{
    for (int i = 1; i < arglar.size(); ++i) {
        if (arglar[i] == QLatin1String("--server") && i + 1 < arglar.size())
            return arglar[i + 1];
        if (arglar[i].startsWith(QLatin1String("--server=")))
            return arglar[i].mid(int(sizeof("--server=")) - 1);
    }
    return QString();
}

// The hand-over from the login to the main window, once Baglanti is on the chosen
// company's database: the main window opens (not modal) and the login screen goes.
void AnaPencereyeGec(LoginFrm *giris)
{
    anaPencere = new FiltreFrm;
    anaPencere->FirmaGoster(giris->FirmaKodu(), Degiskenler::FirmaAdi);
    // Closing the main window ends the program at once.
    QObject::connect(anaPencere, &FiltreFrm::ProgramBitti, qApp, [] { QCoreApplication::exit(0); });
    anaPencere->show();
    // The keyboard goes with the operator to the new window, also where no window manager
    // hands it over: F2, F9 and the Alt shortcuts work without a click first.
    anaPencere->activateWindow();
    giris->close();
    giris->deleteLater();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication uygulama(argc, argv);
    QApplication::setApplicationName(QStringLiteral("stoktransfer"));
    QApplication::setApplicationDisplayName(ProgramBasligi);

    // The platform's own dialogs (file dialog, print dialog) speak the operators' language.
    QtTurkcesiniKur();

    EkranEtkilesimi ekran;
    OperatorKur(&ekran);

    int sonuc = 0;
    {
        // Start-up, in its order: regional settings, another copy, then the login screen.
        if (BolgeselAyarlariAyarla() != BolgeselSonuc::Devam) {
            OperatorKur(nullptr);
            Degiskenler::Sifirla();
            return 0;
        }
        TekKopyaKilidi kilit;
        if (!kilit.Al()) {
            Operator().Mesaj(BaskaKopyaMesaji, Etkilesim::Simge::Kritik);
            OperatorKur(nullptr);
            Degiskenler::Sifirla();
            return 0;
        }

        QPointer<LoginFrm> giris = new LoginFrm(OnerilenServer(uygulama.arguments()));
        giris->setAttribute(Qt::WA_DeleteOnClose, false);
        // The program ends as soon as control is back in the event loop.
        QObject::connect(giris, &LoginFrm::ProgramiBitir, &uygulama, [] { QCoreApplication::exit(0); });
        QObject::connect(giris, &LoginFrm::FirmaSecildi, &uygulama, [giris] {
            if (giris)
                AnaPencereyeGec(giris);
        });
        giris->show();
        // Centred, also where no window manager places it.
        if (const QScreen *ekranAlani = giris->screen())
            giris->move(ekranAlani->availableGeometry().center() - giris->rect().center());
        sonuc = uygulama.exec();
        delete giris;
    }
    // Windows the program still holds (the main window) go before the shared state does.
    delete anaPencere;
    OperatorKur(nullptr);
    Degiskenler::Sifirla();
    return sonuc;
}
