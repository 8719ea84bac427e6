#include "state/Degiskenler.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication uygulama(argc, argv);
    QLabel pencere(QStringLiteral("Stok ve Fiyat Transfer Sistemi"));
    pencere.setWindowTitle(QStringLiteral("Stok ve Fiyat Transfer Sistemi"));
    pencere.show();
    const int sonuc = uygulama.exec();
    Degiskenler::Sifirla();
    return sonuc;
}
