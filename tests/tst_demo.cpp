#include "demo/DemoOlusturucu.h"
#include "demo/Sema.h"
#include "demo/SqlServerDemoYazici.h"
#include "login/Giris.h"
#include "state/Baglanti.h"
#include "state/Degiskenler.h"
#include "state/Recordset.h"
#include "support/SahteEtkilesim.h"
#include "support/TestVeritabani.h"

#include <QDateTime>
#include <QTest>

// The demo back-office: its schema as the backend holds it, the values as T-SQL literals, and
// the demo on a server of another collation.
class DemoTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void tsqlDegerleri_data();
    void tsqlDegerleri();
    void semaTanimaUyar();
    void baskaHarmanlamaliSunucu();

private:
    // A table's columns as the backend declares them: "name type" in the table's order.
    QStringList Sutunlar(const QString &veritabani, const QString &tablo);

    SahteEtkilesim *m_op = nullptr;
    TestVeritabani *m_db = nullptr;
};

void DemoTesti::init()
{
    m_op = new SahteEtkilesim;
    m_db = new TestVeritabani;
}

void DemoTesti::cleanup()
{
    Degiskenler::Sifirla();
    delete m_db;
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

QStringList DemoTesti::Sutunlar(const QString &veritabani, const QString &tablo)
{
    QStringList sutunlar;
    if (!TestVeritabani::SqlServerMi()) {
        for (const auto &s : m_db->Satirlar(veritabani, QStringLiteral("PRAGMA table_info(%1)").arg(tablo)))
            sutunlar << s[1].toString() + QLatin1Char(' ')
                            + (s[2].toString() == u"INTEGER" && s[5].toInt() == 1 ? QStringLiteral("identity")
                                                                                  : s[2].toString().toLower());
        return sutunlar;
    }
    // The names as a statement's result carries them (the test server keeps them lower-case
    // in its catalog), the types from the catalog.
    QStringList adlar;
    m_db->Satirlar(veritabani, QStringLiteral("SELECT * FROM %1 WHERE 1=0").arg(tablo), &adlar);
    const auto tipler = m_db->Satirlar(veritabani, QStringLiteral(
        "SELECT t.name, c.max_length, c.precision, c.scale, c.is_identity FROM sys.columns c "
        "JOIN sys.types t ON t.user_type_id = c.user_type_id WHERE c.object_id = OBJECT_ID('%1') ORDER BY c.column_id").arg(tablo));
    for (int i = 0; i < adlar.size(); ++i) {
        const auto &t = tipler.value(i);
        const QString ad = t.value(0).toString();
        QString tip = ad;
        if (ad == u"char" || ad == u"varchar")
            tip += QStringLiteral("(%1)").arg(t[1].toInt());
        else if (ad == u"nchar" || ad == u"nvarchar")
            tip += QStringLiteral("(%1)").arg(t[1].toInt() / 2);
        else if (ad == u"decimal" || ad == u"numeric")
            tip += QStringLiteral("(%1,%2)").arg(t[2].toInt()).arg(t[3].toInt());
        sutunlar << adlar[i] + QLatin1Char(' ') + (t.value(4).toInt() == 1 ? QStringLiteral("identity") : tip);
    }
    return sutunlar;
}

void DemoTesti::semaTanimaUyar()
{
    // Every table of both schemas on the backend: the description's columns, in its order,
    // with its types; identities as the backend makes them; the views readable.
    m_db->DemoYaz(3, 2);
    for (const auto &[veritabani, sema] : {std::pair{QStringLiteral("Defination_DB"), &TanimSemaTanimi()},
                                           std::pair{QStringLiteral("FIRMA01"), &FirmaSemaTanimi()}}) {
        for (const TabloTanimi &t : sema->tablolar) {
            QStringList beklenen;
            for (const SutunTanimi &s : t.sutunlar)
                beklenen << s.ad + QLatin1Char(' ') + ((s.bayraklar & SutunTanimi::Kimlik) ? QStringLiteral("identity") : s.tip);
            QCOMPARE(Sutunlar(veritabani, t.ad), beklenen);
        }
    }
    QStringList adlar;
    QVERIFY(!m_db->Satirlar(QStringLiteral("FIRMA01"), QStringLiteral("SELECT Stok_ID, On_Deger, Ana_Birim_Fiyat FROM AKTIFSTOKFIYAT"), &adlar)
                 .isEmpty());
    QCOMPARE(m_db->Deger(QStringLiteral("FIRMA01"), QStringLiteral("SELECT count(*) FROM SB")).toInt(), 3);
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
