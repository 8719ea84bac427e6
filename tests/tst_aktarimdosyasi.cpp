#include "common/KodSayfasi.h"
#include "state/Hata.h"
#include "transfer/AktarimDosyasi.h"
#include "transfer/AktarimOkuyucu.h"
#include "transfer/IceAktarimHatasi.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The transfer file's lines formed, its records read back (the reader alone, without a
// database), and its writer.
class AktarimDosyasiTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void kartSutunSatiriOnekleri();
    void kartSutunSatiriDenetlenir_data();
    void kartSutunSatiriDenetlenir();
    void yazilamayanDegerler_data();
    void yazilamayanDegerler();
    void okuyucuKayitlari_data();
    void okuyucuKayitlari();
    void okuyucuParcaSinirlarindaVeUzunSatirda();
    void yaziciTamamlanmadanDosyaBirakmaz();
};

void AktarimDosyasiTesti::kartSutunSatiriOnekleri()
{
    const QStringList sorgu = {"Stok_ID", "Stok_Kod", "Stok_Ad", "KDVGrup_ID", "KDV", "kdv", "Kullanici_ID",
                               "Deg_Kullanici_ID", "Yr_Tarih", "ayr_x", "Departman_No"};
    QCOMPARE(KartSutunSatiri(sorgu),
             QStringLiteral("SELECT Stok_Kod,Stok_Ad,STOKKART.KDV,kdv,STOKKART.Kullanici_ID,STOKKART.Deg_Kullanici_ID,"
                            "STOKKART.Yr_Tarih,STOKKART.ayr_x,Departman_No FROM STOKKART,KDVGRUPLARI "
                            "WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID"));
}

void AktarimDosyasiTesti::kartSutunSatiriDenetlenir_data()
{
    const QString kuyruk = QStringLiteral(" FROM STOKKART,KDVGRUPLARI WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID");
    QTest::addColumn<QString>("satir");
    QTest::addColumn<QStringList>("adlar"); // empty: refused
    QTest::newRow("as written") << "SELECT Stok_Kod,STOKKART.KDV,Departman_No" + kuyruk << QStringList{"Stok_Kod", "KDV"};
    QTest::newRow("other tail") << "SELECT Stok_Kod,Departman_No FROM STOKKART" << QStringList{};
    QTest::newRow("statement smuggled into a name") << "SELECT Stok_Kod,(SELECT 1) x,Departman_No" + kuyruk << QStringList{};
    QTest::newRow("other table prefix") << "SELECT sysuslng.sysus,Departman_No" + kuyruk << QStringList{};
    QTest::newRow("department not last") << "SELECT Departman_No,Stok_Kod" + kuyruk << QStringList{};
    QTest::newRow("trailing comma") << "SELECT Stok_Kod,Departman_No," + kuyruk << QStringList{};
    QTest::newRow("blank in list") << "SELECT Stok_Kod, Departman_No" + kuyruk << QStringList{};
    QTest::newRow("lower-case select") << "select Stok_Kod,Departman_No" + kuyruk << QStringList{};
}

void AktarimDosyasiTesti::kartSutunSatiriDenetlenir()
{
    QFETCH(QString, satir);
    QFETCH(QStringList, adlar);
    QCOMPARE(KartSutunSatiriCoz(satir).value_or(QStringList()), adlar);
}

void AktarimDosyasiTesti::yazilamayanDegerler_data()
{
    QTest::addColumn<QString>("deger");
    QTest::addColumn<QString>("neden"); // empty: the value can stand in a file
    QTest::newRow("turkish letters and apostrophe") << "ÇAY 'özel' İğneada" << "";
    QTest::newRow("euro sign is in windows-1254") << "€" << "";
    QTest::newRow("separator") << "a;b" << "değer \";\" içeriyor";
    QTest::newRow("carriage return") << "a\rb" << "değer satır sonu içeriyor";
    QTest::newRow("nul") << QString("a") + QChar(0) + "b" << "değer denetim karakteri (kod 0) içeriyor";
    QTest::newRow("delete") << "a\x7f" << "değer denetim karakteri (kod 127) içeriyor";
    QTest::newRow("outside windows-1254") << "€ ok, ✓ not" << "değer Windows-1254 kod sayfasında olmayan bir karakter içeriyor";
}

