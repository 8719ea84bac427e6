#include "demo/DemoOlusturucu.h"
#include "state/Degiskenler.h"
#include "state/Hata.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <QTextStream>

namespace {

QTextStream &Cikti()
{
    static QTextStream akis(stdout);
    return akis;
}

QTextStream &Hatalar()
{
    static QTextStream akis(stderr);
    return akis;
}

constexpr int Basarili = 0;
constexpr int Reddedildi = 1;
constexpr int KullanimHatasi = 2;

int Kullanim(const QString &neden = QString())
{
    if (!neden.isEmpty())
        Hatalar() << neden << '\n';
    Hatalar() << "Kullanım:\n"
                 "  stoktransfer-cli demo KLASÖR [--cards N] [--prices K]\n";
    Hatalar().flush();
    return KullanimHatasi;
}

int Demo(const QStringList &arglar)
{
    QString klasor;
    DemoAyarlari ayarlar;
    for (int i = 0; i < arglar.size(); ++i) {
        const QString &a = arglar[i];
        if ((a == QLatin1String("--cards") || a == QLatin1String("--prices")) && i + 1 < arglar.size()) {
            bool tamam = false;
            const int sayi = arglar[++i].toInt(&tamam);
            if (!tamam || sayi < 0)
                return Kullanim(QStringLiteral("%1 bir sayı bekliyor.").arg(a));
            (a == QLatin1String("--cards") ? ayarlar.kartSayisi : ayarlar.fiyatSayisi) = sayi;
        } else if (a.startsWith(QLatin1String("--")) || !klasor.isEmpty()) {
            return Kullanim(QStringLiteral("Bilinmeyen seçenek: %1").arg(a));
        } else {
            klasor = a;
        }
    }
    if (klasor.isEmpty())
        return Kullanim(QStringLiteral("Klasör verilmedi."));
    if (ayarlar.fiyatSayisi > 10)
        return Kullanim(QStringLiteral("--prices en çok 10 olabilir."));
    try {
        DemoOlustur(klasor, ayarlar);
    } catch (const Hata &hata) {
        Hatalar() << hata.Aciklama() << '\n';
        return Reddedildi;
    }
    Cikti() << "Demo veritabanları yazıldı: " << QDir(klasor).absolutePath() << '\n'
            << "Kaynak firma 01: " << ayarlar.kartSayisi << " stok kartı, kart başına " << ayarlar.fiyatSayisi
            << " fiyat satırı\n";
    return Basarili;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication uygulama(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("stoktransfer"));
    QStringList arglar = uygulama.arguments().mid(1);
    if (arglar.isEmpty())
        return Kullanim();
    const QString komut = arglar.takeFirst();
    int sonuc;
    if (komut == QLatin1String("demo"))
        sonuc = Demo(arglar);
    else
        sonuc = Kullanim(QStringLiteral("Bilinmeyen komut: %1").arg(komut));
    Cikti().flush();
    Hatalar().flush();
    Degiskenler::Sifirla();
    return sonuc;
}
