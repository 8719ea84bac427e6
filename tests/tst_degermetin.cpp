#include "state/DegerMetin.h"
#include "state/Hata.h"
#include "state/SqlLehcesi.h"

#include <QTest>

// The one value/text rule and the SQL Server to SQLite rewrite.
class DegerMetinTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void degerdenMetne_data();
    void degerdenMetne();
    void metindenDegere_data();
    void metindenDegere();
    void yazilamayanMetinReddedilir_data();
    void yazilamayanMetinReddedilir();
    void lehce_data();
    void lehce();
};

void DegerMetinTesti::degerdenMetne_data()
{
    QTest::addColumn<QVariant>("deger");
    QTest::addColumn<int>("tip");
    QTest::addColumn<QString>("metin");
    const int ondalik = int(SutunTipi::Ondalik), tarih = int(SutunTipi::Tarih), bit = int(SutunTipi::Bit);
    const int bilinmiyor = int(SutunTipi::Bilinmiyor), sabit = int(SutunTipi::SabitMetin);
    QTest::newRow("decimal comma") << QVariant(12.5) << ondalik << "12,5";
    QTest::newRow("8.00 loses its zeros") << QVariant(8.0) << ondalik << "8";
    QTest::newRow("zero") << QVariant(0.0) << ondalik << "0";
    QTest::newRow("no grouping") << QVariant(1234567.25) << ondalik << "1234567,25";
    QTest::newRow("negative") << QVariant(-0.75) << ondalik << "-0,75";
    QTest::newRow("float noise hidden") << QVariant(0.1 + 0.2) << ondalik << "0,3";
    QTest::newRow("decimal stored as integer") << QVariant(qlonglong(18)) << ondalik << "18";
    QTest::newRow("decimal handed over as text") << QVariant(QStringLiteral("11.7500")) << ondalik << "11,75";
    QTest::newRow("stored date at midnight") << QVariant(QStringLiteral("2005-12-25 00:00:00")) << tarih << "25.12.2005";
    QTest::newRow("stored date with time") << QVariant(QStringLiteral("2005-12-25 14:30:05")) << tarih << "25.12.2005 14:30:05";
    QTest::newRow("QDateTime") << QVariant(QDateTime(QDate(2024, 2, 29), QTime(9, 5))) << tarih << "29.02.2024 09:05:00";
    QTest::newRow("bit 1") << QVariant(1) << bit << "True";
    QTest::newRow("bit 0") << QVariant(0) << bit << "False";
    QTest::newRow("bool unknown column") << QVariant(true) << bilinmiyor << "True";
    QTest::newRow("computed zero") << QVariant(0) << bilinmiyor << "0";
    QTest::newRow("NULL is empty") << QVariant(QMetaType(QMetaType::Double)) << ondalik << "";
    QTest::newRow("char keeps blanks here") << QVariant(QStringLiteral("A-01  ")) << sabit << "A-01  ";
}

void DegerMetinTesti::degerdenMetne()
{
    QFETCH(QVariant, deger);
    QFETCH(int, tip);
    QFETCH(QString, metin);
    QCOMPARE(DegerMetni(deger, SutunTipi(tip)), metin);
}

void DegerMetinTesti::metindenDegere_data()
{
    QTest::addColumn<QString>("metin");
    QTest::addColumn<QString>("bildirilen");
    QTest::addColumn<QVariant>("beklenen");
    QTest::newRow("decimal comma") << "12,5" << "decimal(18,4)" << QVariant(12.5);
    QTest::newRow("integer") << "42" << "int" << QVariant(qlonglong(42));
    QTest::newRow("date") << "25.12.2005" << "datetime" << QVariant(QStringLiteral("2005-12-25 00:00:00"));
    QTest::newRow("date and time") << "25.12.2005 14:30:05" << "datetime" << QVariant(QStringLiteral("2005-12-25 14:30:05"));
    QTest::newRow("empty date is NULL") << "" << "datetime" << QVariant(QMetaType(QMetaType::QString));
    QTest::newRow("True") << "True" << "bit" << QVariant(1);
    QTest::newRow("False") << "False" << "bit" << QVariant(0);
    QTest::newRow("text as it is") << " O'NEIL; " << "nvarchar(20)" << QVariant(QStringLiteral(" O'NEIL; "));
}