void AktarimDosyasiTesti::yazilamayanDegerler()
{
    QFETCH(QString, deger);
    QFETCH(QString, neden);
    QCOMPARE(DegerYazilamazNedeni(deger), neden);
}

namespace {

void Yaz(const QString &yol, const QByteArray &icerik)
{
    QFile f(yol);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(icerik);
}

QString Metin(const Kayit &k)
{
    switch (k.tur) {
    case KayitTuru::KdvGrubu:
        return QStringLiteral("kdv %1/%2 %3").arg(k.kdv.Departman_No).arg(k.kdv.KDV).arg(k.kdv.Departman_Adi);
    case KayitTuru::KdvSonu:
        return QStringLiteral("kdv sonu");
    case KayitTuru::FiyatTanimi:
        return QStringLiteral("tanım %1 %2 %3").arg(k.tanim.Sira_No).arg(k.tanim.Fiyat_Aciklama, k.tanim.On_Deger ? "True" : "False");
    case KayitTuru::KartBasligi:
        return QStringLiteral("başlık %1 %2 kod@%3 ad@%4 fiyat %5")
            .arg(k.baslik.n)
            .arg(k.baslik.adlar.join(','))
            .arg(k.baslik.stokKodYeri)
            .arg(k.baslik.stokAdYeri)
            .arg(k.baslik.fiyat.sutunlar.size());
    case KayitTuru::Kart:
        break;
    }
    QStringList degerler, fiyatlar;
    for (const QStringView d : k.kart.kart.degerler)
        degerler << d.toString();
    for (int i = 0; i < k.kart.fiyatSayisi; ++i)
        fiyatlar << QString::number(k.kart.seviyeler[size_t(i)]) + QLatin1Char('@') + QString::number(k.kart.Fiyat(i).no);
    return QStringLiteral("kart %1 '%2' satır %3 [%4] dep %5 fiyat %6")
        .arg(k.kart.stokKod.toString(), k.kart.stokAd.toString())
        .arg(k.kart.kart.no)
        .arg(degerler.join('|'))
        .arg(k.kart.departman)
        .arg(fiyatlar.join(','));
}

// The records a file gives, one text each; a failure ends the list with its region, stop and
// description.
QStringList Kayitlar(const QByteArray &icerik)
{
    QTemporaryDir klasor;
    const QString yol = klasor.filePath(QStringLiteral("k.trn"));
    Yaz(yol, icerik);
    QStringList sonuc;
    try {
        AktarimOkuyucu okuyucu(yol);
        Kayit k;
        while (okuyucu.Sonraki(k))
            sonuc << Metin(k);
        sonuc << QStringLiteral("son");
    } catch (const IceAktarimHatasi &h) {
        sonuc << QStringLiteral("hata %1/%2: %3").arg(h.Bolge()).arg(int(h.Durusu())).arg(h.Aciklama());
    }
    return sonuc;
}

QByteArray Dosya(const QStringList &satirlar)
{
    return *Windows1254e(satirlar.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

const QString Kuyruk = QStringLiteral(" FROM STOKKART,KDVGRUPLARI WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID");

} // namespace

void AktarimDosyasiTesti::okuyucuKayitlari_data()
{
    QTest::addColumn<QByteArray>("icerik");
    QTest::addColumn<QStringList>("kayitlar");
    const QStringList bas = {"<KDVGRUPLARI>", "1;GIDA;8;0;", "<FIYATTANIM>", "1;PERAKENDE;True;", "<STOKKART>", " 3 ",
                             "SELECT Stok_Ad,STOKKART.Stok_Kod,Departman_No" + Kuyruk, "<STOKFIYAT>", FiyatOnEki(true, false),
                             "<STOK>"};
    const QStringList basKayitlari = {"kdv 1/8 GIDA", "kdv sonu", "tanım 1 PERAKENDE True",
                                      "başlık 3 Stok_Ad,Stok_Kod kod@1 ad@0 fiyat 9"};
    const QString fiyat = "1;57;PERAKENDE;12,5;0;0;0;0;0;";
    QTest::newRow("stock code found by its name, lines numbered")
        << Dosya(bas + QStringList{"ÇAY ; 10001 ;1;", fiyat, "2;57;X;1;0;0;0;0;0", "<STOK>", "KAHVE;10002;1", "<END>"})
        << basKayitlari + QStringList{"kart 10001 'ÇAY' satır 11 [ÇAY | 10001 |1] dep 1 fiyat 1@12,2@13",
                                      "kart 10002 'KAHVE' satır 15 [KAHVE|10002|1] dep 1 fiyat ", "son"};
    QTest::newRow("fractional VAT rate rounds half to even, blanks around numbers")
        << Dosya({"<KDVGRUPLARI>", " 3 ;G;8,5;0;", "2;X;18;", "<FIYATTANIM>", "4;O'NUN;-1;", "<END>"})
        << QStringList{"kdv 3/8 G", "kdv 2/18 X", "kdv sonu", "tanım 4 O'NUN True", "hata 4/3: "};
    QTest::newRow("<STOK> then <END>: no card") << Dosya(bas + QStringList{"<END>"}) << basKayitlari + QStringList{"son"};
    QTest::newRow("VAT number one past 16 bits") << Dosya({"<KDVGRUPLARI>", "32768;G;8;0;"}) << QStringList{"hata 3/0: Taşma"};
    QTest::newRow("price definition not a bit") << Dosya({"<KDVGRUPLARI>", "1;G;8;0;", "<FIYATTANIM>", "1;A;belki;"})
                                                << QStringList{"kdv 1/8 G", "kdv sonu", "hata 4/0: Tür uyuşmazlığı"};
    QTest::newRow("field-name line without Stok_Kod")
        << Dosya(QStringList(bas.mid(0, 5)) << " 2 " << "SELECT Stok_Ad,Departman_No" + Kuyruk)
        << QStringList{"kdv 1/8 G", "kdv sonu", "tanım 1 PERAKENDE True", "hata 5/9: "}.replaceInStrings("G", "GIDA");
    QTest::newRow("line feed inside a card value")
        << Dosya(bas + QStringList{"ÇAY\nYEŞİL;10001;1;", "<END>"})
        << basKayitlari + QStringList{"hata 7/0: Satır 11, stok kodu 10001, Stok_Ad sütunu: değer satır sonu içeriyor."};
    QTest::newRow("NUL in a price value")
        << Dosya(bas + QStringList{"ÇAY;10001;1;", QString(fiyat).replace("12,5", QString("1") + QChar(0) + "2"), "<END>"})
        << basKayitlari + QStringList{"hata 7/0: Satır 12, stok kodu 10001, Ana_Birim_Fiyat sütunu: değer denetim karakteri (kod 0) içeriyor."};
    QByteArray tanimsiz = Dosya(bas + QStringList{"ÇAY;10001;1;", "<END>"});
    tanimsiz.replace("\xc7" "AY", "\x81" "AY");
    QTest::newRow("byte Windows-1254 leaves undefined")
        << tanimsiz << basKayitlari + QStringList{"hata 7/0: Satır 11, stok kodu 10001, Stok_Ad sütunu: değer Windows-1254 kod sayfasında olmayan bir karakter içeriyor."};
    QTest::newRow("card line with one value too many")
        << Dosya(bas + QStringList{"ÇAY;10001;1;1;", "<END>"})
        << basKayitlari + QStringList{"hata 7/0: Satır 11: 10001 stok kodlu kartın satırında 4 değer var, 3 olmalı."};
    // A record is held whole: its price lines together may not pass 16 lines' length (16 MB).
    QTest::newRow("card record past 16 MB")
        << Dosya(bas + QStringList{"ÇAY;10001;1;"} + QStringList(17, "1;57;" + QString(1048000, 'x') + ";12,5;0;0;0;0;0;") + QStringList{"<END>"})
        << basKayitlari + QStringList{"hata 7/0: Satır 11: 10001 stok kodlu kartın kaydı (fiyat satırlarıyla) 16777216 baytı aşıyor."};
    QTest::newRow("file ends inside the cards") << Dosya(bas + QStringList{"ÇAY;10001;1;"})
                                               << basKayitlari + QStringList{"hata 7/0: Dosya sonundan sonra okuma girişimi"};
    const QString kodlama = "hata 2/2: Dosya Windows-1254 (Türkçe) kodlu bir metin değil: %1. Türkçe harfler bozulacağından "
                            "dosya okunmayacak; dosyayı Windows-1254 (ANSI) olarak kaydedip yeniden deneyin.";
    QTest::newRow("UTF-16") << QByteArray("<\0K\0D\0V\0", 8) << QStringList{kodlama.arg("UTF-16 olarak kaydedilmiş")};
    QTest::newRow("valid UTF-8 with Turkish letters")
        << (QStringList(bas).join("\r\n") + "\r\nÇAY;10001;1;\r\n<END>\r\n").toUtf8()
        << QStringList{kodlama.arg("UTF-8 olarak kaydedilmiş")};
    QTest::newRow("bare line feeds: one line, no transfer file") << QStringList(bas).join("\n").toLatin1() << QStringList{"hata 2/1: "};
}

void AktarimDosyasiTesti::okuyucuKayitlari()
{
    QFETCH(QByteArray, icerik);
    QFETCH(QStringList, kayitlar);
    QCOMPARE(Kayitlar(icerik), kayitlar);
}

void AktarimDosyasiTesti::okuyucuParcaSinirlarindaVeUzunSatirda()
{
    // CR and LF on either side of a read boundary make one line end; a bare LF stays inside.
    QTemporaryDir klasor;
    const QString yol = klasor.filePath(QStringLiteral("b.txt"));
    QByteArray icerik;
    for (int uzunluk = 65530; uzunluk < 65540; ++uzunluk)
        icerik += QByteArray(uzunluk, 'x') + "\r\n";
    Yaz(yol, icerik + "a\nb\rson");
    SatirOkuyucu oku(yol);
    for (int uzunluk = 65530; uzunluk < 65540; ++uzunluk)
        QCOMPARE(int(oku.Satir()->size()), uzunluk);
    const SatirOkuyucu::Yer yer = oku.Konum();
    QCOMPARE(*oku.Satir(), QByteArrayView("a\nb"));
    QCOMPARE(*oku.Satir(), QByteArrayView("son"));
    QVERIFY(!oku.Satir());
    oku.KonumaGit(yer);
    QCOMPARE(*oku.Satir(), QByteArrayView("a\nb"));
    QCOMPARE(oku.SatirNo(), qint64(11));

    // Without any CR: refused at the length limit, having read little more than that.
    Yaz(yol, QByteArray(64 << 20, 'y'));
    SatirOkuyucu uzun(yol);
    QElapsedTimer sure;
    sure.start();
    QVERIFY_THROWS_EXCEPTION(Hata, uzun.Satir());
    QVERIFY2(sure.elapsed() < 1000, qPrintable(QString::number(sure.elapsed())));
}

void AktarimDosyasiTesti::yaziciTamamlanmadanDosyaBirakmaz()
{
    // A write that fails, or a writer never completed, leaves the old file as it was and no other.
    QTemporaryDir klasor;
    const QString yol = klasor.filePath(QStringLiteral("c.txt"));
    Yaz(yol, "eski");
    {
        AktarimYazici yaz(yol);
        yaz.SatirYaz(QStringLiteral("yeni"));
        QVERIFY_THROWS_EXCEPTION(Hata, yaz.SatirYaz(QStringLiteral("✓")));
    }
    QCOMPARE(QDir(klasor.path()).entryList(QDir::Files), QStringList{QStringLiteral("c.txt")});
    QFile eski(yol);
    QVERIFY(eski.open(QIODevice::ReadOnly));
    QCOMPARE(eski.readAll(), QByteArray("eski"));

    // The finished file cannot be put in its place (a folder took the name meanwhile): a
    // failure, not a success.
    const QString yeni = klasor.filePath(QStringLiteral("d.txt"));
    AktarimYazici yaz(yeni);
    yaz.SatirYaz(QStringLiteral("Çay"));
    QVERIFY(QDir().mkpath(yeni + QStringLiteral("/alt")));
    try {
        yaz.Tamamla();
        QFAIL("a file that could not be put in place was reported written");
    } catch (const Hata &h) {
        QVERIFY2(h.Aciklama().startsWith(yeni + QStringLiteral(" yazılamadı: ")), qPrintable(h.Aciklama()));
    }
}

QTEST_GUILESS_MAIN(AktarimDosyasiTesti)
#include "tst_aktarimdosyasi.moc"
