#include "common/Ilerleme.h"
#include "filter/AktarimSecimi.h"
#include "filter/FiltreTablosu.h"
#include "filter/SonucListesi.h"
#include "filter/SorguOlusturucu.h"
#include "filter/StokListesi.h"
#include "state/Degiskenler.h"
#include "state/Hata.h"
#include "state/RecordsetAc.h"
#include "state/SqlServerArkaUcu.h"
#include "support/SahteEtkilesim.h"
#include "support/TestVeritabani.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QTest>

using namespace Degiskenler;

// The connection, the recordset routines and the progress step.
class VeriTabaniTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void odbcDegerleriTirnaklanir_data();
    void odbcDegerleriTirnaklanir();
    void sqliteKlasoruSunucuMetnindenOkunur();
    void eksikDosyaBaglantiHatasidirYeniVeritabaniDegil();
    void veritabaniOlmayanDosyaReddedilir();
    void cevapVermeyenSunucuGirisReddiSayilmaz();
    void girisReddiTaninir_data();
    void girisReddiTaninir();
    void baglantiYenilenince();

    void recordsetYenidenAcilincaOncekiniKapatir();
    void basarisizSorguIkiMesaj();
    void kapaliRecordsetOkunamaz();
    void updateDuzenleIleCalisir();
    void toplucaEkleVeGuncelle();
    void nullSutunlarVeSabitUzunluk();
    void yazilamayanDegerBatchOncesiReddedilir();
    void tarihAraligiSinirlari();
    void topVeAnyCalisir();
    void listeOperatorunDegerleri_data();
    void listeOperatorunDegerleri();
    void islemlerVeKayitNoktalari();

    void ilerlemeArttir_data();
    void ilerlemeArttir();
    void ilerlemeSifirMaksimumdaDurmaz();

private:
    SahteEtkilesim *m_operator = nullptr;
    TestVeritabani *m_db = nullptr;
};

void VeriTabaniTesti::init()
{
    m_operator = new SahteEtkilesim;
    m_db = new TestVeritabani;
    // Tests of texts and of the progress step need no back-office (on SQL Server a demo and a
    // connection cost a second).
    static const QSet<QByteArray> veritabanisiz = {"odbcDegerleriTirnaklanir", "sqliteKlasoruSunucuMetnindenOkunur",
                                                   "cevapVermeyenSunucuGirisReddiSayilmaz", "girisReddiTaninir", "ilerlemeArttir",
                                                   "ilerlemeSifirMaksimumdaDurmaz"};
    if (veritabanisiz.contains(QTest::currentTestFunction()))
        return;
    m_db->DemoYaz(40, 3);
    m_db->Baglan(QStringLiteral("FIRMA01"));
}

void VeriTabaniTesti::cleanup()
{
    Sifirla();
    delete m_db;
    delete m_operator;
}

void VeriTabaniTesti::odbcDegerleriTirnaklanir_data()
{
    QTest::addColumn<QString>("sifre");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("surucu");
    QTest::addColumn<QString>("beklenen");
    const QString bas = QStringLiteral("DRIVER={FreeTDS};UID={torvela};PWD={gizli};DATABASE={Defination_DB};");
    const QString son = QStringLiteral("ClientCharset=UTF-8;TDS_Version={7.4};");
    QTest::newRow("name alone: port 1433") << "gizli" << "SRV1" << "FreeTDS" << bas + "SERVER={SRV1};PORT={1433};" + son;
    QTest::newRow("name,port: port apart") << "gizli" << "SRV1, 1500" << "FreeTDS" << bas + "SERVER={SRV1};PORT={1500};" + son;
    QTest::newRow("named instance: no port") << "gizli" << "SRV1\\ÖRNEK" << "FreeTDS" << bas + "SERVER={SRV1\\ÖRNEK};" + son;
    QTest::newRow("instance with port") << "gizli" << "10.0.0.5\\ÖRNEK,1600" << "FreeTDS"
                                        << bas + "SERVER={10.0.0.5\\ÖRNEK};PORT={1600};" + son;
    QTest::newRow("other driver: host,port as typed")
        << "gizli" << "SRV1,1433" << "ODBC Driver 18 for SQL Server"
        << "DRIVER={ODBC Driver 18 for SQL Server};UID={torvela};PWD={gizli};DATABASE={Defination_DB};SERVER={SRV1,1433};";
    QTest::newRow("semicolon cannot add attributes")
        << "a;DATABASE=master" << "SRV1" << "FreeTDS"
        << "DRIVER={FreeTDS};UID={torvela};PWD={a;DATABASE=master};DATABASE={Defination_DB};SERVER={SRV1};PORT={1433};" + son;
    QTest::newRow("closing brace doubled") << "x}y" << "SRV1" << "FreeTDS"
                                           << "DRIVER={FreeTDS};UID={torvela};PWD={x}}y};DATABASE={Defination_DB};SERVER={SRV1};PORT={1433};" + son;
    QTest::newRow("apostrophe as typed") << "o'k" << "SRV1" << "FreeTDS"
                                         << "DRIVER={FreeTDS};UID={torvela};PWD={o'k};DATABASE={Defination_DB};SERVER={SRV1};PORT={1433};" + son;
}

