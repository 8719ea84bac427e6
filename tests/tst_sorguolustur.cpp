#include "common/TarihKontrol.h"
#include "filter/AktarimSecimi.h"
#include "filter/FiltreTablosu.h"
#include "filter/SorguOlusturucu.h"
#include "state/SqlLehcesi.h"
#include "state/Degiskenler.h"
#include "support/SahteEtkilesim.h"

#include <QTest>

using namespace Degiskenler;

using Ayarlar = QList<QStringList>; // {caption, key, value}, or {caption, "Gizli", ""} to hide the row

// The stock-list statement and the export choices from grid settings, the date-entry check,
// and the statements' rewrite for the embedded backend.
class SorguOlusturTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { Sifirla(); }

    void ifade_data();
    void ifade();
    void aktarimSecimi();

    void tarihKontrol_data();
    void tarihKontrol();
    void lehce_data();
    void lehce();
};

namespace {

const QString Son = QStringLiteral(" ORDER BY STOKKART.Stok_Kod");

QString Seviye(const char *op, const char *sutun)
{
    return QStringLiteral(" AND STOKKART.Stok_ID=ANY(SELECT Stok_ID FROM SB WHERE SB.Kalan%1STOKKART.%2)")
        .arg(QLatin1String(op), QLatin1String(sutun));
}

void Uygula(FiltreTablosu &g, const Ayarlar &ayarlar)
{
    for (const QStringList &a : ayarlar) {
        const int r = g.SatirBul(a[0]);
        QVERIFY2(r > 0, qPrintable(a[0]));
        if (a[1] == QLatin1String("Gizli"))
            g.SetRowHidden(r, true);
        else
            g.SetTextMatrix(r, g.ColIndex(a[1]), a[2]);
    }
}

} // namespace

