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
    void bolgeselSoru_data();
    void bolgeselSoru();

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
}

void AyarlarTesti::bolgeselSoru_data()
{
    QTest::addColumn<int>("cevap");
    QTest::addColumn<int>("anaSurum");
    QTest::addColumn<int>("sonuc");
    QTest::newRow("yes: the four values written") << Etkilesim::Evet << 5 << int(BolgeselSonuc::Devam);
    QTest::newRow("no: the program ends, nothing written") << Etkilesim::Hayir << 5 << int(BolgeselSonuc::ProgramiBitir);
    QTest::newRow("yes on an old version: restart") << Etkilesim::Evet << 4 << int(BolgeselSonuc::YenidenBaslat);
}

void AyarlarTesti::bolgeselSoru()
{
    QFETCH(int, cevap);
    QFETCH(int, anaSurum);
    QFETCH(int, sonuc);
    BolgeselYaz(QStringLiteral("."), QStringLiteral(","), QStringLiteral("/"), QStringLiteral("MM/dd/yyyy"));
    m_operator->Bekle(QStringLiteral("Programın Çalışabilmesi için Sistemin Ayarlanması Gerekiyor.\r"
                                     "Eğer Onaylarsanız Bu ayarlar Yapılacaktır.\rOnaylıyormusunuz ?"),
                      Etkilesim::Simge::Soru, cevap);
    if (anaSurum == 4)
        m_operator->Bekle(QStringLiteral("Sistem Ayarlanız Tamamlandı.Bilgisayarınızın Yeniden Başlatılması Gerekiyor"),
                          Etkilesim::Simge::Bilgi);
    QCOMPARE(int(BolgeselAyarlariAyarla(anaSurum)), sonuc);
    QCOMPARE(int(m_operator->kutular.value(0).dugmeler), int(Etkilesim::Dugmeler::EvetHayir));
    const QString yazilan = cevap == Etkilesim::Evet ? QStringLiteral(",.dd.MM.yyyy.") : QStringLiteral(".,MM/dd/yyyy/");
    QString okunan;
    for (const char *ad : {"sDecimal", "sThousand", "sShortDate", "sDate"})
        okunan += RegistryOku(HKEY_CURRENT_USER_KOKU, BolgeselAnahtar, QLatin1String(ad));
    QCOMPARE(okunan, yazilan);
    // Once set, the next start passes silently.
    if (cevap == Etkilesim::Evet)
        QCOMPARE(int(BolgeselAyarlariAyarla()), int(BolgeselSonuc::Devam));
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