void VeriTabaniTesti::odbcDegerleriTirnaklanir()
{
    QFETCH(QString, sifre);
    QFETCH(QString, server);
    QFETCH(QString, surucu);
    QFETCH(QString, beklenen);
    qunsetenv("STOKTRANSFER_TDS_VERSION");
    QCOMPARE(VeriTabaniBaglantisi::OdbcBaglantiMetni(QStringLiteral("torvela"), sifre, QStringLiteral("Defination_DB"),
                                                     server, surucu),
             beklenen);
}

void VeriTabaniTesti::sqliteKlasoruSunucuMetnindenOkunur()
{
    QCOMPARE(VeriTabaniBaglantisi::SQLiteKlasoru(m_db->Klasor()), std::optional<QString>(m_db->Klasor()));
    QCOMPARE(VeriTabaniBaglantisi::SQLiteKlasoru(QStringLiteral("sqlite:/yok/klasor")), std::optional<QString>(QStringLiteral("/yok/klasor")));
    QVERIFY(!VeriTabaniBaglantisi::SQLiteKlasoru(QStringLiteral("SRV1\\SQLEXPRESS")));
    QVERIFY(!VeriTabaniBaglantisi::SQLiteKlasoru(QString()));
}

void VeriTabaniTesti::eksikDosyaBaglantiHatasidirYeniVeritabaniDegil()
{
    try {
        m_db->Baglan(QStringLiteral("YOKFIRMA"));
        QFAIL("a missing database opened");
    } catch (const BaglantiHatasi &hata) {
        QVERIFY2(!hata.GirisReddedildi(), qPrintable(hata.Aciklama()));
        QVERIFY2(hata.Aciklama().contains(m_db->VeritabaniMetni(QStringLiteral("YOKFIRMA")), Qt::CaseInsensitive),
                 qPrintable(hata.Aciklama()));
    }
    if (TestVeritabani::SqlServerMi())
        QCOMPARE(m_db->Deger(QStringLiteral("master"), QStringLiteral("SELECT count(*) FROM sys.databases WHERE name='YOKFIRMA'")).toInt(), 0);
    else
        QVERIFY(!QFile::exists(m_db->Yol(QStringLiteral("YOKFIRMA"))));
    QVERIFY(!Baglanti.Acik());
}

void VeriTabaniTesti::veritabaniOlmayanDosyaReddedilir()
{
    if (TestVeritabani::SqlServerMi())
        QSKIP("SQL Server: a database is never a file the program opens");
    QFile dosya(m_db->Yol(QStringLiteral("BOZUK")));
    QVERIFY(dosya.open(QIODevice::WriteOnly));
    dosya.write(QByteArray(4096, 'x'));
    dosya.close();
    QVERIFY_THROWS_EXCEPTION(BaglantiHatasi, m_db->Baglan(QStringLiteral("BOZUK")));
}

