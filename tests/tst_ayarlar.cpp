#include "common/Registry.h"
#include "common/TekKopya.h"
#include "login/BolgeselAyarlar.h"
#include "login/HatirlananKullanici.h"
#include "support/GeciciAyarlar.h"
#include "support/SahteEtkilesim.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSysInfo>
#include <QTest>
#include <memory>

// The per-user settings store, the regional settings check, the remembered user and the
// single-copy lock.
class AyarlarTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void registryOkuYaz();
    void registryYalnizcaMetinOkur();

    void bolgeselUyumsuzluk_data();
    void bolgeselUyumsuzluk();
    void bolgeselEvetDortDegeriYazar();
    void bolgeselHayirProgramiBitirir();
    void eskiSurumYenidenBaslatir();

    void hatirlananKullanici();

    void tekKopyaKilidi();
    void olmusKopyaninKilidiAlinir();

private:
    void BolgeselYaz(const QString &ondalik, const QString &basamak, const QString &tarih, const QString &kisaTarih);
    std::unique_ptr<GeciciAyarlar> m_ayarlar;
    std::unique_ptr<SahteEtkilesim> m_operator;
};

void AyarlarTesti::init()
{
    m_ayarlar = std::make_unique<GeciciAyarlar>();
    m_operator = std::make_unique<SahteEtkilesim>();
}

void AyarlarTesti::cleanup()
{
    m_operator.reset();
    m_ayarlar.reset();
}

void AyarlarTesti::BolgeselYaz(const QString &ondalik, const QString &basamak, const QString &tarih,
                               const QString &kisaTarih)
{
    const QString degerler[] = {ondalik, basamak, tarih, kisaTarih};
    for (int i = 0; i < 4; ++i)
        if (degerler[i] != QLatin1String("-"))
            RegistryYaz(HKEY_CURRENT_USER_KOKU, BolgeselAnahtar, BolgeselDegerler()[i].ad, degerler[i]);
}

void AyarlarTesti::registryOkuYaz()
{
    QVERIFY(QDir(m_ayarlar->Klasor()).isEmpty());
    QCOMPARE(RegistryOku(HKEY_CURRENT_USER_KOKU, QStringLiteral("DEF_TORVELA"), QStringLiteral("DEF_KUL")), QString());
    RegistryYaz(HKEY_CURRENT_USER_KOKU, QStringLiteral("DEF_TORVELA"), QStringLiteral("DEF_KUL"), QStringLiteral("İŞÇİ, ğ"));
    RegistryYaz(HKEY_CURRENT_USER_KOKU, QStringLiteral("Control Panel\\International"), QStringLiteral("sDecimal"),
                QStringLiteral(","));
    QCOMPARE(RegistryOku(HKEY_CURRENT_USER_KOKU, QStringLiteral("DEF_TORVELA"), QStringLiteral("DEF_KUL")),
             QStringLiteral("İŞÇİ, ğ"));
    QCOMPARE(RegistryOku(HKEY_CURRENT_USER_KOKU, QStringLiteral("Control Panel\\International"), QStringLiteral("sDecimal")),
             QStringLiteral(","));
    // Keys do not mix, values are only overwritten.
    QCOMPARE(RegistryOku(HKEY_CURRENT_USER_KOKU, QStringLiteral("DEF_TORVELA"), QStringLiteral("sDecimal")), QString());
    RegistryYaz(HKEY_CURRENT_USER_KOKU, QStringLiteral("DEF_TORVELA"), QStringLiteral("DEF_KUL"), QString());
    QCOMPARE(RegistryOku(HKEY_CURRENT_USER_KOKU, QStringLiteral("DEF_TORVELA"), QStringLiteral("DEF_KUL")), QString());
    // The store is the temporary folder's, not the developer's.
    QVERIFY(!QDir(m_ayarlar->Klasor()).isEmpty());
}

