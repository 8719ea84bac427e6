#include "demo/DemoOlusturucu.h"
#include "demo/SqlServerDemoYazici.h"
#include "login/Giris.h"
#include "state/Baglanti.h"
#include "state/Degiskenler.h"
#include "state/Recordset.h"
#include "support/SahteEtkilesim.h"
#include "support/TestVeritabani.h"

#include <QDateTime>
#include <QTest>

// The demo back-office: its values as T-SQL literals, and the demo on a server of another collation.
class DemoTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void tsqlDegerleri_data();
    void tsqlDegerleri();
    void baskaHarmanlamaliSunucu();

private:
    SahteEtkilesim *m_op = nullptr;
};

void DemoTesti::init()
{
    m_op = new SahteEtkilesim;
}

void DemoTesti::cleanup()
{
    Degiskenler::Sifirla();
    delete m_op;
}

void DemoTesti::tsqlDegerleri_data()
{
    QTest::addColumn<QVariant>("deger");
    QTest::addColumn<QString>("literal");
    QTest::newRow("null") << QVariant() << "NULL";
    QTest::newRow("bit") << QVariant(true) << "1";
    QTest::newRow("whole number") << QVariant(-42) << "-42";
    QTest::newRow("price in its shortest exact form") << QVariant(89.5) << "89.5";
    QTest::newRow("cents that binary cannot hold") << QVariant(0.1 + 0.2) << "0.30000000000000004";
    QTest::newRow("date and time in ISO 8601") << QVariant(QDateTime(QDate(2024, 1, 2), QTime(14, 30))) << "'2024-01-02T14:30:00'";
    QTest::newRow("Unicode text") << QVariant(QStringLiteral("ŞUBE ÜRÜNÜ İÇECEK")) << "N'ŞUBE ÜRÜNÜ İÇECEK'";
    QTest::newRow("apostrophe doubled") << QVariant(QStringLiteral("Raf ömrü kısa, 'özel' ürün")) << "N'Raf ömrü kısa, ''özel'' ürün'";
    QTest::newRow("padded char") << QVariant(QStringLiteral("A-01      ")) << "N'A-01      '";
}

void DemoTesti::tsqlDegerleri()
{
    QFETCH(QVariant, deger);
    QFETCH(QString, literal);
    QCOMPARE(SqlServerDemoYazici::Deger(deger), literal);
}

void DemoTesti::baskaHarmanlamaliSunucu()
{
    // A server of the code page 1252 collation: the demo's Unicode columns keep every Turkish
    // letter, and the demo users log in (their logins are named as they are typed).
    if (!TestVeritabani::SqlServerMi())
        QSKIP("a SQL Server matter");
    const QStringList parcalar = qEnvironmentVariable("STOKTRANSFER_TEST_MSSQL_LATIN1").split(QLatin1Char(';'));
    if (parcalar.size() != 3)
        QSKIP("no SQL_Latin1_General_CP1_CI_AS server: STOKTRANSFER_TEST_MSSQL_LATIN1 is not set");
    const QString server = parcalar[0];
    DemoAyarlari ayarlar;
    ayarlar.kartSayisi = 40;
    ayarlar.uzerineYaz = true;
    {
        SqlServerDemoYazici yazici(server, parcalar[1], parcalar[2]);
        yazici.Calistir(TestVeritabani::SunucuHazirligi());
        DemoYaz(yazici, ayarlar);
    }

    Recordset rs;
    GirisSonucu giris = KullaniciyiDogrula(QStringLiteral("torvela"), QStringLiteral("1234"), server, rs);
    QVERIFY2(giris.durum == GirisSonucu::Durum::Bulundu, qPrintable(giris.aciklama));
    QStringList adlar;
    rs.Ac(Degiskenler::Baglanti, QStringLiteral("SELECT sysfrm_nm FROM sysfrmlng ORDER BY sysfrm_kd"), false);
    for (; !rs.Eof(); rs.MoveNext())
        adlar << rs.Metin(0);
    QCOMPARE(adlar, (QStringList{QStringLiteral("MERKEZ MAĞAZA"), QStringLiteral("KADIKÖY ŞUBE"), QStringLiteral("İZMİR TOPTAN")}));
    Degiskenler::Sifirla();

    // The look-up of a name with a letter the code page lacks ("KASİYER").
    giris = KullaniciyiDogrula(QStringLiteral("kasiyer"), QStringLiteral("kasa"), server, rs);
    QVERIFY2(giris.durum == GirisSonucu::Durum::Bulundu, qPrintable(giris.aciklama));
}

QTEST_GUILESS_MAIN(DemoTesti)
#include "tst_demo.moc"
