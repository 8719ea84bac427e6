#include "common/Registry.h"
#include "common/TekKopya.h"
#include "login/BolgeselAyarlar.h"
#include "support/GeciciAyarlar.h"
#include "support/SahteEtkilesim.h"

#include <QDir>
#include <QTest>
#include <memory>

namespace {
const char *const Bolgesel[] = {"sDecimal", "sThousand", "sDate", "sShortDate"};

// Writes the regional values in the order above; "-" leaves one missing.
void BolgeselYaz(const QStringList &degerler)
{
    for (int i = 0; i < 4; ++i)
        if (degerler[i] != QLatin1String("-"))
            RegistryYaz(HKEY_CURRENT_USER_KOKU, BolgeselAnahtar, QLatin1String(Bolgesel[i]), degerler[i]);
}
} // namespace

// The regional settings check (through the per-user settings store) and the single-copy lock.
class AyarlarTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void bolgesel_data();
    void bolgesel();
    void tekKopyaKilidi();

private:
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

void AyarlarTesti::bolgesel_data()
{
    QTest::addColumn<QStringList>("degerler"); // decimal, thousands, date separator, short date
    QTest::addColumn<QString>("etiket");
    QTest::addColumn<int>("cevap"); // to the question that follows a mismatch
    QTest::addColumn<int>("anaSurum");
    QTest::addColumn<int>("sonuc");
    const int evet = Etkilesim::Evet, hayir = Etkilesim::Hayir;
    const int devam = int(BolgeselSonuc::Devam), bitir = int(BolgeselSonuc::ProgramiBitir);
    QTest::newRow("all agree: no question") << QStringList{",", ".", ".", "dd.MM.yyyy"} << "" << 0 << 5 << devam;
    QTest::newRow("decimal point") << QStringList{".", ".", ".", "dd.MM.yyyy"} << "ONDALIK" << hayir << 5 << bitir;
    QTest::newRow("thousands comma") << QStringList{",", ",", ".", "dd.MM.yyyy"} << "BASAMAK" << evet << 5 << devam;
    QTest::newRow("short date with slashes") << QStringList{",", ".", ".", "dd/MM/yyyy"} << "TARIH" << hayir << 5 << bitir;
    QTest::newRow("date separator") << QStringList{",", ".", "/", "dd.MM.yyyy"} << "TARIH" << evet << 5 << devam;
    QTest::newRow("last mismatch wins") << QStringList{".", ",", ".", "dd.MM.yyyy"} << "BASAMAK" << hayir << 5 << bitir;
    QTest::newRow("missing values differ") << QStringList{"-", "-", "-", "-"} << "TARIH" << evet << 5 << devam;
    QTest::newRow("yes on an old version: restart")
        << QStringList{".", ",", "/", "MM/dd/yyyy"} << "TARIH" << evet << 4 << int(BolgeselSonuc::YenidenBaslat);
}

void AyarlarTesti::bolgesel()
{
    QFETCH(QStringList, degerler);
    QFETCH(QString, etiket);
    QFETCH(int, cevap);
    QFETCH(int, anaSurum);
    QFETCH(int, sonuc);
    BolgeselYaz(degerler);
    QCOMPARE(BolgeselUyumsuzluk(), etiket);
    QCOMPARE(QDir(m_ayarlar->Klasor()).isEmpty(), degerler[0] == QLatin1String("-")); // not the developer's own store
    if (!etiket.isEmpty())
        m_operator->Bekle(QStringLiteral("Programın Çalışabilmesi için Sistemin Ayarlanması Gerekiyor.\r"
                                         "Eğer Onaylarsanız Bu ayarlar Yapılacaktır.\rOnaylıyormusunuz ?"),
                          Etkilesim::Simge::Soru, cevap);
    if (anaSurum == 4)
        m_operator->Bekle(QStringLiteral("Sistem Ayarlanız Tamamlandı.Bilgisayarınızın Yeniden Başlatılması Gerekiyor"),
                          Etkilesim::Simge::Bilgi);
    QCOMPARE(int(BolgeselAyarlariAyarla(anaSurum)), sonuc);
    if (etiket.isEmpty())
        return;
    QCOMPARE(int(m_operator->kutular.value(0).dugmeler), int(Etkilesim::Dugmeler::EvetHayir));
    // Yes writes the four values, no writes nothing; once set, the next start passes silently.
    QStringList okunan;
    for (const char *ad : Bolgesel)
        okunan << RegistryOku(HKEY_CURRENT_USER_KOKU, BolgeselAnahtar, QLatin1String(ad));
    QCOMPARE(okunan, cevap == Etkilesim::Evet ? QStringList({",", ".", ".", "dd.MM.yyyy"}) : degerler);
    if (cevap == Etkilesim::Evet)
        QCOMPARE(int(BolgeselAyarlariAyarla()), int(BolgeselSonuc::Devam));
#ifndef Q_OS_WIN
    QCOMPARE(PlatformAnaSurumu(), 5);
#endif
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
}

QTEST_GUILESS_MAIN(AyarlarTesti)
#include "tst_ayarlar.moc"