void AyarlarTesti::registryYalnizcaMetinOkur()
{
    {
        QSettings ayarlar(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("StokTransfer"),
                          QStringLiteral("Registry"));
        ayarlar.setValue(QStringLiteral("DEF_TORVELA/Sayi"), 42);
        ayarlar.setValue(QStringLiteral("DEF_TORVELA/Sifirli"), QStringLiteral("abc") + QChar(0) + QStringLiteral("def"));
    }
    QCOMPARE(RegistryOku(HKEY_CURRENT_USER_KOKU, QStringLiteral("DEF_TORVELA"), QStringLiteral("Sayi")), QString());
    QCOMPARE(RegistryOku(HKEY_CURRENT_USER_KOKU, QStringLiteral("DEF_TORVELA"), QStringLiteral("Sifirli")),
             QStringLiteral("abc"));
}

void AyarlarTesti::bolgeselUyumsuzluk_data()
{
    QTest::addColumn<QString>("ondalik");
    QTest::addColumn<QString>("basamak");
    QTest::addColumn<QString>("tarih");
    QTest::addColumn<QString>("kisaTarih");
    QTest::addColumn<QString>("etiket");
    QTest::newRow("all agree") << "," << "." << "." << "dd.MM.yyyy" << "";
    QTest::newRow("decimal point") << "." << "." << "." << "dd.MM.yyyy" << "ONDALIK";
    QTest::newRow("thousands comma") << "," << "," << "." << "dd.MM.yyyy" << "BASAMAK";
    QTest::newRow("only the short date (slashes)") << "," << "." << "." << "dd/MM/yyyy" << "TARIH";
    QTest::newRow("date separator") << "," << "." << "/" << "dd.MM.yyyy" << "TARIH";
    QTest::newRow("last mismatch wins") << "." << "," << "." << "dd.MM.yyyy" << "BASAMAK";
    QTest::newRow("missing values differ") << "-" << "-" << "-" << "-" << "TARIH";
    QTest::newRow("exact comparison") << "," << "." << "." << "d.M.yyyy" << "TARIH";
}

void AyarlarTesti::bolgeselUyumsuzluk()
{
    QFETCH(QString, ondalik);
    QFETCH(QString, basamak);
    QFETCH(QString, tarih);
    QFETCH(QString, kisaTarih);
    QFETCH(QString, etiket);
    BolgeselYaz(ondalik, basamak, tarih, kisaTarih);
    QCOMPARE(BolgeselUyumsuzluk(), etiket);
    if (!etiket.isEmpty())
        return;
    // A machine already set passes silently.
    QCOMPARE(int(BolgeselAyarlariAyarla()), int(BolgeselSonuc::Devam));
    QVERIFY(m_operator->kutular.isEmpty());
}

void AyarlarTesti::bolgeselEvetDortDegeriYazar()
{
    BolgeselYaz(QStringLiteral(","), QStringLiteral("."), QStringLiteral("/"), QStringLiteral("dd/MM/yyyy"));
    m_operator->cevaplar << Etkilesim::Evet;
    QCOMPARE(int(BolgeselAyarlariAyarla()), int(BolgeselSonuc::Devam));
    QCOMPARE(m_operator->kutular.size(), 1);
    const SahteEtkilesim::Kutu &soru = m_operator->kutular.first();
    QCOMPARE(soru.metin, QStringLiteral("Programın Çalışabilmesi için Sistemin Ayarlanması Gerekiyor.\r"
                                        "Eğer Onaylarsanız Bu ayarlar Yapılacaktır.\rOnaylıyormusunuz ?"));
    QCOMPARE(int(soru.simge), int(Etkilesim::Simge::Soru));
    QCOMPARE(int(soru.dugmeler), int(Etkilesim::Dugmeler::EvetHayir));
    for (const BolgeselDeger &d : BolgeselDegerler())
        QCOMPARE(RegistryOku(HKEY_CURRENT_USER_KOKU, BolgeselAnahtar, d.ad), d.gerekli);
    // The next start passes silently.
    QCOMPARE(int(BolgeselAyarlariAyarla()), int(BolgeselSonuc::Devam));
    QCOMPARE(m_operator->kutular.size(), 1);
}