void SorguOlusturTesti::ifade_data()
{
    QTest::addColumn<Ayarlar>("ayarlar");
    QTest::addColumn<QString>("kosullar"); // the conditions added, or "!" and the refusal told
    const QString B = QStringLiteral("Baslangic"), E = QStringLiteral("Bitis");
    QTest::newRow("defaults: two spaces before ORDER") << Ayarlar{} << QString();
    QTest::newRow("code range")
        << Ayarlar{{"Stok Kodu", B, "A100"}, {"Stok Kodu", E, "A199"}}
        << " AND STOKKART.Stok_Kod >='A100' AND STOKKART.Stok_Kod<='A199'";
    QTest::newRow("only start, unquoted") << Ayarlar{{"Alış İskontosu", B, "5"}} << " AND STOKKART.ISK_Alis >=5";
    QTest::newRow("decimal comma written as point")
        << Ayarlar{{"Satış İskontosu", E, "2,5"}} << " AND STOKKART.ISK_Satis<=2.5";
    QTest::newRow("vat rate unquoted") << Ayarlar{{"KDV Oranı", B, "18"}} << " AND STOKKART.KDV=18";
    QTest::newRow("vat group quoted") << Ayarlar{{"KDV Grubu", B, "3"}} << " AND KDVGRUPLARI.Departman_No='3'";
    QTest::newRow("equality ignores end") << Ayarlar{{"Barkodu", B, "869"}, {"Barkodu", E, "999"}}
                                          << " AND STOKKART.Ana_Birim_Barkod='869'";
    QTest::newRow("generic rows in row order")
        << Ayarlar{{"Ana Birimi", B, "KG"}, {"Stok Adı", B, "E"}, {"Özel Kodu", B, "X"}}
        << " AND STOKKART.Stok_Ad >='E' AND STOKKART.O_Kod='X' AND STOKKART.Ana_Birim='KG'";
    QTest::newRow("crafted value stays inside its quotes")
        << Ayarlar{{"Grup Kodu", B, "x' OR '1'='1"}} << " AND STOKKART.Grup_Kod='x'' OR ''1''=''1'";
    QTest::newRow("hidden rows left out")
        << Ayarlar{{"Stok Kodu", B, "A"}, {"Stok Kodu", "Gizli", ""},
                   {"Barkod Tipi", B, "EAN 8"}, {"Barkod Tipi", "Gizli", ""}}
        << QString();
    QTest::newRow("date alone adds nothing")
        << Ayarlar{{"Tarih", B, "01/01/2005"}, {"Tarih", E, "31/01/2005"}} << QString();
    QTest::newRow("new before changed, same range, dotted dates")
        << Ayarlar{{"Tarih", B, "25.12.2005"}, {"Tarih", E, "26.12.2005"}, {"Fiyatı Değişmiş", B, "Evet"},
                   {"Stoğa Yeni Giren", B, "Evet"}}
        << " AND STOKKART.Yr_Tarih >= '12/25/2005' AND STOKKART.Yr_Tarih <= '12/26/2005'"
           " AND STOKKART.Deg_Tarih >= '12/25/2005' AND STOKKART.Deg_Tarih <= '12/26/2005'";
    QTest::newRow("incomplete start date left out")
        << Ayarlar{{"Tarih", B, "12/05/"}, {"Tarih", E, "31/01/2005"}, {"Stoğa Yeni Giren", B, "Evet"}}
        << " AND STOKKART.Yr_Tarih <= '01/31/2005'";
    QTest::newRow("impossible date left out")
        << Ayarlar{{"Tarih", B, "30/02/2005"}, {"Fiyatı Değişmiş", B, "Evet"}} << QString();
    QTest::newRow("unpriced cards")
        << Ayarlar{{"Fiyatı Belirlenmemiş", B, "Evet"}} << " AND NOT STOKKART.Stok_ID =ANY(SELECT Stok_ID FROM STOKFIYAT)";
    QTest::newRow("barcode type none is 0")
        << Ayarlar{{"Barkod Tipi", B, "HİÇBİRİ"}} << " AND STOKKART.Ana_Birim_Barkod_Tipi =0";
    QTest::newRow("min below") << Ayarlar{{"Minimum Seviye", B, "Küçük"}} << Seviye("<", "StokMinSeviye");
    QTest::newRow("max equal") << Ayarlar{{"Maxsimum Seviye", B, "Eşit"}} << Seviye("=", "StokMaxSeviye");
    QTest::newRow("levels in fixed order")
        << Ayarlar{{"Maxsimum Seviye", B, "Büyük"}, {"Minimum Seviye", B, "Eşit"}}
        << Seviye("=", "StokMinSeviye") + Seviye(">", "StokMaxSeviye");
    QTest::newRow("all kinds in step order")
        << Ayarlar{{"Minimum Seviye", B, "Büyük"}, {"Barkod Tipi", B, "EAN 13"}, {"Fiyatı Belirlenmemiş", B, "Evet"},
                   {"Tarih", B, "01/02/2005"}, {"Stoğa Yeni Giren", B, "Evet"}, {"Stok Kodu", B, "A"}}
        << " AND STOKKART.Stok_Kod >='A' AND STOKKART.Yr_Tarih >= '02/01/2005'"
           " AND NOT STOKKART.Stok_ID =ANY(SELECT Stok_ID FROM STOKFIYAT)"
           " AND STOKKART.Ana_Birim_Barkod_Tipi =1" + Seviye(">", "StokMinSeviye");
    const auto sayisal = [](const QString &alan) { return "!" + alan + " alanına sayısal bir değer girmelisiniz."; };
    QTest::newRow("text in a range") << Ayarlar{{"Alış İskontosu", B, "5 OR 1=1"}} << sayisal("Alış İskontosu");
    QTest::newRow("letters in a range") << Ayarlar{{"Satış İskontosu", E, "beş"}} << sayisal("Satış İskontosu");
    QTest::newRow("statement in the vat rate")
        << Ayarlar{{"KDV Oranı", B, "18;DELETE FROM STOKKART"}} << sayisal("KDV Oranı");
    QTest::newRow("NUL in a code") << Ayarlar{{"Stok Kodu", B, QString("A") + QChar(0) + "B"}}
                                   << "!Stok Kodu alanına girilen değer kullanılamayan bir karakter içeriyor.";
}

