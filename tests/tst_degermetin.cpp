#include "state/DegerMetin.h"
#include "state/Hata.h"
#include "state/SqlServerArkaUcu.h"
#include "state/SqliteArkaUcu.h"
#include "state/TurkceSiralama.h"

#include <QCollator>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <cmath>

namespace {

// The general conversion the number text was first written with; the quick paths must give
// exactly its text for every value.
QString GenelSayiMetni(double sayi)
{
    if (std::isfinite(sayi) && std::fabs(sayi) < 1e15 && sayi == std::trunc(sayi))
        return QString::number(static_cast<qint64>(sayi));
    QString metin = QString::number(sayi, 'g', 15);
    static const QRegularExpression sifirlar(QStringLiteral("\\.?0+$"));
    if (metin.contains(QLatin1Char('e')))
        metin = QString::number(sayi, 'f', 15).remove(sifirlar);
    return metin.replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

// The one value/text rule, and the Turkish ordering of the embedded backend.
class DegerMetinTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void degerdenMetne_data();
    void degerdenMetne();
    void metindenDegere_data();
    void metindenDegere();
    void sayiAraliklari_data();
    void sayiAraliklari();
    void turkceSiralama();
    void sayiMetniVeKarsilastirmasi();
};

void DegerMetinTesti::degerdenMetne_data()
{
    QTest::addColumn<QVariant>("deger");
    QTest::addColumn<int>("tip");
    QTest::addColumn<QString>("metin");
    const int ondalik = int(SutunTipi::Ondalik), tarih = int(SutunTipi::Tarih), bit = int(SutunTipi::Bit);
    const int sabit = int(SutunTipi::SabitMetin);
    QTest::newRow("decimal comma") << QVariant(12.5) << ondalik << "12,5";
    QTest::newRow("8.00 loses its zeros") << QVariant(8.0) << ondalik << "8";
    QTest::newRow("negative") << QVariant(-0.75) << ondalik << "-0,75";
    QTest::newRow("float noise hidden") << QVariant(0.1 + 0.2) << ondalik << "0,3";
    QTest::newRow("fifteen digits") << QVariant(1.0 / 3) << ondalik << "0,333333333333333";
    QTest::newRow("decimal stored as integer") << QVariant(qlonglong(18)) << ondalik << "18";
    QTest::newRow("decimal handed over as text") << QVariant(QStringLiteral("11.7500")) << ondalik << "11,75";
    QTest::newRow("stored date at midnight") << QVariant(QStringLiteral("2005-12-25 00:00:00")) << tarih << "25.12.2005";
    QTest::newRow("stored date with time") << QVariant(QStringLiteral("2005-12-25 14:30:05")) << tarih << "25.12.2005 14:30:05";
    QTest::newRow("QDateTime") << QVariant(QDateTime(QDate(2024, 2, 29), QTime(9, 5))) << tarih << "29.02.2024 09:05:00";
    QTest::newRow("bit 1") << QVariant(1) << bit << "True";
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
    QTest::addColumn<bool>("sqlServer");
    QTest::newRow("empty date is NULL") << "" << "datetime" << QVariant(QMetaType(QMetaType::QString)) << false;
    QTest::newRow("SQL Server: date and time typed")
        << "25.12.2005 14:30:05" << "datetime" << QVariant(QDateTime(QDate(2005, 12, 25), QTime(14, 30, 5))) << true;
    QTest::newRow("SQL Server: short date typed")
        << "05.01.2005" << "smalldatetime" << QVariant(QDateTime(QDate(2005, 1, 5), QTime(0, 0))) << true;
    QTest::newRow("SQL Server: empty date is a NULL date") << "" << "datetime" << QVariant(QMetaType(QMetaType::QDateTime)) << true;
    QTest::newRow("SQL Server: bit typed") << "True" << "bit" << QVariant(true) << true;
}

void DegerMetinTesti::metindenDegere()
{
    QFETCH(QString, metin);
    QFETCH(QString, bildirilen);
    QFETCH(QVariant, beklenen);
    QFETCH(bool, sqlServer);
    const SqliteArkaUcu sqlite{QString()};
    const SqlServerArkaUcu odbc{QString()};
    const QVariant deger = MetinDegeri(metin, BildirilenTiptenSutun(bildirilen), sqlServer ? static_cast<const ArkaUc &>(odbc) : sqlite);
    QCOMPARE(deger.typeId(), beklenen.typeId());
    QCOMPARE(deger.isNull(), beklenen.isNull());
    if (!beklenen.isNull())
        QCOMPARE(deger.toString(), beklenen.toString());
    // Written and read back, a value keeps its text.
    if (!beklenen.isNull())
        QCOMPARE(DegerMetni(deger, BildirilenTiptenSutun(bildirilen).tip), metin);
}

void DegerMetinTesti::sayiAraliklari_data()
{
    QTest::addColumn<QString>("metin");
    QTest::addColumn<QString>("bildirilen");
    QTest::addColumn<QString>("deger"); // as stored, empty when refused (MetinUygunsuzlugu agrees)
    QTest::newRow("bigint largest") << "9223372036854775807" << "bigint" << "9223372036854775807";
    QTest::newRow("bigint one past") << "9223372036854775808" << "bigint" << "";
    QTest::newRow("int largest") << "2147483647" << "int" << "2147483647";
    QTest::newRow("int one past") << "2147483648" << "int" << "";
    QTest::newRow("smallint smallest") << "-32768" << "smallint" << "-32768";
    QTest::newRow("smallint one past") << "32768" << "smallint" << "";
    QTest::newRow("tinyint largest") << "255" << "tinyint" << "255";
    QTest::newRow("300 into tinyint") << "300" << "tinyint" << "";
    QTest::newRow("tinyint negative") << "-1" << "tinyint" << "";
    QTest::newRow("whole number with zero decimals") << "4,000" << "int" << "4";
    QTest::newRow("leading zeros do not count") << "000000000000000000042" << "tinyint" << "42";
    QTest::newRow("exponent is no number") << "1e5" << "int" << "";
    QTest::newRow("decimal(18,4) largest") << "99999999999999,9999" << "decimal(18,4)" << "99999999999999.9999";
    QTest::newRow("decimal(18,4) 15 whole digits") << "100000000000000" << "decimal(18,4)" << "";
    QTest::newRow("decimal(18,4) five decimals") << "1,23456" << "decimal(18,4)" << "";
    QTest::newRow("decimal(18,4) trailing zeros") << "1,234500" << "decimal(18,4)" << "1.2345";
    QTest::newRow("decimal(5,2) largest") << "-999,99" << "decimal(5,2)" << "-999.99";
    QTest::newRow("decimal(5,2) one past") << "1000" << "decimal(5,2)" << "";
    QTest::newRow("decimal(4,4) below one") << ",9999" << "decimal(4,4)" << "0.9999";
    QTest::newRow("float has no declared digits") << "123456789012345678901234567890" << "float" << "123456789012345678901234567890";
    QTest::newRow("datetime before 1753") << "31.12.1752" << "datetime" << "";
    QTest::newRow("smalldatetime after 2079") << "07.06.2079" << "smalldatetime" << "";
    QTest::newRow("leap day") << "29.02.2024" << "datetime" << "2024-02-29 00:00:00";
    QTest::newRow("date and time") << "25.12.2005 14:30:05" << "datetime" << "2005-12-25 14:30:05";
    QTest::newRow("True") << "True" << "bit" << "1";
    QTest::newRow("False") << "False" << "bit" << "0";
    QTest::newRow("text as it is") << " O'NEIL; " << "nvarchar(20)" << " O'NEIL; ";
    QTest::newRow("no leap day") << "29.02.2023" << "datetime" << "";
    QTest::newRow("letters into a number") << "abc" << "decimal(18,4)" << "";
    QTest::newRow("fraction into an integer") << "12,5" << "int" << "";
    QTest::newRow("point is not our decimal mark") << "12.5" << "decimal(18,4)" << "";
    QTest::newRow("empty into an integer") << "" << "smallint" << "";
    QTest::newRow("text longer than its column") << "ABCDEFGHIJK" << "char(10)" << "";
    QTest::newRow("text as long as its column") << "ABCDEFGHIJ" << "char(10)" << "ABCDEFGHIJ";
    QTest::newRow("not a bit") << "Belki" << "bit" << "";
}

void DegerMetinTesti::sayiAraliklari()
{
    QFETCH(QString, metin);
    QFETCH(QString, bildirilen);
    QFETCH(QString, deger);
    const SutunBilgisi sutun = BildirilenTiptenSutun(bildirilen);
    const SqliteArkaUcu sqlite{QString()};
    QCOMPARE(MetinUygunsuzlugu(metin, sutun).isEmpty(), !deger.isEmpty());
    if (deger.isEmpty()) {
        QVERIFY_THROWS_EXCEPTION(Hata, MetinDegeri(metin, sutun, sqlite));
        return;
    }
    const QVariant d = MetinDegeri(metin, sutun, sqlite);
    QCOMPARE(d.typeId() == QMetaType::Double ? QString::number(d.toDouble(), 'g', 15) : d.toString(), deger);
}

void DegerMetinTesti::turkceSiralama()
{
    // Two lists in their Turkish order, and random texts over the weighed characters and others
    // (sharing prefixes often): every pair is compared as the platform's Turkish collator does.
    const QStringList sirali[] = {
        {"B", "bal", "CAN", "cips", "ÇAY", "çikolata", "ÇİKOLATA ", "ÇORAP", "D"},
        {"h", "I", "ıİ", "Iİ2", "IRMAK", "ii", "İNCİR", "incir2", "j", "ÖRDEK", "ŞEKER", "ÜZÜM", "z"}};
    QStringList metinler = sirali[0] + sirali[1];
    QRandomGenerator zar(20261207);
    const QString harfler = QStringLiteral("aAâäÄbcCçÇdgğĞhıIİiîÎïoöÖsşŞßuüÜûzZ09 \t-_./'#[(~%$é\u0001\u0302\u00A0日Ω");
    for (int i = 0; i < 700; ++i) {
        QString m = QStringList{"", "ÇA", "ab", "İI"}[int(zar.bounded(4))];
        for (int n = int(zar.bounded(6)); n > 0; --n)
            m += harfler[int(zar.bounded(int(harfler.size())))];
        metinler << m;
    }
    const auto bizim = [](const QString &a, const QString &b) {
        const QByteArray x = a.toUtf8(), y = b.toUtf8();
        const int n = TurkceKarsilastir(x.constData(), int(x.size()), y.constData(), int(y.size()));
        return (n > 0) - (n < 0);
    };
    for (const QStringList &liste : sirali)
        for (int i = 1; i < liste.size(); ++i)
            QVERIFY2(bizim(liste[i - 1], liste[i]) < 0, qPrintable(liste[i - 1] + QStringLiteral(" / ") + liste[i]));
    QCollator turkce{QLocale(QLocale::Turkish, QLocale::Turkey)};
    turkce.setCaseSensitivity(Qt::CaseInsensitive);
    for (const QString &a : metinler) {
        for (const QString &b : metinler) {
            const int n = turkce.compare(a, b), beklenen = (n > 0) - (n < 0);
            if (bizim(a, b) != beklenen)
                QFAIL(qPrintable(QStringLiteral("'%1' vs '%2': %3, the collator says %4").arg(a, b).arg(bizim(a, b)).arg(beklenen)));
        }
    }
}

void DegerMetinTesti::sayiMetniVeKarsilastirmasi()
{
    QVector<double> sayilar{0.0, -0.0, 1, -1, 0.1, -0.1, 0.1 + 0.2, 0.3 - 0.1, 1.0 / 3, 2.0 / 3, 0.0001, -0.0001, 0.0005,
                            0.00005, 0.00015, 1e-5, 1e-9, 12.5, 8.0, 1234567.25, 99999999999.9999, 99999999999.99999,
                            1e11, 1e11 + 0.5, 123456789012.25, 999999999999999.0, 1e15, 1e15 + 2, 1e16, 1e20, 1e300,
                            -1e300, 5e-324, 0.125, 0.0625, 1.005, 2.675, 1.15 * 100, 4.35 * 100, 19.99 * 3, 0.7 * 0.85,
                            std::nan(""), HUGE_VAL, -HUGE_VAL};
    // Decimals of 1 to 4 places, also after the arithmetic that produces stored prices; any scale.
    QRandomGenerator zar(20261206);
    for (int i = 0; i < 80000; ++i) {
        const double d = double(qint64(zar.bounded(2000000000)) - 1000000000) / std::pow(10.0, 1 + i % 4);
        sayilar << d << d * 0.85 << d / 7 << std::round(d * 0.85 * 100) / 100 << d * 1e3 << d / 1e3;
        sayilar << zar.generateDouble() * std::pow(10.0, int(zar.bounded(30)) - 10);
    }
    // The quick path writes what the general one writes. The quick comparison of a stored
    // number with a file's text says what comparing the texts says, also for near misses.
    for (qsizetype i = 0; i < sayilar.size(); ++i) {
        const double d = sayilar[i];
        const QString metin = GenelSayiMetni(d);
        if (SayiMetni(d) != metin)
            QFAIL(qPrintable(QStringLiteral("%1: %2 instead of %3").arg(d, 0, 'g', 17).arg(SayiMetni(d), metin)));
        if (i % 5 != 0 || !std::isfinite(d) || std::fabs(d) >= 1e15)
            continue;
        const double tam = std::trunc(d);
        const QString tamMetin = GenelSayiMetni(tam);
        for (const QString &m : {metin, metin + "0", metin + ",0", GenelSayiMetni(std::nextafter(d, 1e300))}) {
            if (AyniMetin(d, SutunTipi::Ondalik, m) != (m == metin)
                || AyniMetin(qlonglong(tam), SutunTipi::Ondalik, m) != (m == tamMetin))
                QFAIL(qPrintable(QStringLiteral("%1 against '%2'").arg(d, 0, 'g', 17).arg(m)));
        }
    }
    QVERIFY(AyniMetin(QVariant(QStringLiteral("A-01  ")), SutunTipi::SabitMetin, QStringLiteral("A-01")));
    QVERIFY(AyniMetin(QVariant(QMetaType(QMetaType::Double)), SutunTipi::Ondalik, QString()));
    QVERIFY(!AyniMetin(QVariant(0.0), SutunTipi::Ondalik, QString()));
}

QTEST_GUILESS_MAIN(DegerMetinTesti)
#include "tst_degermetin.moc"
