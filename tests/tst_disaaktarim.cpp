#include "state/Degiskenler.h"
#include "state/TutarliOkuma.h"
#include "transfer/DosyaOlustur.h"
#include "transfer/OncekiDosya.h"
#include "support/AktarimOrtami.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Degiskenler;
using namespace AktarimBeklentileri;

namespace {
const QString Tamamlandi = QStringLiteral("İşlem Tamamlandı");
const QString Olusturulamadi = QStringLiteral("Transfer Dosyası Oluşturulamadı.\r");
const QString UzerineYaz = QStringLiteral("Dosya Var Üzerine Yazılacktır.Onaylıyormusunuz");
} // namespace

// "DOSYA OLUŞTUR": the file the export writes, byte for byte, and the ways it stops.
class DisaAktarimTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { o = new AktarimOrtami; }
    void cleanup() { delete o; }

    void altinDosya_data();
    void altinDosya();
    void durdurmalar();
    void tekAndaOkur();

private:
    // DosyaOlustur on the cards `sql` lists, into a new file.
    QString DisaAktar(const QString &firma, const QString &sql, const AktarimSecimi &secim)
    {
        o->Listele(firma, sql);
        o->op.dosyalar.enqueue(o->Yol("t.trn"));
        DosyaOlustur(o->liste, secim);
        return o->Yol("t.trn");
    }
    AktarimOrtami *o = nullptr;
};

void DisaAktarimTesti::altinDosya_data()
{
    QTest::addColumn<bool>("satis");
    QTest::addColumn<bool>("alis");
    QTest::addColumn<QList<int>>("seviyeler");
    QTest::addColumn<QStringList>("fiyatlar"); // the price prefix line, then card 10001's price lines
    const QString bas = "SELECT Fiyat_Sira_No,Stok_ID,Fiyat_Aciklama  ";
    const QString satis = ",Ana_Birim_Fiyat,Birim2_Fiyat,Birim3_Fiyat,Dv_Ana_Birim_Fiyat,Dv_Birim2_Fiyat,Dv_Birim3_Fiyat  ";
    const QString alis = ",Ana_Birim_Fiyat_Alis,Birim2_Fiyat_Alis,Birim3_Fiyat_Alis,Dv_Ana_Birim_Fiyat_Alis,Dv_Birim2_Fiyat_Alis,"
                         "Dv_Birim3_Fiyat_Alis  ";
    QTest::newRow("both, levels 1 and 3") << true << true << QList<int>{1, 3}
        << QStringList{bas + satis + alis + "FROM STOKFIYAT", "1;1;PERAKENDE;12,5;150;0;0,34;0;0;9;108;0;0;0;0;",
                       "3;1;ÖZEL;10;0;0;0;0;0;7;0;0;0;0;0;"};
    QTest::newRow("sale, every level") << true << false << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}
        << QStringList{bas + satis + "FROM STOKFIYAT", "1;1;PERAKENDE;12,5;150;0;0,34;0;0;", "2;1;TOPTAN;11,75;141;0;0;0;0;",
                       "3;1;ÖZEL;10;0;0;0;0;0;"};
    QTest::newRow("purchase, level 2") << false << true << QList<int>{2}
        << QStringList{bas + alis + "FROM STOKFIYAT", "2;1;TOPTAN;8,5;;0;0;0;0;"};
}