void VeriTabaniTesti::cevapVermeyenSunucuGirisReddiSayilmaz()
{
    // ODBC to a port of this machine where nothing listens.
    QElapsedTimer sure;
    sure.start();
    try {
        Baglanti.Ac(QStringLiteral("torvela"), QStringLiteral("x"), QStringLiteral("Defination_DB"),
                    QStringLiteral("127.0.0.1,1"));
        QFAIL("connected to nothing");
    } catch (const BaglantiHatasi &hata) {
        QVERIFY(!hata.GirisReddedildi());
        QVERIFY(!hata.Aciklama().isEmpty());
        QCOMPARE(hata.Numara(), Hata::GenelHataNo);
    }
    QVERIFY(sure.elapsed() < 60000);
}

void VeriTabaniTesti::girisReddiTaninir_data()
{
    // What the driver reports when a connection fails: only a refused login counts as an attempt.
    QTest::addColumn<QString>("metin");
    QTest::addColumn<QString>("kodlar");
    QTest::addColumn<bool>("reddedildi");
    QTest::newRow("wrong password") << "[FreeTDS][SQL Server]Login failed for user 'torvela'." << "18456" << true;
    QTest::newRow("SQLSTATE 28000 alone") << "[FreeTDS][SQL Server]Invalid authorization specification 28000" << "" << true;
    QTest::newRow("missing database: 4060 before 18456")
        << "[FreeTDS][SQL Server]Cannot open database \"FIRMA09\" requested by the login. The login failed. "
           "[FreeTDS][SQL Server]Login failed for user 'torvela'."
        << "4060;18456" << false;
    QTest::newRow("missing database, codes lost")
        << "[FreeTDS][SQL Server]Cannot open database \"FIRMA09\" requested by the login. The login failed." << "" << false;
    QTest::newRow("no server") << "[FreeTDS][SQL Server]Unable to connect: Adaptive Server is unavailable or does not exist"
                               << "20009" << false;
}

void VeriTabaniTesti::girisReddiTaninir()
{
    QFETCH(QString, metin);
    QFETCH(QString, kodlar);
    QFETCH(bool, reddedildi);
    QCOMPARE(SqlServerArkaUcu::GirisReddiMi(metin, kodlar), reddedildi);
}

void VeriTabaniTesti::baglantiYenilenince()
{
    QCOMPARE(Baglanti.Calistir(QStringLiteral("SELECT count(*) FROM STOKKART")).size(), -1);
    m_db->Baglan(QStringLiteral("Defination_DB"));
    RecordsetAc(ListeRS, QStringLiteral("SELECT sysfrm_dbnm FROM sysfrmlng"));
    QCOMPARE(ListeRS.RecordCount(), 3);
}

void VeriTabaniTesti::recordsetYenidenAcilincaOncekiniKapatir()
{
    RecordsetAc(ListeRS, QStringLiteral("SELECT Stok_Kod FROM STOKKART ORDER BY Stok_Kod"));
    QCOMPARE(ListeRS.RecordCount(), 40);
    QCOMPARE(ListeRS.Metin(0), QStringLiteral("10001"));
    RecordsetAc(ListeRS, QStringLiteral("SELECT Departman_No, Departman_Adi FROM KDVGRUPLARI ORDER BY Departman_No"));
    QCOMPARE(ListeRS.RecordCount(), 5);
    QCOMPARE(ListeRS.FieldCount(), 2);
    QCOMPARE(ListeRS.FieldName(1), QStringLiteral("Departman_Adi"));
    int satir = 0;
    while (!ListeRS.Eof()) {
        ++satir;
        ListeRS.MoveNext();
    }
    QCOMPARE(satir, 5);
    ListeRS.MoveFirst();
    QCOMPARE(ListeRS.Metin(QStringLiteral("Departman_Adi")), QStringLiteral("TEMEL GIDA"));
}

void VeriTabaniTesti::basarisizSorguIkiMesaj()
{
    // The reason (naming what is wrong), then the statement; only a read goes to the clipboard.
    const QString sql = QStringLiteral("SELECT Yok FROM STOKKART");
    m_operator->BekleSorguHatasi(sql, QStringLiteral("(?i).*\\bYok\\b.*"));
    RecordsetAc(ListeRS, sql);
    QVERIFY(!ListeRS.Acik());
    QCOMPARE(m_operator->pano, sql);
    m_operator->BekleSorguHatasi(QStringLiteral("UPDATE STOKKART SET Yok=1"));
    RecordsetAcDuzenle(ListeRS, QStringLiteral("UPDATE STOKKART SET Yok=1"));
    QCOMPARE(m_operator->panoYazma, 1);
}