void DegerMetinTesti::metindenDegere()
{
    QFETCH(QString, metin);
    QFETCH(QString, bildirilen);
    QFETCH(QVariant, beklenen);
    const QVariant deger = MetinDegeri(metin, BildirilenTiptenSutun(bildirilen), true);
    QCOMPARE(deger.isNull(), beklenen.isNull());
    if (!beklenen.isNull())
        QCOMPARE(deger.toString(), beklenen.toString());
    // Written and read back, a value keeps its text.
    if (!beklenen.isNull() && bildirilen != u"nvarchar(20)")
        QCOMPARE(DegerMetni(deger, BildirilenTiptenSutun(bildirilen).tip), metin);
}

void DegerMetinTesti::yazilamayanMetinReddedilir_data()
{
    QTest::addColumn<QString>("metin");
    QTest::addColumn<QString>("bildirilen");
    QTest::newRow("letters into a number") << "abc" << "decimal(18,4)";
    QTest::newRow("point is not our decimal mark") << "12.5" << "decimal(18,4)";
    QTest::newRow("fraction into an integer") << "12,5" << "int";
    QTest::newRow("empty into an integer") << "" << "smallint";
    QTest::newRow("impossible date") << "31.02.2005" << "datetime";
    QTest::newRow("text longer than its column") << "ABCDEFGHIJK" << "char(10)";
    QTest::newRow("not a bit") << "Belki" << "bit";
}

void DegerMetinTesti::yazilamayanMetinReddedilir()
{
    QFETCH(QString, metin);
    QFETCH(QString, bildirilen);
    QVERIFY_THROWS_EXCEPTION(Hata, MetinDegeri(metin, BildirilenTiptenSutun(bildirilen), true));
}

void DegerMetinTesti::lehce_data()
{
    QTest::addColumn<QString>("sqlServer");
    QTest::addColumn<QString>("sqlite");
    QTest::newRow("TOP becomes LIMIT")
        << "SELECT TOP 1 STOKKART.*,KDVGRUPLARI.Departman_No FROM STOKKART,KDVGRUPLARI WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID"
        << "SELECT STOKKART.*,KDVGRUPLARI.Departman_No FROM STOKKART,KDVGRUPLARI WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID LIMIT 1";
    QTest::newRow("ANY becomes IN")
        << " AND NOT STOKKART.Stok_ID =ANY(SELECT Stok_ID FROM STOKFIYAT)"
        << " AND NOT STOKKART.Stok_ID  IN (SELECT Stok_ID FROM STOKFIYAT)";
    QTest::newRow("date literal")
        << "STOKKART.Yr_Tarih >= '01/01/2005' AND STOKKART.Yr_Tarih <= '01/31/2005'"
        << "STOKKART.Yr_Tarih >= '2005-01-01 00:00:00' AND STOKKART.Yr_Tarih <= '2005-01-31 00:00:00'";
    QTest::newRow("not a date stays") << "Stok_Kod='13/45/2005'" << "Stok_Kod='13/45/2005'";
    QTest::newRow("plain statement unchanged") << "SELECT * FROM sysfrmlng WHERE sysfrm_ID=1" << "SELECT * FROM sysfrmlng WHERE sysfrm_ID=1";
}

void DegerMetinTesti::lehce()
{
    QFETCH(QString, sqlServer);
    QFETCH(QString, sqlite);
    QCOMPARE(SQLiteLehcesine(sqlServer), sqlite);
}

QTEST_GUILESS_MAIN(DegerMetinTesti)
#include "tst_degermetin.moc"