void AyarlarTesti::bolgeselHayirProgramiBitirir()
{
    BolgeselYaz(QStringLiteral("."), QStringLiteral(","), QStringLiteral("/"), QStringLiteral("MM/dd/yyyy"));
    m_operator->cevaplar << Etkilesim::Hayir;
    QCOMPARE(int(BolgeselAyarlariAyarla()), int(BolgeselSonuc::ProgramiBitir));
    QCOMPARE(m_operator->kutular.size(), 1);
    QCOMPARE(RegistryOku(HKEY_CURRENT_USER_KOKU, BolgeselAnahtar, QStringLiteral("sDecimal")), QStringLiteral("."));
    QCOMPARE(RegistryOku(HKEY_CURRENT_USER_KOKU, BolgeselAnahtar, QStringLiteral("sShortDate")), QStringLiteral("MM/dd/yyyy"));
}

void AyarlarTesti::eskiSurumYenidenBaslatir()
{
    m_operator->cevaplar << Etkilesim::Evet << Etkilesim::Evet;
    QCOMPARE(int(BolgeselAyarlariAyarla(4)), int(BolgeselSonuc::YenidenBaslat));
    QCOMPARE(m_operator->kutular.size(), 2);
    QCOMPARE(m_operator->kutular[1].metin,
             QStringLiteral("Sistem Ayarlanız Tamamlandı.Bilgisayarınızın Yeniden Başlatılması Gerekiyor"));
    QCOMPARE(int(m_operator->kutular[1].simge), int(Etkilesim::Simge::Bilgi));
    QCOMPARE(BolgeselUyumsuzluk(), QString());
#ifndef Q_OS_WIN
    QCOMPARE(PlatformAnaSurumu(), 5);
#endif
}

void AyarlarTesti::hatirlananKullanici()
{
    QCOMPARE(HatirlananKullanici::Kullanici(), QString());
    HatirlananKullanici::Kaydet(QStringLiteral("  kasiyer "), QStringLiteral(" /veri/demo  "));
    QCOMPARE(HatirlananKullanici::Kullanici(), QStringLiteral("kasiyer"));
    QCOMPARE(HatirlananKullanici::Server(), QStringLiteral("/veri/demo"));
    QCOMPARE(RegistryOku(HKEY_CURRENT_USER_KOKU, QStringLiteral("DEF_TORVELA"), QStringLiteral("DEF_SRVR")),
             QStringLiteral("/veri/demo"));
}

void AyarlarTesti::tekKopyaKilidi()
{
    QTemporaryDir klasor;
    const QString yol = QDir(klasor.path()).filePath(QStringLiteral("kilit.lock"));
    {
        TekKopyaKilidi ilk(yol);
        QVERIFY(ilk.Al());
        TekKopyaKilidi ikinci(yol);
        QVERIFY(!ikinci.Al());
    }
    // Released when the program ends.
    TekKopyaKilidi sonraki(yol);
    QVERIFY(sonraki.Al());
    QVERIFY(TekKopyaKilidi::VarsayilanYol().endsWith(QStringLiteral(".lock")));
}

void AyarlarTesti::olmusKopyaninKilidiAlinir()
{
    QTemporaryDir klasor;
    const QString yol = QDir(klasor.path()).filePath(QStringLiteral("kilit.lock"));
    // The lock file of a copy that crashed: its process is gone.
    QFile dosya(yol);
    QVERIFY(dosya.open(QIODevice::WriteOnly));
    dosya.write(QByteArray::number(2147483600) + "\n" + QCoreApplication::applicationName().toUtf8() + "\n"
                + QSysInfo::machineHostName().toUtf8() + "\n");
    dosya.close();
    TekKopyaKilidi kilit(yol);
    QVERIFY(kilit.Al());
}

QTEST_GUILESS_MAIN(AyarlarTesti)
#include "tst_ayarlar.moc"