void VeriTabaniTesti::kapaliRecordsetOkunamaz()
{
    m_operator->BekleSorguHatasi(QStringLiteral("SELECT bozuk FROM"));
    RecordsetAc(ListeRS, QStringLiteral("SELECT bozuk FROM"));
    QVERIFY_THROWS_EXCEPTION(Hata, ListeRS.RecordCount());
    QVERIFY_THROWS_EXCEPTION(Hata, ListeRS.Eof());
    QVERIFY_THROWS_EXCEPTION(Hata, ListeRS.Deger(0));
    RecordsetAc(ListeRS, QStringLiteral("SELECT Stok_Kod FROM STOKKART WHERE 1=0"));
    QVERIFY(ListeRS.Eof());
    QVERIFY_THROWS_EXCEPTION(Hata, ListeRS.Deger(0));
    QVERIFY_THROWS_EXCEPTION(Hata, ListeRS.Deger(QStringLiteral("Yok")));
}

void VeriTabaniTesti::updateDuzenleIleCalisir()
{
    RecordsetAcDuzenle(YardimciRS, QStringLiteral("UPDATE STOKKART SET Deg_Tarih='03/04/2026' WHERE Stok_Kod='10001'"));
    QVERIFY(!YardimciRS.Acik());
    QCOMPARE(m_db->Deger(QStringLiteral("FIRMA01"), QStringLiteral("SELECT Deg_Tarih FROM STOKKART WHERE Stok_Kod='10001'")).toString(),
             QStringLiteral("2026-03-04 00:00:00"));
}

void VeriTabaniTesti::toplucaEkleVeGuncelle()
{
    RecordsetAcDuzenle(ListeRS, QStringLiteral("SELECT Sira_No,Fiyat_Aciklama,On_Deger FROM FIYATTANIM ORDER BY Sira_No"));
    QCOMPARE(ListeRS.RecordCount(), 5);
    ListeRS.MoveNext();
    ListeRS.MetinYaz(1, QStringLiteral("TOPTAN 'YENİ'"));
    ListeRS.UpdateBatch();
    ListeRS.AddNew();
    ListeRS.MetinYaz(0, QStringLiteral("9"));
    ListeRS.MetinYaz(1, QStringLiteral("ÖZEL"));
    ListeRS.MetinYaz(2, QStringLiteral("False"));
    ListeRS.UpdateBatch();
    const auto satirlar = m_db->Satirlar(QStringLiteral("FIRMA01"),
                                         QStringLiteral("SELECT Sira_No,Fiyat_Aciklama,On_Deger FROM FIYATTANIM ORDER BY Sira_No"));
    QCOMPARE(satirlar.size(), 6);
    QCOMPARE(satirlar[1][1].toString(), QStringLiteral("TOPTAN 'YENİ'"));
    QCOMPARE(satirlar[0][1].toString(), QStringLiteral("PERAKENDE"));
    QCOMPARE(satirlar[5][0].toInt(), 9);
    QCOMPARE(satirlar[5][2].toInt(), 0);

    // A table whose key the statement does not select: the key is fetched behind the scenes.
    RecordsetAcDuzenle(ListeRS, QStringLiteral("SELECT Fiyat_Sira_No,Stok_ID,Ana_Birim_Fiyat FROM STOKFIYAT WHERE Stok_ID=1 AND Fiyat_Sira_No=2"));
    QCOMPARE(ListeRS.FieldCount(), 3);
    ListeRS.MetinYaz(2, QStringLiteral("12,5"));
    ListeRS.UpdateBatch();
    QCOMPARE(m_db->Deger(QStringLiteral("FIRMA01"), QStringLiteral("SELECT Ana_Birim_Fiyat FROM STOKFIYAT WHERE Stok_ID=1 AND Fiyat_Sira_No=2")).toDouble(), 12.5);
    QCOMPARE(m_db->Deger(QStringLiteral("FIRMA01"), QStringLiteral("SELECT count(*) FROM STOKFIYAT WHERE Ana_Birim_Fiyat=12.5")).toInt(), 1);

    // A new card learns its identity from the database.
    RecordsetAcDuzenle(ListeRS, QStringLiteral("SELECT Stok_ID,KDVGrup_ID,Stok_Kod,Stok_Ad FROM STOKKART  WHERE Stok_Kod='YENİ'"));
    QCOMPARE(ListeRS.RecordCount(), 0);
    ListeRS.AddNew();
    ListeRS.MetinYaz(1, QStringLiteral("2"));
    ListeRS.MetinYaz(2, QStringLiteral("YENİ"));
    ListeRS.MetinYaz(3, QStringLiteral("O'NEIL ÇAY"));
    ListeRS.UpdateBatch();
    QVERIFY(!ListeRS.Deger(0).isNull());
    QCOMPARE(m_db->Deger(QStringLiteral("FIRMA01"), QStringLiteral("SELECT Stok_Ad FROM STOKKART WHERE Stok_ID=%1").arg(ListeRS.Deger(0).toInt())).toString(),
             QStringLiteral("O'NEIL ÇAY"));
}