void DisaAktarimTesti::altinDosya()
{
    QFETCH(bool, satis);
    QFETCH(bool, alis);
    QFETCH(QList<int>, seviyeler);
    QFETCH(QStringList, fiyatlar);
    const QString f = QStringLiteral("KUCUK");
    TestVeritabani &db = o->db;
    db.BosFirmaYaz(f);
    db.Calistir(f, "INSERT INTO KDVGRUPLARI (Departman_No,Departman_Adi,KDV,Kullanici_ID) VALUES (2,'TEKSTİL',18,1),(1,'GIDA',8,1)");
    db.Calistir(f, "INSERT INTO FIYATTANIM VALUES (1,'PERAKENDE',1),(2,'TOPTAN',0)");
    db.Calistir(f, "INSERT INTO STOKKART (Stok_Kod,Stok_Ad,KDVGrup_ID,KDV,Grup_Kod,Ana_Birim,Birim2_Katsayi,Ana_Birim_Barkod,"
                   "Ana_Birim_Barkod_Tipi,Raf_Yeri,Aktif,Seri_Takip,Son_Alis_Tarih,Kullanici_ID,Yr_Tarih) VALUES "
                   "('10001','ÇAY 500 GR  ',2,8,'İÇECEK','ADET',12.5,'8690000000012',1,'A-01      ',1,0,"
                   "'2025-03-04 14:30:00',1,'2024-01-02 00:00:00')");
    db.Calistir(f, "INSERT INTO STOKKART (Stok_Kod,Stok_Ad,KDVGrup_ID) VALUES ('10002','BOŞ',1)");
    db.Calistir(f, "INSERT INTO STOKFIYAT (Stok_ID,Fiyat_Sira_No,Fiyat_Aciklama,Ana_Birim_Fiyat,Birim2_Fiyat,Birim3_Fiyat,"
                   "Dv_Ana_Birim_Fiyat,Dv_Birim2_Fiyat,Dv_Birim3_Fiyat,Ana_Birim_Fiyat_Alis,Birim2_Fiyat_Alis,Birim3_Fiyat_Alis,"
                   "Dv_Ana_Birim_Fiyat_Alis,Dv_Birim2_Fiyat_Alis,Dv_Birim3_Fiyat_Alis) VALUES "
                   "(1,3,'ÖZEL',10,0,0,0,0,0,7,0,0,0,0,0),(1,1,'PERAKENDE',12.5,150,0,0.34,0,0,9,108,0,0,0,0),"
                   "(1,2,'TOPTAN',11.75,141,0,0,0,0,8.5,NULL,0,0,0,0)");
    o->op.Bekle(Tamamlandi, Etkilesim::Simge::Yok);
    const QString yol = DisaAktar(f, "SELECT Stok_ID FROM STOKKART ORDER BY Stok_Kod", AktarimOrtami::Secim(satis, alis, seviyeler));
    QVERIFY(!o->op.frameBarGorunur);

    const QStringList beklenen = QStringList{
        "<KDVGRUPLARI>", "1;GIDA;8;0;", "2;TEKSTİL;18;0;", "<FIYATTANIM>", "1;PERAKENDE;True;", "2;TOPTAN;False;",
        "<STOKKART>", " 39 ",
        "SELECT Stok_Kod,Stok_Ad,STOKKART.KDV,O_Kod,O_Kod2,O_Kod3,Grup_Kod,Uretici_Firma,Ana_Birim,Birim2,Birim2_Katsayi,"
        "Birim3,Birim3_Katsayi,Ana_Birim_Barkod,Ana_Birim_Barkod_Tipi,Birim2_Barkod,Birim3_Barkod,ISK_Alis,ISK_Satis,"
        "StokMinSeviye,StokOptSeviye,StokMaxSeviye,Raf_Yeri,Reyon_Kod,Mensei,Agirlik,Hacim,Terazi_No,Teraziye_Gonder,Aktif,"
        "Seri_Takip,Iade_Kabul,Aciklama,Son_Alis_Tarih,STOKKART.Kullanici_ID,STOKKART.Yr_Tarih,STOKKART.Deg_Tarih,"
        "STOKKART.Deg_Kullanici_ID,Departman_No FROM STOKKART,KDVGRUPLARI WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID",
        "<STOKFIYAT>", fiyatlar[0], "<STOK>",
        "10001;ÇAY 500 GR;8;;;;İÇECEK;;ADET;;12,5;;;8690000000012;1;;;;;;;;A-01;;;;;;;True;False;;;04.03.2025 14:30:00;1;"
        "02.01.2024;;;1;"}
        + fiyatlar.mid(1) + QStringList{"<STOK>", "10002;BOŞ;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;2;", "<END>"};
    QCOMPARE(o->Satirlar(yol), beklenen); // (read as Windows-1254 lines ending in CR LF)
    QCOMPARE(OncekiDosyaOku(), yol);
    QFile hatira(o->Yol(QStringLiteral("öncekitrnsfr.txt")));
    QVERIFY(hatira.open(QIODevice::ReadOnly));
    QCOMPARE(hatira.readAll(), yol.toUtf8() + "\r\n");
}

