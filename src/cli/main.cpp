#include "cli/KomutSatiri.h"
#include "cli/Komutlar.h"
#include "cli/UcbirimEtkilesimi.h"
#include "state/Degiskenler.h"

#include <QCoreApplication>
#include <cstdio>

// stoktransfer-cli: the listing, the export and the import of the filter screen without a
// screen, for scheduled and scripted transfers. Exit 0 on success, 1 when the work was
// refused or failed, 2 on a usage error.
int main(int argc, char *argv[])
{
    QCoreApplication uygulama(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("stoktransfer"));

    QString hata;
    const auto secenekler = KomutSatiriniOku(uygulama.arguments().mid(1), &hata);
    if (!secenekler) {
        std::fputs((hata + QLatin1Char('\n') + KullanimMetni()).toUtf8().constData(), stderr);
        return KullanimHatasi;
    }

    UcbirimEtkilesimi ucbirim;
    OperatorKur(&ucbirim);
    int sonuc = Basarili;
    if (secenekler->komut == u"demo")
        sonuc = DemoKomutu(*secenekler);
    else if (secenekler->komut == u"list")
        sonuc = ListeKomutu(*secenekler);
    else if (secenekler->komut == u"export")
        sonuc = DisaAktarKomutu(*secenekler);
    else
        sonuc = IceAktarKomutu(*secenekler);
    std::fflush(stdout);
    OperatorKur(nullptr);
    Degiskenler::Sifirla();
    return sonuc;
}
