#include "common/KodSayfasi.h"
#include "state/Hata.h"
#include "transfer/AktarimDosyasi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The transfer file's lines, formed and taken apart, and its reader and writer.
class AktarimDosyasiTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void satirlarOlusur();
    void kartSutunSatiriOnekleri();
    void kdvSatiri_data();
    void kdvSatiri();
    void fiyatTanimSatiri_data();
    void fiyatTanimSatiri();
    void degerSatiriBolunur_data();
    void degerSatiriBolunur();
    void alanSatiriOku();
    void kartSutunSatiriDenetlenir_data();
    void kartSutunSatiriDenetlenir();
    void fiyatOnEkiUcBicimdenBiri();
    void yazilamayanDegerler();
    void okuyucuSatirSonlari();
    void okuyucuBuyukDosyadaParcaSinirlari();
    void yaziciTamamlanmadanDosyaBirakmaz();
};

void AktarimDosyasiTesti::satirlarOlusur()
{
    QCOMPARE(DegerSatiri({QStringLiteral("1"), QStringLiteral("GIDA"), QStringLiteral("8"), QStringLiteral("0")}),
             QStringLiteral("1;GIDA;8;0;"));
    QCOMPARE(DegerSatiri({QStringLiteral("5"), QString(), QStringLiteral("7")}), QStringLiteral("5;;7;"));
    QCOMPARE(SayiSatiri(42), QStringLiteral(" 42 "));
    QCOMPARE(FiyatOnEki(true, false),
             QStringLiteral("SELECT Fiyat_Sira_No,Stok_ID,Fiyat_Aciklama  ,Ana_Birim_Fiyat,Birim2_Fiyat,Birim3_Fiyat,"
                            "Dv_Ana_Birim_Fiyat,Dv_Birim2_Fiyat,Dv_Birim3_Fiyat  FROM STOKFIYAT"));
    QCOMPARE(FiyatOnEki(true, true).count(QLatin1Char(',')), 14);
}

void AktarimDosyasiTesti::kartSutunSatiriOnekleri()
{
    const QStringList sorgu = {"Stok_ID", "Stok_Kod", "Stok_Ad", "KDVGrup_ID", "KDV", "kdv", "Kullanici_ID",
                               "Deg_Kullanici_ID", "Yr_Tarih", "ayr_x", "Departman_No"};
    QCOMPARE(KartSutunSatiri(sorgu),
             QStringLiteral("SELECT Stok_Kod,Stok_Ad,STOKKART.KDV,kdv,STOKKART.Kullanici_ID,STOKKART.Deg_Kullanici_ID,"
                            "STOKKART.Yr_Tarih,STOKKART.ayr_x,Departman_No FROM STOKKART,KDVGRUPLARI "
                            "WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID"));
}

void AktarimDosyasiTesti::kdvSatiri_data()
{
    QTest::addColumn<QString>("satir");
    QTest::addColumn<int>("durum");
    QTest::addColumn<int>("departman");
    QTest::addColumn<int>("kdv");
    QTest::addColumn<bool>("hata");
    QTest::newRow("as written") << "1;GIDA;8;0;" << 0 << 1 << 8 << false;
    QTest::newRow("text after the third separator ignored") << "2;X;18;" << 0 << 2 << 18 << false;
    QTest::newRow("no separator after the rate") << "1;GIDA;8" << -1 << 0 << 0 << false;
    QTest::newRow("fractional rate rounds half to even") << "1;G;8,5;0;" << 0 << 1 << 8 << false;
    QTest::newRow("blanks around numbers") << " 3 ;G; 18 ;0;" << 0 << 3 << 18 << false;
    QTest::newRow("not a number fails") << "x;G;8;0;" << 0 << 0 << 0 << true;
    QTest::newRow("outside 16 bits fails") << "40000;G;8;0;" << 0 << 0 << 0 << true;
}

void AktarimDosyasiTesti::kdvSatiri()
{
    QFETCH(QString, satir);
    QFETCH(int, durum);
    QFETCH(int, departman);
    QFETCH(int, kdv);
    QFETCH(bool, hata);
    KDVTanim t;
    if (hata) {
        QVERIFY_THROWS_EXCEPTION(Hata, KdvSatiriOku(satir, t));
        return;
    }
    QCOMPARE(int(KdvSatiriOku(satir, t)), durum);
    if (durum == 0) {
        QCOMPARE(int(t.Departman_No), departman);
        QCOMPARE(int(t.KDV), kdv);
    }
}