void VeriTabaniTesti::nullSutunlarVeSabitUzunluk()
{
    RecordsetAc(ListeRS, QStringLiteral("SELECT Stok_Kod,Birim3,Raf_Yeri,Yr_Tarih,Aktif,KDV FROM STOKKART WHERE Stok_Kod='10001'"));
    QVERIFY(ListeRS.Deger(1).isNull());
    QCOMPARE(ListeRS.Metin(1), QString());
    QVERIFY(ListeRS.SabitUzunluklu(2));
    QVERIFY(!ListeRS.SabitUzunluklu(0));
    QCOMPARE(ListeRS.Metin(2), QStringLiteral("A-01"));
    QCOMPARE(ListeRS.Deger(2).toString(), QStringLiteral("A-01      "));
    QCOMPARE(ListeRS.Metin(3), QStringLiteral("02.01.2024"));
    QCOMPARE(ListeRS.Metin(4), QStringLiteral("False"));
    QCOMPARE(ListeRS.Metin(5), QStringLiteral("10"));
}

void VeriTabaniTesti::yazilamayanDegerBatchOncesiReddedilir()
{
    RecordsetAcDuzenle(ListeRS, QStringLiteral("SELECT Stok_ID,ISK_Alis,Raf_Yeri FROM STOKKART WHERE Stok_Kod='10001'"));
    QVERIFY_THROWS_EXCEPTION(Hata, ListeRS.MetinYaz(1, QStringLiteral("yüzde on")));
    QVERIFY_THROWS_EXCEPTION(Hata, ListeRS.MetinYaz(2, QStringLiteral("ÇOK UZUN RAF YERİ")));
    QVERIFY(!ListeRS.BekleyenVar());
}

void VeriTabaniTesti::tarihAraligiSinirlari()
{
    m_db->Calistir(QStringLiteral("FIRMA01"), QStringLiteral("UPDATE STOKKART SET Yr_Tarih='2005-01-31 00:00:00' WHERE Stok_Kod='10001'"));
    m_db->Calistir(QStringLiteral("FIRMA01"), QStringLiteral("UPDATE STOKKART SET Yr_Tarih='2005-01-31 10:00:00' WHERE Stok_Kod='10002'"));
    m_db->Calistir(QStringLiteral("FIRMA01"), QStringLiteral("UPDATE STOKKART SET Yr_Tarih='2005-01-01 00:00:00' WHERE Stok_Kod='10003'"));
    RecordsetAc(ListeRS, QStringLiteral("SELECT Stok_Kod FROM STOKKART WHERE STOKKART.Yr_Tarih >= '01/01/2005' AND STOKKART.Yr_Tarih <= '01/31/2005' ORDER BY Stok_Kod"));
    QCOMPARE(ListeRS.RecordCount(), 2);
    QCOMPARE(ListeRS.Metin(0), QStringLiteral("10001"));
    ListeRS.MoveNext();
    QCOMPARE(ListeRS.Metin(0), QStringLiteral("10003"));
}

