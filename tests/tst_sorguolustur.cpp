#include "common/TarihKontrol.h"
#include "filter/AktarimSecimi.h"
#include "filter/FiltreTablosu.h"
#include "filter/SorguOlusturucu.h"
#include "state/SqlLehcesi.h"
#include "state/Degiskenler.h"
#include "support/SahteEtkilesim.h"

#include <QTest>

using namespace Degiskenler;

using Ayarlar = QList<QStringList>; // {caption, key, value}

// The stock-list statement and the export choices from grid settings, the date-entry check,
// and the statements' rewrite for the embedded backend.
class SorguOlusturTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { Sifirla(); }

    void ifade_data();
    void ifade();
    void sayisalSatiraMetinYazilamaz_data();
    void sayisalSatiraMetinYazilamaz();
    void fiyatSecimleri();
    void alisSatisSecimi_data();
    void alisSatisSecimi();
    void gizliSatirKatilmaz();
    void tabloAcilistakiGibi();
    void degerYazSecenekDenetler();

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
        g.SetTextMatrix(r, g.ColIndex(a[1]), a[2]);
    }
}

} // namespace

void SorguOlusturTesti::ifade_data()
{
    QTest::addColumn<Ayarlar>("ayarlar");
    QTest::addColumn<QString>("kosullar");
    const QString B = QStringLiteral("Baslangic"), E = QStringLiteral("Bitis");
    QTest::newRow("defaults: two spaces before ORDER") << Ayarlar{} << QString();
    QTest::newRow("code range")
        << Ayarlar{{"Stok Kodu", B, "A100"}, {"Stok Kodu", E, "A199"}}
        << " AND STOKKART.Stok_Kod >='A100' AND STOKKART.Stok_Kod<='A199'";
    QTest::newRow("only end of range") << Ayarlar{{"Stok Kodu", E, "A199"}} << " AND STOKKART.Stok_Kod<='A199'";
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
    QTest::newRow("apostrophe doubled")
        << Ayarlar{{"Stok Adı", B, "O'NEIL"}} << " AND STOKKART.Stok_Ad >='O''NEIL'";
    QTest::newRow("crafted value stays inside its quotes")
        << Ayarlar{{"Grup Kodu", B, "x' OR '1'='1"}} << " AND STOKKART.Grup_Kod='x'' OR ''1''=''1'";
    QTest::newRow("date alone adds nothing")
        << Ayarlar{{"Tarih", B, "01/01/2005"}, {"Tarih", E, "31/01/2005"}} << QString();
    QTest::newRow("new cards use the date range")
        << Ayarlar{{"Tarih", B, "01/01/2005"}, {"Tarih", E, "31/01/2005"}, {"Stoğa Yeni Giren", B, "Evet"}}
        << " AND STOKKART.Yr_Tarih >= '01/01/2005' AND STOKKART.Yr_Tarih <= '01/31/2005'";
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
    QTest::newRow("barcode type weighed") << Ayarlar{{"Barkod Tipi", B, "GRAMAJ"}}
                                         << " AND STOKKART.Ana_Birim_Barkod_Tipi =8";
    QTest::newRow("min below") << Ayarlar{{"Minimum Seviye", B, "Küçük"}} << Seviye("<", "StokMinSeviye");
    QTest::newRow("optimum below only") << Ayarlar{{"Optimum Seviye", B, "Küçük"}} << Seviye("<", "StokOptSeviye");
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
    QVERIFY(SorguOlustur(g, secim));
    const QString beklenen = QStringLiteral(
        "SELECT STOKKART.Stok_ID, STOKKART.Stok_Kod,STOKKART.Stok_Ad,KDVGRUPLARI.Departman_No,AKTIFSTOKFIYAT.Ana_Birim_Fiyat "
        "FROM KDVGRUPLARI,STOKKART LEFT JOIN AKTIFSTOKFIYAT ON(STOKKART.Stok_ID=AKTIFSTOKFIYAT.Stok_ID AND "
        "AKTIFSTOKFIYAT.On_Deger=1) WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID ") + kosullar + Son;
    QCOMPARE(ListeSQL, beklenen);
    QVERIFY(WhereVar);
    QCOMPARE(op.pano, beklenen);
}