void AktarimDosyasiTesti::fiyatTanimSatiri_data()
{
    QTest::addColumn<QString>("satir");
    QTest::addColumn<int>("sira");
    QTest::addColumn<QString>("aciklama");
    QTest::addColumn<bool>("onDeger");
    QTest::newRow("true") << "1;PERAKENDE;True;" << 1 << "PERAKENDE" << true;
    QTest::newRow("false") << "2;TOPTAN;False;" << 2 << "TOPTAN" << false;
    QTest::newRow("number") << "3; BAYİ ;-1;" << 3 << " BAYİ " << true;
    QTest::newRow("apostrophe kept") << "4;O'NUN;0;" << 4 << "O'NUN" << false;
}

void AktarimDosyasiTesti::fiyatTanimSatiri()
{
    QFETCH(QString, satir);
    QFETCH(int, sira);
    QFETCH(QString, aciklama);
    QFETCH(bool, onDeger);
    FiyatTanimSatiri t;
    QCOMPARE(int(FiyatTanimSatiriOku(satir, t)), 0);
    QCOMPARE(int(t.Sira_No), sira);
    QCOMPARE(t.Fiyat_Aciklama, aciklama);
    QCOMPARE(t.On_Deger, onDeger);
    QCOMPARE(int(FiyatTanimSatiriOku(QStringLiteral("1;A"), t)), -1);
    QVERIFY_THROWS_EXCEPTION(Hata, FiyatTanimSatiriOku(QStringLiteral("1;A;belki;"), t));
}

void AktarimDosyasiTesti::degerSatiriBolunur_data()
{
    QTest::addColumn<QString>("satir");
    QTest::addColumn<QStringList>("degerler");
    QTest::newRow("final separator adds nothing") << "a;b;" << QStringList{"a", "b"};
    QTest::newRow("empty values count") << "a;;c;" << QStringList{"a", "", "c"};
    QTest::newRow("no final separator") << "a;b" << QStringList{"a", "b"};
    QTest::newRow("values not trimmed") << " a ; b ;" << QStringList{" a ", " b "};
    QTest::newRow("empty line") << "" << QStringList{};
    QTest::newRow("only a separator") << ";" << QStringList{""};
}

void AktarimDosyasiTesti::degerSatiriBolunur()
{
    QFETCH(QString, satir);
    QFETCH(QStringList, degerler);
    QCOMPARE(StokSatiriOku(satir), degerler);
}

void AktarimDosyasiTesti::alanSatiriOku()
{
    QCOMPARE(AlanSatiriOku(QStringLiteral("SELECT Stok_Kod,STOKKART.KDV,Departman_No FROM STOKKART,KDVGRUPLARI WHERE x")),
             (QStringList{"Stok_Kod", "KDV", "Departman_No "}));
    QCOMPARE(AlanSatiriOku(QStringLiteral("SELECT a,b,")), (QStringList{"a", "b", ""}));
}

void AktarimDosyasiTesti::kartSutunSatiriDenetlenir_data()
{
    const QString kuyruk = QStringLiteral(" FROM STOKKART,KDVGRUPLARI WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID");
    QTest::addColumn<QString>("satir");
    QTest::addColumn<bool>("gecerli");
    QTest::addColumn<QStringList>("adlar");
    QTest::newRow("as written") << "SELECT Stok_Kod,STOKKART.KDV,Departman_No" + kuyruk << true << QStringList{"Stok_Kod", "KDV"};
    QTest::newRow("other tail") << "SELECT Stok_Kod,Departman_No FROM STOKKART" << false << QStringList{};
    QTest::newRow("statement smuggled into a name")
        << "SELECT Stok_Kod,(SELECT 1) x,Departman_No" + kuyruk << false << QStringList{};
    QTest::newRow("other table prefix") << "SELECT sysuslng.sysus,Departman_No" + kuyruk << false << QStringList{};
    QTest::newRow("department not last") << "SELECT Departman_No,Stok_Kod" + kuyruk << false << QStringList{};
    QTest::newRow("trailing comma") << "SELECT Stok_Kod,Departman_No," + kuyruk << false << QStringList{};
    QTest::newRow("blank in list") << "SELECT Stok_Kod, Departman_No" + kuyruk << false << QStringList{};
    QTest::newRow("lower-case select") << "select Stok_Kod,Departman_No" + kuyruk << false << QStringList{};
}

void AktarimDosyasiTesti::kartSutunSatiriDenetlenir()
{
    QFETCH(QString, satir);
    QFETCH(bool, gecerli);
    QFETCH(QStringList, adlar);
    const auto sonuc = KartSutunSatiriCoz(satir);
    QCOMPARE(bool(sonuc), gecerli);
    if (sonuc)
        QCOMPARE(*sonuc, adlar);
}

