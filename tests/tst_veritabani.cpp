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
    void eksikVeyaBozukVeritabaniAcilmaz();
    void girisReddiTaninir_data();
    void girisReddiTaninir();

    void recordsetOkuma();
    void toplucaEkleVeGuncelle();
    void listeOperatorunDegerleri_data();
    void listeOperatorunDegerleri();

    void ilerlemeArttir_data();
    void ilerlemeArttir();

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
                                                   "girisReddiTaninir", "ilerlemeArttir"};
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
    // A semicolon cannot add attributes; a closing brace is doubled; an apostrophe goes as typed.
    QTest::newRow("hostile password") << "o'k;DATABASE=master}" << "SRV1" << "FreeTDS"
                                      << "DRIVER={FreeTDS};UID={torvela};PWD={o'k;DATABASE=master}}};DATABASE={Defination_DB};"
                                         "SERVER={SRV1};PORT={1433};" + son;
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

void VeriTabaniTesti::eksikVeyaBozukVeritabaniAcilmaz()
{
    try {
        m_db->Baglan(QStringLiteral("YOKFIRMA"));
        QFAIL("a missing database opened");
    } catch (const BaglantiHatasi &hata) {
        QVERIFY2(!hata.GirisReddedildi(), qPrintable(hata.Aciklama()));
        QVERIFY2(hata.Aciklama().contains(m_db->VeritabaniMetni(QStringLiteral("YOKFIRMA")), Qt::CaseInsensitive),
                 qPrintable(hata.Aciklama()));
    }
    QVERIFY(!Baglanti.Acik());
    if (TestVeritabani::SqlServerMi()) {
        QCOMPARE(m_db->Deger(QStringLiteral("master"), QStringLiteral("SELECT count(*) FROM sys.databases WHERE name='YOKFIRMA'")).toInt(), 0);
        return;
    }
    QVERIFY(!QFile::exists(m_db->Yol(QStringLiteral("YOKFIRMA"))));
    // A file that is not a database.
    QFile dosya(m_db->Yol(QStringLiteral("BOZUK")));
    QVERIFY(dosya.open(QIODevice::WriteOnly));
    dosya.write(QByteArray(4096, 'x'));
    dosya.close();
    QVERIFY_THROWS_EXCEPTION(BaglantiHatasi, m_db->Baglan(QStringLiteral("BOZUK")));
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

void VeriTabaniTesti::recordsetOkuma()
{
    // NULL reads as empty text; a char column keeps its padding in the value, not in the text.
    RecordsetAc(ListeRS, QStringLiteral("SELECT Stok_Kod,Birim3,Raf_Yeri FROM STOKKART WHERE Stok_Kod='10001'"));
    QVERIFY(ListeRS.Deger(1).isNull());
    QCOMPARE(ListeRS.Metin(1), QString());
    QVERIFY(ListeRS.SabitUzunluklu(2));
    QVERIFY(!ListeRS.SabitUzunluklu(0));
    QCOMPARE(ListeRS.Metin(2), QStringLiteral("A-01"));
    QCOMPARE(ListeRS.Deger(2).toString(), QStringLiteral("A-01      "));

    // Past the end, or after a failed statement, a read throws rather than inventing a value.
    RecordsetAc(ListeRS, QStringLiteral("SELECT Stok_Kod FROM STOKKART WHERE 1=0"));
    QVERIFY(ListeRS.Eof());
    QVERIFY_THROWS_EXCEPTION(Hata, ListeRS.Deger(0));
    QVERIFY_THROWS_EXCEPTION(Hata, ListeRS.Deger(QStringLiteral("Yok")));

    // A failed statement: the reason (naming what is wrong), then the statement; only a read
    // goes to the clipboard.
    const QString sql = QStringLiteral("SELECT Yok FROM STOKKART");
    m_operator->BekleSorguHatasi(sql, QStringLiteral("(?i).*\\bYok\\b.*"));
    RecordsetAc(ListeRS, sql);
    QVERIFY(!ListeRS.Acik());
    QCOMPARE(m_operator->pano, sql);
    QVERIFY_THROWS_EXCEPTION(Hata, ListeRS.RecordCount());
    QVERIFY_THROWS_EXCEPTION(Hata, ListeRS.Eof());
    m_operator->BekleSorguHatasi(QStringLiteral("UPDATE STOKKART SET Yok=1"));
    RecordsetAcDuzenle(ListeRS, QStringLiteral("UPDATE STOKKART SET Yok=1"));
    QCOMPARE(m_operator->panoYazma, 1);
}

void VeriTabaniTesti::toplucaEkleVeGuncelle()
{
    // A statement that returns no rows runs and leaves the recordset closed.
    RecordsetAcDuzenle(YardimciRS, QStringLiteral("UPDATE STOKKART SET Deg_Tarih='03/04/2026' WHERE Stok_Kod='10001'"));
    QVERIFY(!YardimciRS.Acik());
    QCOMPARE(m_db->Deger(QStringLiteral("FIRMA01"), QStringLiteral("SELECT Deg_Tarih FROM STOKKART WHERE Stok_Kod='10001'")).toString(),
             QStringLiteral("2026-03-04 00:00:00"));

    RecordsetAcDuzenle(ListeRS, QStringLiteral("SELECT Sira_No,Fiyat_Aciklama,On_Deger FROM FIYATTANIM ORDER BY Sira_No"));
    QCOMPARE(ListeRS.RecordCount(), 5);
    ListeRS.MoveNext();
    ListeRS.MetinYaz(1, QStringLiteral("TOPTAN 'YENİ'"));
    ListeRS.MetinYaz(2, QStringLiteral("True"));
    ListeRS.UpdateBatch();
    // Only the edited row changes.
    const auto satirlar = m_db->Satirlar(QStringLiteral("FIRMA01"),
                                         QStringLiteral("SELECT Fiyat_Aciklama,On_Deger FROM FIYATTANIM ORDER BY Sira_No"));
    QCOMPARE(satirlar.size(), 5);
    QCOMPARE(satirlar[0], (QVector<QVariant>{QStringLiteral("PERAKENDE"), 1}));
    QCOMPARE(satirlar[1], (QVector<QVariant>{QStringLiteral("TOPTAN 'YENİ'"), 1}));

    // A table whose key the statement does not select: the key is fetched behind the scenes.
    RecordsetAcDuzenle(ListeRS, QStringLiteral("SELECT Fiyat_Sira_No,Stok_ID,Ana_Birim_Fiyat FROM STOKFIYAT WHERE Stok_ID=1 AND Fiyat_Sira_No=2"));
    QCOMPARE(ListeRS.FieldCount(), 3);
    ListeRS.MetinYaz(2, QStringLiteral("12,5"));
    ListeRS.UpdateBatch();
    QCOMPARE(m_db->Deger(QStringLiteral("FIRMA01"), QStringLiteral("SELECT Ana_Birim_Fiyat FROM STOKFIYAT WHERE Stok_ID=1 AND Fiyat_Sira_No=2")).toDouble(), 12.5);
    QCOMPARE(m_db->Deger(QStringLiteral("FIRMA01"), QStringLiteral("SELECT count(*) FROM STOKFIYAT WHERE Ana_Birim_Fiyat=12.5")).toInt(), 1);

    // A value the column cannot hold is refused when written, before anything is pending.
    RecordsetAcDuzenle(ListeRS, QStringLiteral("SELECT Stok_ID,ISK_Alis,Raf_Yeri FROM STOKKART WHERE Stok_Kod='10001'"));
    QVERIFY_THROWS_EXCEPTION(Hata, ListeRS.MetinYaz(1, QStringLiteral("yüzde on")));
    QVERIFY_THROWS_EXCEPTION(Hata, ListeRS.MetinYaz(2, QStringLiteral("ÇOK UZUN RAF YERİ")));
    QVERIFY(!ListeRS.BekleyenVar());
}

void VeriTabaniTesti::listeOperatorunDegerleri_data()
{
    // A text range on the grid and the codes listed, in order: Turkish letters sort as in Turkish,
    // and a value that reads like SQL stays a value.
    QTest::addColumn<QString>("satir");
    QTest::addColumn<QString>("bas");
    QTest::addColumn<QString>("son");
    QTest::addColumn<QStringList>("kodlar");
    QTest::newRow("names B to D, Turkish order of codes") << "Stok Adı" << "B" << "D" << QStringList{"IA", "iB", "İC", "JD", "Y1"};
    QTest::newRow("codes C to J") << "Stok Kodu" << "C" << "J" << QStringList{"CZ", "ÇA", "IA", "iB", "İC"};
    QTest::newRow("lower case start") << "Stok Adı" << "ç" << "çz" << QStringList{"iB", "İC", "JD"};
    QTest::newRow("name with TOP and quotes") << "Stok Adı" << "SELECT TOP 1 'ÇAY'" << "SELECT TOP 1 'ÇAY'" << QStringList{"X2"};
}

void VeriTabaniTesti::listeOperatorunDegerleri()
{
    QFETCH(QString, satir);
    QFETCH(QString, bas);
    QFETCH(QString, son);
    QFETCH(QStringList, kodlar);
    // Cards of a group of their own.
    const QList<QStringList> kartlar = {{"JD", "ÇAY"},     {"İC", "çikolata"}, {"iB", "ÇORAP"}, {"IA", "BAL"},
                                        {"CZ", "DOMATES"}, {"ÇA", "ARMUT"},    {"Y1", "CAN"},   {"X2", "SELECT TOP 1 'ÇAY'"}};
    for (const QStringList &k : kartlar)
        m_db->CalistirDegerle(QStringLiteral("FIRMA01"),
                              QStringLiteral("INSERT INTO STOKKART (Stok_Kod,Stok_Ad,KDVGrup_ID,Grup_Kod) SELECT '%1',?,Grup_ID,"
                                             "'DENEME' FROM KDVGRUPLARI WHERE Departman_No=1").arg(k[0]),
                              k[1]);
    FiltreTablosu g;
    g.SetTextMatrix(g.SatirBul(QStringLiteral("Grup Kodu")), g.ColIndex(QStringLiteral("Baslangic")), QStringLiteral("DENEME"));
    g.SetTextMatrix(g.SatirBul(satir), g.ColIndex(QStringLiteral("Baslangic")), bas);
    g.SetTextMatrix(g.SatirBul(satir), g.ColIndex(QStringLiteral("Bitis")), son);
    AktarimSecimi secim;
    QVERIFY(SorguOlustur(g, secim));
    SonucListesi liste;
    QCOMPARE(StoklariListele(liste), std::optional<int>(int(kodlar.size())));
    QStringList listelenen;
    for (int r = 1; r < liste.Rows(); ++r)
        listelenen << liste.TextMatrix(r, liste.ColIndex(QStringLiteral("Stok_Kod")));
    QCOMPARE(listelenen, kodlar);
}

void VeriTabaniTesti::ilerlemeArttir_data()
{
    QTest::addColumn<double>("maksimum");
    QTest::addColumn<int>("adimlar");
    QTest::addColumn<QString>("yuzde");
    QTest::newRow("200, 2 steps") << 200.0 << 2 << "1%";
    QTest::newRow("200, 200 steps") << 200.0 << 200 << "100%";
    QTest::newRow("3, 2 steps") << 3.0 << 2 << "67%";
    QTest::newRow("past the maximum") << 3.0 << 5 << "100%";
    QTest::newRow("no maximum") << 0.0 << 1 << "0%";
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

QTEST_GUILESS_MAIN(VeriTabaniTesti)
#include "tst_veritabani.moc"