void VeriTabaniTesti::topVeAnyCalisir()
{
    RecordsetAc(ListeRS, QStringLiteral("SELECT TOP 1 STOKKART.*,KDVGRUPLARI.Departman_No FROM STOKKART,KDVGRUPLARI WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID"));
    QCOMPARE(ListeRS.RecordCount(), 1);
    QCOMPARE(ListeRS.FieldName(ListeRS.FieldCount() - 1), QStringLiteral("Departman_No"));
    m_db->Calistir(QStringLiteral("FIRMA01"), QStringLiteral("DELETE FROM STOKFIYAT WHERE Stok_ID IN (1,2)"));
    RecordsetAc(ListeRS, QStringLiteral("SELECT Stok_ID FROM STOKKART WHERE 1=1 AND NOT STOKKART.Stok_ID =ANY(SELECT Stok_ID FROM STOKFIYAT) ORDER BY Stok_ID"));
    QVERIFY(ListeRS.RecordCount() >= 2);
    QCOMPARE(ListeRS.Metin(0), QStringLiteral("1"));
}

void VeriTabaniTesti::listeOperatorunDegerleri_data()
{
    // Grid settings ({caption, start, end}) and the codes listed, in order.
    QTest::addColumn<QList<QStringList>>("ayarlar");
    QTest::addColumn<QStringList>("kodlar");
    QTest::newRow("code like a date") << QList<QStringList>{{"Stok Kodu", "12/01/2024", "12/01/2024"}} << QStringList{"12/01/2024"};
    QTest::newRow("a shorter code is another code") << QList<QStringList>{{"Stok Kodu", "12/01/202", "12/01/202"}} << QStringList{};
    QTest::newRow("name with a subquery")
        << QList<QStringList>{{"Stok Adı", "A =ANY(SELECT Stok_ID FROM SB)", "A =ANY(SELECT Stok_ID FROM SB)"}} << QStringList{"X1"};
    QTest::newRow("name with TOP and quotes")
        << QList<QStringList>{{"Stok Adı", "SELECT TOP 1 'ÇAY'", "SELECT TOP 1 'ÇAY'"}} << QStringList{"X2"};
    QTest::newRow("names B to D, Turkish order of codes")
        << QList<QStringList>{{"Stok Adı", "B", "D"}} << QStringList{"IA", "iB", "İC", "JD", "Y1"};
    QTest::newRow("codes C to J") << QList<QStringList>{{"Stok Kodu", "C", "J"}} << QStringList{"CZ", "ÇA", "IA", "iB", "İC"};
    QTest::newRow("lower case start") << QList<QStringList>{{"Stok Adı", "ç", "çz"}} << QStringList{"iB", "İC", "JD"};
}

void VeriTabaniTesti::listeOperatorunDegerleri()
{
    QFETCH(QList<QStringList>, ayarlar);
    QFETCH(QStringList, kodlar);
    // Cards of a group of their own whose codes and names look like dates and statements.
    const QList<QStringList> kartlar = {
        {"12/01/2024", "TARİH GİBİ"}, {"X1", "A =ANY(SELECT Stok_ID FROM SB)"}, {"X2", "SELECT TOP 1 'ÇAY'"},
        {"JD", "ÇAY"}, {"İC", "çikolata"}, {"iB", "ÇORAP"}, {"IA", "BAL"}, {"CZ", "DOMATES"}, {"ÇA", "ARMUT"}, {"Y1", "CAN"}};
    const auto tirnakla = [](QString m) { return QLatin1Char('\'') + m.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\''); };
    for (const QStringList &k : kartlar)
        m_db->Calistir(QStringLiteral("FIRMA01"), QStringLiteral("INSERT INTO STOKKART (Stok_Kod,Stok_Ad,KDVGrup_ID,Grup_Kod) "
                                                                 "SELECT %1,%2,Grup_ID,'DENEME' FROM KDVGRUPLARI WHERE Departman_No=1")
                                                      .arg(tirnakla(k[0]), tirnakla(k[1])));
    FiltreTablosu g;
    g.SetTextMatrix(g.SatirBul(QStringLiteral("Grup Kodu")), g.ColIndex(QStringLiteral("Baslangic")), QStringLiteral("DENEME"));
    for (const QStringList &a : ayarlar) {
        g.SetTextMatrix(g.SatirBul(a[0]), g.ColIndex(QStringLiteral("Baslangic")), a[1]);
        g.SetTextMatrix(g.SatirBul(a[0]), g.ColIndex(QStringLiteral("Bitis")), a[2]);
    }
    AktarimSecimi secim;
    QVERIFY(SorguOlustur(g, secim));
    SonucListesi liste;
    QCOMPARE(StoklariListele(liste), std::optional<int>(int(kodlar.size())));
    QStringList listelenen;
    for (int r = 1; r < liste.Rows(); ++r)
        listelenen << liste.TextMatrix(r, liste.ColIndex(QStringLiteral("Stok_Kod")));
    QCOMPARE(listelenen, kodlar);
}

