#include "login/BolgeselAyarlar.h"

#include "common/Etkilesim.h"
#include "common/Registry.h"

#include <QOperatingSystemVersion>

const QVector<BolgeselDeger> &BolgeselDegerler()
{
    static const QVector<BolgeselDeger> degerler = {
        {QStringLiteral("sDecimal"), QStringLiteral(","), QStringLiteral("ONDALIK")},
        {QStringLiteral("sThousand"), QStringLiteral("."), QStringLiteral("BASAMAK")},
        {QStringLiteral("sDate"), QStringLiteral("."), QStringLiteral("TARIH")},
        {QStringLiteral("sShortDate"), QStringLiteral("dd.MM.yyyy"), QStringLiteral("TARIH")},
    };
    return degerler;
}

QString BolgeselUyumsuzluk()
{
    QString etiket;
    for (const BolgeselDeger &d : BolgeselDegerler())
        if (RegistryOku(HKEY_CURRENT_USER_KOKU, BolgeselAnahtar, d.ad) != d.gerekli)
            etiket = d.etiket;
    return etiket;
}

int PlatformAnaSurumu()
{
#ifdef Q_OS_WIN
    return QOperatingSystemVersion::current().majorVersion();
#else
    return 5;
#endif
}

BolgeselSonuc BolgeselAyarlariAyarla(int anaSurum)
{
    if (BolgeselUyumsuzluk().isEmpty())
        return BolgeselSonuc::Devam;

    const QString soru = QStringLiteral("Programın Çalışabilmesi için Sistemin Ayarlanması Gerekiyor.\r"
                                        "Eğer Onaylarsanız Bu ayarlar Yapılacaktır.\r"
                                        "Onaylıyormusunuz ?");
    if (Operator().Mesaj(soru, Etkilesim::Simge::Soru, Etkilesim::Dugmeler::EvetHayir) != Etkilesim::Evet)
        return BolgeselSonuc::ProgramiBitir;

    // The order of the writes is the one the settings dialog of the platform uses.
    RegistryYaz(HKEY_CURRENT_USER_KOKU, BolgeselAnahtar, QStringLiteral("sDecimal"), QStringLiteral(","));
    RegistryYaz(HKEY_CURRENT_USER_KOKU, BolgeselAnahtar, QStringLiteral("sThousand"), QStringLiteral("."));
    RegistryYaz(HKEY_CURRENT_USER_KOKU, BolgeselAnahtar, QStringLiteral("sShortDate"), QStringLiteral("dd.MM.yyyy"));
    RegistryYaz(HKEY_CURRENT_USER_KOKU, BolgeselAnahtar, QStringLiteral("sDate"), QStringLiteral("."));

    if (anaSurum <= 4) {
        Operator().Mesaj(QStringLiteral("Sistem Ayarlanız Tamamlandı.Bilgisayarınızın Yeniden Başlatılması Gerekiyor"),
                         Etkilesim::Simge::Bilgi);
        return BolgeselSonuc::YenidenBaslat;
    }
    return BolgeselSonuc::Devam;
}