void SorguOlusturTesti::ifade()
{
    QFETCH(Ayarlar, ayarlar);
    QFETCH(QString, kosullar);
    SahteEtkilesim op;
    FiltreTablosu g;
    g.SetRowHidden(5, true);
    Uygula(g, ayarlar);
    AktarimSecimi secim;
    if (kosullar.startsWith(QLatin1Char('!'))) {
        // Nothing of the refused statement is handed over: neither the statement nor the choices.
        ListeSQL = QStringLiteral("(the last accepted statement)");
        op.Bekle(kosullar.mid(1), Etkilesim::Simge::Kritik);
        QVERIFY(!SorguOlustur(g, secim));
        QCOMPARE(ListeSQL, QStringLiteral("(the last accepted statement)"));
        QVERIFY(!secim.Alis_Dahil && !secim.Satis_Dahil && !secim.Fiyat_Secimi[1]);
        QCOMPARE(op.panoYazma, 0);
        return;
    }
    QVERIFY(SorguOlustur(g, secim));
    const QString beklenen = QStringLiteral(
        "SELECT STOKKART.Stok_ID, STOKKART.Stok_Kod,STOKKART.Stok_Ad,KDVGRUPLARI.Departman_No,AKTIFSTOKFIYAT.Ana_Birim_Fiyat "
        "FROM KDVGRUPLARI,STOKKART LEFT JOIN AKTIFSTOKFIYAT ON(STOKKART.Stok_ID=AKTIFSTOKFIYAT.Stok_ID AND "
        "AKTIFSTOKFIYAT.On_Deger=1) WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID ") + kosullar + Son;
    QCOMPARE(ListeSQL, beklenen);
    QCOMPARE(op.pano, beklenen);
}

void SorguOlusturTesti::aktarimSecimi()
{
    // The export's choices come from each accepted statement's grid: purchase and/or sale,
    // and the price levels 1 to 10 (a hidden row counts all the same).
    SahteEtkilesim op;
    FiltreTablosu g;
    AktarimSecimi secim;
    const auto fiyatlar = [&secim] {
        QString s;
        for (const bool secili : secim.Fiyat_Secimi)
            s += secili ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    };
    QVERIFY(SorguOlustur(g, secim));
    QVERIFY(secim.Alis_Dahil && secim.Satis_Dahil);
    QCOMPARE(fiyatlar(), QStringLiteral("01111111111"));
    Uygula(g, {{"Alış/Satış", "Baslangic", "Satış"}, {"Fiyat3", "Baslangic", "Hayır"}, {"Fiyat10", "Gizli", ""}});
    QVERIFY(SorguOlustur(g, secim));
    QVERIFY(!secim.Alis_Dahil && secim.Satis_Dahil);
    QCOMPARE(fiyatlar(), QStringLiteral("01101111111"));
    Uygula(g, {{"Alış/Satış", "Baslangic", "Alış"}, {"Fiyat3", "Baslangic", "Evet"}});
    QVERIFY(SorguOlustur(g, secim));
    QVERIFY(secim.Alis_Dahil && !secim.Satis_Dahil);
    QCOMPARE(fiyatlar(), QStringLiteral("01111111111"));
}

void SorguOlusturTesti::tarihKontrol_data()
{
    QTest::addColumn<QString>("metin");
    QTest::addColumn<QString>("sonuc");  // empty: refused
    QTest::addColumn<QString>("mesaj");
    const QString gun = QStringLiteral("Gün alanını yanlış girdiniz.");
    const QString ay = QStringLiteral("Ay alanını yanlış girdiniz.");
    QTest::newRow("dotted") << "01.02.2005" << "01/02/2005" << "";
    QTest::newRow("month replaces day message") << "3/4/2005" << "" << ay;
    QTest::newRow("30 February") << "30.02.2005" << "" << gun;
    QTest::newRow("month 13") << "15.13.2005" << "" << ay;
    QTest::newRow("month 12, day 31") << "31.12.2005" << "31/12/2005" << "";
    QTest::newRow("29 February any year") << "29022005" << "29/02/2005" << "";
}