void SorguOlusturTesti::sayisalSatiraMetinYazilamaz_data()
{
    QTest::addColumn<QString>("baslik");
    QTest::addColumn<QString>("deger");
    QTest::newRow("range start") << "Alış İskontosu" << "5 OR 1=1";
    QTest::newRow("range with letters") << "Satış İskontosu" << "beş";
    QTest::newRow("vat rate") << "KDV Oranı" << "18;DELETE FROM STOKKART";
}

void SorguOlusturTesti::sayisalSatiraMetinYazilamaz()
{
    QFETCH(QString, baslik);
    QFETCH(QString, deger);
    SahteEtkilesim op;
    FiltreTablosu g;
    // What the last accepted statement left: sale prices of levels 1 and 2 only.
    Uygula(g, {{"Alış/Satış", "Baslangic", "Satış"}});
    for (int i = 3; i <= 10; ++i)
        Uygula(g, {{QStringLiteral("Fiyat%1").arg(i), "Baslangic", "Hayır"}});
    AktarimSecimi secim;
    QVERIFY(SorguOlustur(g, secim));
    const QString sql = ListeSQL;
    const AktarimSecimi onceki = secim;

    // Changed choices with a value that cannot go in: nothing of the refused statement stays.
    Uygula(g, {{"Alış/Satış", "Baslangic", "Alış"}, {"Fiyat1", "Baslangic", "Hayır"}, {"Fiyat9", "Baslangic", "Evet"},
               {"Stok Kodu", "Baslangic", "A"}});
    g.SetTextMatrix(g.SatirBul(baslik), g.ColIndex(QStringLiteral("Baslangic")), deger);
    op.Bekle(baslik + QStringLiteral(" alanına sayısal bir değer girmelisiniz."), Etkilesim::Simge::Kritik);
    QVERIFY(!SorguOlustur(g, secim));
    QCOMPARE(ListeSQL, sql);
    QVERIFY(WhereVar);
    QCOMPARE(secim.Alis_Dahil, onceki.Alis_Dahil);
    QCOMPARE(secim.Satis_Dahil, onceki.Satis_Dahil);
    QVERIFY(secim.Fiyat_Secimi == onceki.Fiyat_Secimi);
    QCOMPARE(op.pano, sql);
    QCOMPARE(op.panoYazma, 1);
}

void SorguOlusturTesti::fiyatSecimleri()
{
    SahteEtkilesim op;
    FiltreTablosu g;
    AktarimSecimi secim;
    QVERIFY(SorguOlustur(g, secim));
    QVERIFY(!secim.Fiyat_Secimi[0]);
    for (int i = 1; i <= 10; ++i)
        QVERIFY(secim.Fiyat_Secimi[i]);
    g.SetTextMatrix(g.SatirBul(QStringLiteral("Fiyat3")), 2, QStringLiteral("Hayır"));
    g.SetRowHidden(g.SatirBul(QStringLiteral("Fiyat10")), true); // visibility does not matter here
    QVERIFY(SorguOlustur(g, secim));
    QVERIFY(!secim.Fiyat_Secimi[3]);
    QVERIFY(secim.Fiyat_Secimi[10]);
    QCOMPARE(g.SatirBul(QStringLiteral("Fiyat1")), 24);
}

void SorguOlusturTesti::alisSatisSecimi_data()
{
    QTest::addColumn<QString>("deger");
    QTest::addColumn<bool>("alis");
    QTest::addColumn<bool>("satis");
    QTest::newRow("all") << "Hepsi" << true << true;
    QTest::newRow("sale") << "Satış" << false << true;
    QTest::newRow("purchase") << "Alış" << true << false;
}

void SorguOlusturTesti::alisSatisSecimi()
{
    QFETCH(QString, deger);
    QFETCH(bool, alis);
    QFETCH(bool, satis);
    SahteEtkilesim op;
    FiltreTablosu g;
    g.SetTextMatrix(g.SatirBul(QStringLiteral("Alış/Satış")), 2, deger);
    AktarimSecimi secim;
    SorguOlustur(g, secim);
    QCOMPARE(secim.Alis_Dahil, alis);
    QCOMPARE(secim.Satis_Dahil, satis);
}