void AktarimDosyasiTesti::fiyatOnEkiUcBicimdenBiri()
{
    for (const auto &[satis, alis, sayi] : {std::tuple{true, false, 9}, {false, true, 9}, {true, true, 15}}) {
        const auto bicim = FiyatOnEkiCoz(FiyatOnEki(satis, alis));
        QVERIFY(bicim);
        QCOMPARE(bicim->satis, satis);
        QCOMPARE(bicim->alis, alis);
        QCOMPARE(int(bicim->sutunlar.size()), sayi);
        QCOMPARE(bicim->sutunlar.first(), QStringLiteral("Fiyat_Sira_No"));
    }
    QVERIFY(!FiyatOnEkiCoz(FiyatOnEki(false, false)));
    QVERIFY(!FiyatOnEkiCoz(FiyatOnEki(true, false) + QStringLiteral(" WHERE 1=1")));
    QVERIFY(!FiyatOnEkiCoz(QStringLiteral("SELECT Fiyat_Sira_No,Stok_ID,Fiyat_Aciklama FROM STOKFIYAT; DELETE FROM STOKKART")));
}

void AktarimDosyasiTesti::yazilamayanDegerler()
{
    QVERIFY(DegerYazilamazNedeni(QStringLiteral("ÇAY 'özel' İğneada")).isEmpty());
    QVERIFY(!DegerYazilamazNedeni(QStringLiteral("a;b")).isEmpty());
    QVERIFY(!DegerYazilamazNedeni(QStringLiteral("a\rb")).isEmpty());
    QVERIFY(!DegerYazilamazNedeni(QStringLiteral("a\nb")).isEmpty());
    QVERIFY(!DegerYazilamazNedeni(QStringLiteral("€ ok, ✓ not")).isEmpty());
    QVERIFY(DegerYazilamazNedeni(QStringLiteral("€")).isEmpty());
}

void AktarimDosyasiTesti::okuyucuSatirSonlari()
{
    QTemporaryDir klasor;
    const QString yol = klasor.filePath(QStringLiteral("a.txt"));
    QFile f(yol);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(*Windows1254e(QStringLiteral("bir\r\niki\rüç\ndört\r\n\r\nson")));
    f.write(QByteArray("\r\n") + *Windows1254e(QStringLiteral("ÇĞİŞ")));
    f.close();
    AktarimOkuyucu oku(yol);
    QCOMPARE(oku.SatirOku(), QStringLiteral("bir"));
    const qint64 konum = oku.Konum();
    QCOMPARE(oku.SatirOku(), QStringLiteral("iki"));
    QCOMPARE(oku.SatirOku(), QStringLiteral("üç\ndört"));
    QCOMPARE(oku.SatirOku(), QString());
    QCOMPARE(oku.SatirOku(), QStringLiteral("son"));
    QCOMPARE(oku.SatirOku(), QStringLiteral("ÇĞİŞ"));
    QVERIFY(oku.Bitti());
    QVERIFY_THROWS_EXCEPTION(Hata, oku.SatirOku());
    oku.KonumaGit(konum);
    QCOMPARE(oku.SatirOku(), QStringLiteral("iki"));
}

void AktarimDosyasiTesti::okuyucuBuyukDosyadaParcaSinirlari()
{
    // CR and LF falling on either side of a read boundary still make one line end.
    QTemporaryDir klasor;
    const QString yol = klasor.filePath(QStringLiteral("b.txt"));
    QFile f(yol);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QByteArray icerik;
    for (int uzunluk = 65530; uzunluk < 65540; ++uzunluk)
        icerik += QByteArray(uzunluk, 'x') + "\r\n";
    f.write(icerik);
    f.close();
    AktarimOkuyucu oku(yol);
    for (int uzunluk = 65530; uzunluk < 65540; ++uzunluk)
        QCOMPARE(int(oku.SatirOku().size()), uzunluk);
    QVERIFY(oku.Bitti());
}

void AktarimDosyasiTesti::yaziciTamamlanmadanDosyaBirakmaz()
{
    QTemporaryDir klasor;
    const QString yol = klasor.filePath(QStringLiteral("c.txt"));
    QFile eski(yol);
    QVERIFY(eski.open(QIODevice::WriteOnly));
    eski.write("eski");
    eski.close();
    {
        AktarimYazici yaz(yol);
        yaz.SatirYaz(QStringLiteral("yeni"));
        QVERIFY_THROWS_EXCEPTION(Hata, yaz.SatirYaz(QStringLiteral("✓")));
    }
    QCOMPARE(QDir(klasor.path()).entryList(QDir::Files), QStringList{QStringLiteral("c.txt")});
    QVERIFY(eski.open(QIODevice::ReadOnly));
    QCOMPARE(eski.readAll(), QByteArray("eski"));
    eski.close();
    {
        AktarimYazici yaz(yol);
        yaz.SatirYaz(QStringLiteral("Çay"));
        yaz.Tamamla();
    }
    QVERIFY(eski.open(QIODevice::ReadOnly));
    QCOMPARE(eski.readAll(), QByteArray("\xc7" "ay\r\n"));
}

QTEST_GUILESS_MAIN(AktarimDosyasiTesti)
#include "tst_aktarimdosyasi.moc"