void SorguOlusturTesti::tarihKontrol()
{
    QFETCH(QString, metin);
    QFETCH(QString, sonuc);
    QFETCH(QString, mesaj);
    SahteEtkilesim op;
    if (!mesaj.isEmpty())
        op.Bekle(mesaj, Etkilesim::Simge::Kritik);
    QCOMPARE(TarihKontrol(metin).value_or(QStringLiteral("<refused>")), mesaj.isEmpty() ? sonuc : QStringLiteral("<refused>"));
}

void SorguOlusturTesti::lehce_data()
{
    QTest::addColumn<QString>("sqlServer");
    QTest::addColumn<QString>("sqlite");
    const QString T = QStringLiteral(" COLLATE TURKCE");
    QTest::newRow("date column set") << "UPDATE STOKKART SET Deg_Tarih='03/04/2026' WHERE Stok_ID=1"
                                     << "UPDATE STOKKART SET Deg_Tarih='2026-03-04 00:00:00' WHERE Stok_ID=1";
    QTest::newRow("comparison inside a name")
        << "WHERE STOKKART.Stok_Ad='O'' AND STOKKART.Yr_Tarih >= ''01/01/2005'' ORDER BY Stok_Ad'"
        << "WHERE STOKKART.Stok_Ad='O'' AND STOKKART.Yr_Tarih >= ''01/01/2005'' ORDER BY Stok_Ad'";
    QTest::newRow("text ranges and order in Turkish")
        << "WHERE STOKKART.Stok_Ad >='B' AND STOKKART.Stok_Ad<='D' AND k.Stok_Kod > 'A' AND STOKKART.O_Kod <> 'X' ORDER BY STOKKART.Stok_Kod"
        << "WHERE STOKKART.Stok_Ad >='B'" + T + " AND STOKKART.Stok_Ad<='D'" + T + " AND k.Stok_Kod > 'A'" + T
               + " AND STOKKART.O_Kod <> 'X' ORDER BY STOKKART.Stok_Kod" + T;
    QTest::newRow("subquery ordered, then LIMIT")
        << "SELECT TOP 3 Stok_ID FROM (SELECT * FROM STOKKART ORDER BY Stok_Ad) x WHERE Stok_Kod >= 'A' ORDER BY 1;"
        << "SELECT Stok_ID FROM (SELECT * FROM STOKKART ORDER BY Stok_Ad" + T + ") x WHERE Stok_Kod >= 'A'" + T
               + " ORDER BY 1 LIMIT 3";
}

void SorguOlusturTesti::lehce()
{
    QFETCH(QString, sqlServer);
    QFETCH(QString, sqlite);
    // A catalogue of a few STOKKART columns.
    const auto tur = [](QStringView tablo, QStringView sutun) {
        if (!tablo.isEmpty() && tablo != u"STOKKART" && tablo != u"k")
            return SutunTuru::Bilinmiyor;
        if (sutun == u"Yr_Tarih" || sutun == u"Deg_Tarih")
            return SutunTuru::Tarih;
        if (sutun == u"Stok_Kod" || sutun == u"Stok_Ad" || sutun == u"O_Kod")
            return SutunTuru::Metin;
        return sutun == u"Stok_ID" ? SutunTuru::Diger : SutunTuru::Bilinmiyor;
    };
    QCOMPARE(SQLiteLehcesine(sqlServer, tur, QStringLiteral("TURKCE")), sqlite);
}

QTEST_GUILESS_MAIN(SorguOlusturTesti)
#include "tst_sorguolustur.moc"