void VeriTabaniTesti::islemlerVeKayitNoktalari()
{
    const QString say = QStringLiteral("SELECT count(*) FROM FIYATTANIM");
    Baglanti.IslemBaslat();
    Baglanti.Calistir(QStringLiteral("INSERT INTO FIYATTANIM (Sira_No,Fiyat_Aciklama,On_Deger) VALUES (7,'A',0)"));
    Baglanti.IslemBaslat();
    Baglanti.Calistir(QStringLiteral("INSERT INTO FIYATTANIM (Sira_No,Fiyat_Aciklama,On_Deger) VALUES (8,'B',0)"));
    Baglanti.IslemGeriAl();
    Baglanti.IslemBaslat();
    Baglanti.Calistir(QStringLiteral("INSERT INTO FIYATTANIM (Sira_No,Fiyat_Aciklama,On_Deger) VALUES (9,'C',0)"));
    Baglanti.IslemOnayla();
    Baglanti.IslemOnayla();
    QCOMPARE(m_db->Deger(QStringLiteral("FIRMA01"), say).toInt(), 7);
    Baglanti.IslemBaslat();
    Baglanti.Calistir(QStringLiteral("DELETE FROM FIYATTANIM"));
    Baglanti.IslemGeriAl();
    QCOMPARE(m_db->Deger(QStringLiteral("FIRMA01"), say).toInt(), 7);
    const quint64 once = Baglanti.KomutSayisi();
    Baglanti.Calistir(say);
    QCOMPARE(Baglanti.KomutSayisi(), once + 1);
}

void VeriTabaniTesti::ilerlemeArttir_data()
{
    QTest::addColumn<double>("maksimum");
    QTest::addColumn<int>("adimlar");
    QTest::addColumn<QString>("yuzde");
    QTest::newRow("200, 2 steps") << 200.0 << 2 << "1%";
    QTest::newRow("200, 100 steps") << 200.0 << 100 << "50%";
    QTest::newRow("200, 200 steps") << 200.0 << 200 << "100%";
    QTest::newRow("3, 1 step") << 3.0 << 1 << "33%";
    QTest::newRow("3, 2 steps") << 3.0 << 2 << "67%";
    QTest::newRow("past the maximum") << 3.0 << 5 << "100%";
}

void VeriTabaniTesti::ilerlemeArttir()
{
    QFETCH(double, maksimum);
    QFETCH(int, adimlar);
    QFETCH(QString, yuzde);
    KartBar().Ayarla(maksimum, 0);
    for (int i = 0; i < adimlar; ++i)
        IlerlemeArttir(KartBar(), 1);
    QCOMPARE(m_operator->yuzdeler.last(), yuzde);
    QVERIFY(m_operator->kartBarDeger <= maksimum);
}

void VeriTabaniTesti::ilerlemeSifirMaksimumdaDurmaz()
{
    KartBar().Ayarla(0, 0);
    IlerlemeArttir(KartBar(), 1);
    QCOMPARE(m_operator->yuzdeler.last(), QStringLiteral("0%"));
}

QTEST_GUILESS_MAIN(VeriTabaniTesti)
#include "tst_veritabani.moc"