void SorguOlusturTesti::gizliSatirKatilmaz()
{
    SahteEtkilesim op;
    FiltreTablosu g;
    const int r = g.SatirBul(QStringLiteral("Stok Kodu"));
    g.SetTextMatrix(r, 2, QStringLiteral("A"));
    g.SetRowHidden(r, true);
    g.SetTextMatrix(g.SatirBul(QStringLiteral("Barkod Tipi")), 2, QStringLiteral("EAN 8"));
    g.SetRowHidden(g.SatirBul(QStringLiteral("Barkod Tipi")), true);
    AktarimSecimi secim;
    SorguOlustur(g, secim);
    QCOMPARE(ListeSQL, ListeTemelSQL + Son);
}

void SorguOlusturTesti::tabloAcilistakiGibi()
{
    FiltreTablosu g;
    QCOMPARE(g.Rows(), 34);
    QCOMPARE(g.Cols(), 9);
    QCOMPARE(g.TextMatrix(0, g.ColIndex(QStringLiteral("Baslangic"))), QStringLiteral("Başlangıç Değeri"));
    QCOMPARE(g.TextMatrix(5, 1), QStringLiteral("Satış Fiyatı Değişmiş"));
    QCOMPARE(g.TextMatrix(5, g.ColIndex(QStringLiteral("Secenek"))), QString());
    QCOMPARE(g.TextMatrix(23, 1), QStringLiteral("Alış/Satış"));
    QCOMPARE(g.TextMatrix(33, 1), QStringLiteral("Fiyat10"));
    QCOMPARE(g.TextMatrix(13, g.ColIndex(QStringLiteral("Ayirac"))), QStringLiteral("1"));
    QCOMPARE(g.TextMatrix(22, 1), QStringLiteral("Maxsimum Seviye"));
    QCOMPARE(g.Secenekler(20), (QStringList{"Farketmez", "Küçük", "Büyük", "Eşit"}));
    QCOMPARE(g.ColIndex(QStringLiteral("Girsin")), 8);
    QCOMPARE(g.ColIndex(QStringLiteral("Yok")), -1);
}

void SorguOlusturTesti::degerYazSecenekDenetler()
{
    FiltreTablosu g;
    g.SetTextMatrix(14, g.ColIndex(QStringLiteral("Secenek")), QStringLiteral("Hepsi|3\tGIDA %8|"));
    QString neden;
    QVERIFY(g.DegerYaz(QStringLiteral("KDV Grubu"), QStringLiteral("Baslangic"), QStringLiteral("3")));
    QCOMPARE(g.TextMatrix(14, 2), QStringLiteral("3"));
    QVERIFY(!g.DegerYaz(QStringLiteral("KDV Grubu"), QStringLiteral("Baslangic"), QStringLiteral("4"), &neden));
    QVERIFY(neden.contains(QStringLiteral("KDV Grubu")));
    QVERIFY(!g.DegerYaz(QStringLiteral("Barkod Tipi"), QStringLiteral("Bitis"), QStringLiteral("EAN13"), &neden));
    QVERIFY(g.DegerYaz(QStringLiteral("Stok Kodu"), QStringLiteral("Bitis"), QStringLiteral("anything")));
    QVERIFY(!g.DegerYaz(QStringLiteral("Stok kodu"), QStringLiteral("Bitis"), QStringLiteral("x"), &neden));
    QVERIFY(!g.DegerYaz(QStringLiteral("Stok Kodu"), QStringLiteral("Alan"), QStringLiteral("x"), &neden));
}