void DisaAktarimTesti::durdurmalar()
{
    SahteEtkilesim &op = o->op;
    o->db.Baglan(Kaynak);
    o->liste.SetRows(1);
    // Cancel: nothing written, nothing remembered.
    op.dosyalar.enqueue(std::nullopt);
    DosyaOlustur(o->liste, AktarimOrtami::Secim(true, false));
    QVERIFY(!QFile::exists(o->Yol("öncekitrnsfr.txt")));
    QCOMPARE(op.onerilenDosyalar, QStringList{QString()});

    // "No" to the overwrite question: the file and the remembered path stay.
    const QString yol = o->Yol("var.trn");
    o->SatirlariYaz(yol, {"eski"});
    op.dosyalar.enqueue(yol);
    op.Bekle(UzerineYaz, Etkilesim::Simge::Soru, Etkilesim::Hayir);
    DosyaOlustur(o->liste, AktarimOrtami::Secim(true, false));
    QCOMPARE(o->Satirlar(yol), QStringList{"eski"});
    QVERIFY(!QFile::exists(o->Yol("öncekitrnsfr.txt")));

    // A listed card that is gone from the database, a value that cannot stand in a file (the
    // card and column named): no file, the old one stays.
    TestVeritabani &db = o->db;
    db.Calistir(Kaynak, "UPDATE STOKKART SET Stok_Ad=" + db.Birlestir({"'İKİ'", "char(10)", "'SATIR'"}) + " WHERE Stok_Kod='10002'");
    const QList<std::pair<QString, QString>> durumlar = {
        {"SELECT Stok_ID FROM STOKKART WHERE Stok_Kod='10001' UNION ALL SELECT 999999",
         "Listedeki 999999 numaralı stok kartı veritabanında bulunamadı."},
        {"SELECT Stok_ID FROM STOKKART WHERE Stok_Kod='10002'", "Stok kodu 10002, Stok_Ad sütunu: değer satır sonu içeriyor."}};
    for (const auto &[sql, neden] : durumlar) {
        o->Listele(Kaynak, sql);
        op.dosyalar.enqueue(yol);
        op.Bekle(UzerineYaz, Etkilesim::Simge::Soru, Etkilesim::Evet);
        op.Bekle(Olusturulamadi + neden, Etkilesim::Simge::Kritik);
        DosyaOlustur(o->liste, AktarimOrtami::Secim(true, true));
        QCOMPARE(o->Satirlar(yol), QStringList{"eski"});
        QCOMPARE(QDir(o->program.path()).entryList(QDir::Files), (QStringList{"var.trn", "öncekitrnsfr.txt"}));
    }

    // Consent and an empty list: the file replaced, definitions and "<END>" only; the next
    // dialog proposes the path.
    o->liste.SetRows(1);
    op.dosyalar.enqueue(yol);
    op.Bekle(UzerineYaz, Etkilesim::Simge::Soru, Etkilesim::Evet);
    op.Bekle(Tamamlandi, Etkilesim::Simge::Yok);
    DosyaOlustur(o->liste, AktarimOrtami::Secim(true, false));
    QCOMPARE(o->Satirlar(yol).size(), 1 + 5 + 1 + 5 + 1);
    op.dosyalar.enqueue(std::nullopt);
    DosyaOlustur(o->liste, AktarimOrtami::Secim(true, false));
    QCOMPARE(op.onerilenDosyalar.last(), yol);
}

void DisaAktarimTesti::tekAndaOkur()
{
    // Another program rewrites every card while the export runs (the list holds each card
    // eight times, so the cards are read in several parts): the file shows them all as they
    // were when the export began.
    TestVeritabani &db = o->db;
    db.Baglan(Kaynak);
    if (!TutarliOkuma(Baglanti).Butun())
        QSKIP("this database holds one moment per part of the read only (no snapshot isolation): "
              "a write to what the part read waits for the part to end");
    db.Calistir(Kaynak, "UPDATE STOKKART SET Aciklama='ONCE'");
    int yazma = 0;
    o->op.olaylarda = [&] { db.Calistir(Kaynak, QStringLiteral("UPDATE STOKKART SET Aciklama='SONRA%1'").arg(++yazma)); };
    o->op.Bekle(Tamamlandi, Etkilesim::Simge::Yok);
    const QString yol = DisaAktar(Kaynak, QStringList(8, "SELECT Stok_ID FROM STOKKART").join(" UNION ALL "), AktarimOrtami::Secim(true, false));
    o->op.olaylarda = nullptr;
    QVERIFY(yazma > 15);
    const QStringList satirlar = o->Satirlar(yol);
    QCOMPARE(satirlar.count("<STOK>"), 8 * 40);
    for (int i = 1; i < satirlar.size(); ++i) {
        if (satirlar[i - 1] == "<STOK>")
            QVERIFY2(satirlar[i].split(';').contains("ONCE"), qPrintable(satirlar[i]));
    }
}

QTEST_GUILESS_MAIN(DisaAktarimTesti)
#include "tst_disaaktarim.moc"