void SorguOlusturTesti::tarihKontrol_data()
{
    QTest::addColumn<QString>("metin");
    QTest::addColumn<QString>("sonuc");  // empty: refused
    QTest::addColumn<QString>("mesaj");
    const QString gun = QStringLiteral("Gün alanını yanlış girdiniz.");
    const QString ay = QStringLiteral("Ay alanını yanlış girdiniz.");
    QTest::newRow("eight digits") << "25122005" << "25/12/2005" << "";
    QTest::newRow("lone digit") << "1" << "1" << "";
    QTest::newRow("complete day") << "25" << "25/" << "";
    QTest::newRow("dotted") << "01.02.2005" << "01/02/2005" << "";
    QTest::newRow("day 32") << "32" << "" << gun;
    QTest::newRow("month replaces day message") << "3/4/2005" << "" << ay;
    QTest::newRow("30 February") << "30.02.2005" << "" << gun;
    QTest::newRow("31 April") << "31.04.2005" << "" << gun;
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
    QTest::newRow("TOP becomes LIMIT")
        << "SELECT TOP 1 STOKKART.*,KDVGRUPLARI.Departman_No FROM STOKKART,KDVGRUPLARI WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID"
        << "SELECT STOKKART.*,KDVGRUPLARI.Departman_No FROM STOKKART,KDVGRUPLARI WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID LIMIT 1";
    QTest::newRow("ANY becomes IN")
        << " AND NOT STOKKART.Stok_ID =ANY(SELECT Stok_ID FROM STOKFIYAT)"
        << " AND NOT STOKKART.Stok_ID  IN (SELECT Stok_ID FROM STOKFIYAT)";
    QTest::newRow("date literal")
        << "STOKKART.Yr_Tarih >= '01/01/2005' AND STOKKART.Yr_Tarih <= '01/31/2005'"
        << "STOKKART.Yr_Tarih >= '2005-01-01 00:00:00' AND STOKKART.Yr_Tarih <= '2005-01-31 00:00:00'";
    QTest::newRow("date column set") << "UPDATE STOKKART SET Deg_Tarih='03/04/2026' WHERE Stok_ID=1"
                                     << "UPDATE STOKKART SET Deg_Tarih='2026-03-04 00:00:00' WHERE Stok_ID=1";
    QTest::newRow("not a date stays") << "Yr_Tarih='13/45/2005'" << "Yr_Tarih='13/45/2005'";
    QTest::newRow("plain statement unchanged") << "SELECT * FROM sysfrmlng WHERE sysfrm_ID=1" << "SELECT * FROM sysfrmlng WHERE sysfrm_ID=1";
    // The operator's values: only what the system writes around them changes.
    QTest::newRow("code that looks like a date")
        << "SELECT Stok_ID FROM STOKKART WHERE STOKKART.Stok_Kod='12/01/2024' AND STOKKART.Stok_Kod >='12/01/2024'"
        << "SELECT Stok_ID FROM STOKKART WHERE STOKKART.Stok_Kod='12/01/2024' AND STOKKART.Stok_Kod >='12/01/2024'" + T;
    QTest::newRow("date column unknown") << "WHERE Teslim >= '01/01/2005'" << "WHERE Teslim >= '01/01/2005'";
    QTest::newRow("ANY and TOP inside a name")
        << "SELECT Stok_ID FROM STOKKART WHERE STOKKART.Stok_Ad='A =ANY(SELECT TOP 5 B'"
        << "SELECT Stok_ID FROM STOKKART WHERE STOKKART.Stok_Ad='A =ANY(SELECT TOP 5 B'";
    QTest::newRow("comparison inside a name")
        << "WHERE STOKKART.Stok_Ad='O'' AND STOKKART.Yr_Tarih >= ''01/01/2005'' ORDER BY Stok_Ad'"
        << "WHERE STOKKART.Stok_Ad='O'' AND STOKKART.Yr_Tarih >= ''01/01/2005'' ORDER BY Stok_Ad'";
    QTest::newRow("text ranges and order in Turkish")
        << "WHERE STOKKART.Stok_Ad >='B' AND STOKKART.Stok_Ad<='D' AND k.Stok_Kod > 'A' AND STOKKART.O_Kod <> 'X' ORDER BY STOKKART.Stok_Kod"
        << "WHERE STOKKART.Stok_Ad >='B'" + T + " AND STOKKART.Stok_Ad<='D'" + T + " AND k.Stok_Kod > 'A'" + T
               + " AND STOKKART.O_Kod <> 'X' ORDER BY STOKKART.Stok_Kod" + T;
    QTest::newRow("order by text and number columns")
        << "SELECT * FROM STOKKART ORDER BY Stok_Ad DESC, Stok_ID,STOKKART.Stok_Kod"
        << "SELECT * FROM STOKKART ORDER BY Stok_Ad" + T + " DESC, Stok_ID,STOKKART.Stok_Kod" + T;
    QTest::newRow("own collation kept") << "ORDER BY Stok_Kod COLLATE NOCASE" << "ORDER BY Stok_Kod COLLATE NOCASE";
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
