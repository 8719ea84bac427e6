#include "common/KodSayfasi.h"
#include "common/Saat.h"
#include "state/Degiskenler.h"
#include "state/Hata.h"
#include "transfer/AktarimDosyasi.h"
#include "transfer/DegisiklikRaporu.h"
#include "transfer/DosyadanAl.h"
#include "transfer/KayitYazici.h"
#include "transfer/OncekiDosya.h"
#include "transfer/Onizleme.h"
#include "transfer/OnizlemeModeli.h"
#include "support/AktarimOrtami.h"
#include "support/KartDurumlari.h"
#include "support/VeritabaniOzeti.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <sys/stat.h>

using namespace Degiskenler;
using namespace AktarimBeklentileri;

namespace {
const QString Onay = QStringLiteral(
    "Gösterdiğiniz Dosya Okunacak ve Eğer Uygun bir Dosya ise \r* KDV Tanımları\r* Fiyat Tanımları\r* Stok Kartları \r"
    "* Stok Fiyatları\r Güncelenecektir. Bu işlem Esnasında var olan Kayıtlar Güncellenecek Olmayan Kayıtlar "
    "Oluşturulacakır.\rDevam Etmek İstiyor musunuz?");
const QString StokYok = QStringLiteral("Stok Bilgisine Rastlanmadı. İşlem Devam Etmeyecek");
const QString RaporSorusu = QStringLiteral("Yapılan Değişikliklerin Raporu Kaydedilsin mi?");
} // namespace

// "DOSYADAN AL": what an import writes into the target, and every file it refuses without
// changing anything.
class IceAktarimTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { o = new AktarimOrtami; }
    void cleanup() { delete o; }

    void gidisDonus();
    void denemeHicbirSeyYazmaz();
    void bozukVeYabanciDosyalar_data();
    void bozukVeYabanciDosyalar();
    void kartIslemiTekBasinaGeriAlinir();
    void bosDegerlerTarihteNullMetindeBos();
    void kartBasinaKomutSayisiSinirda();
    void ayniSeviyeninSatirlari();
    void sayiBicimleriOkunur_data();
    void sayiBicimleriOkunur();
    void dusmancaDegerler_data();
    void dusmancaDegerler();
    void degisiklikRaporu();
    void onizlemeDegistirmezAyniSonucuVerir();
    void baskaSutunSirasiGidisDonus();

private:
    // The second card's line (and its first price line after it) of a file, changed.
    QString Degistir(const QString &kod, const std::function<void(QStringList &, int)> &degistir);
    AktarimOrtami *o = nullptr;
};

QString IceAktarimTesti::Degistir(const QString &kod, const std::function<void(QStringList &, int)> &degistir)
{
    const QString yol = o->Dosya(Kaynak, "SELECT Stok_ID FROM STOKKART WHERE Stok_Kod='" + kod + "'", AktarimOrtami::Secim(true, false, {1}));
    QStringList s = o->Satirlar(yol);
    degistir(s, int(s.indexOf("<STOK>")) + 1);
    o->SatirlariYaz(yol, s);
    return yol;
}

void IceAktarimTesti::gidisDonus()
{
    TestVeritabani &db = o->db;
    // The target knows level 2 by another caption and lacks level 5.
    db.Calistir(Hedef, "UPDATE FIYATTANIM SET Fiyat_Aciklama='ESKİ TOPTAN' WHERE Sira_No=2");
    db.Calistir(Hedef, "UPDATE STOKFIYAT SET Fiyat_Aciklama='ESKİ TOPTAN' WHERE Fiyat_Sira_No=2");
    db.Calistir(Hedef, "DELETE FROM FIYATTANIM WHERE Sira_No=5");
    const QStringList kodlar = o->Tablo(Kaynak, "SELECT Stok_Kod FROM STOKKART WHERE Aciklama IS NULL OR Aciklama NOT LIKE '%;%'");
    QSet<QString> oncedenVar;
    for (const auto &s : db.Satirlar(Hedef, "SELECT Stok_Kod FROM STOKKART"))
        oncedenVar << s[0].toString();
    const QString yol = o->Dosya(Kaynak, Yazilabilir);

    const IceAktarimOzeti ozet = o->IceAktar(Hedef, yol);
    QVERIFY(ozet.basarili);
    QVERIFY(!o->op.frameBarGorunur);
    QCOMPARE(o->op.mesajLbl.size(), kodlar.size());
    QVERIFY(o->op.mesajLbl.last().endsWith(" İsimli Stok Aktarılıyor....."));
    QCOMPARE(o->op.yuzdeler.last(), QStringLiteral("100%"));
    QCOMPARE(ozet.fiyatTanimiEklenen, 1);
    QCOMPARE(ozet.fiyatTanimiGuncellenen, 1);
    QCOMPARE(ozet.kartOlusturulan + ozet.kartGuncellenen + ozet.kartDegismeyen, int(kodlar.size()));
    QVERIFY(ozet.kartOlusturulan > 0 && ozet.kartGuncellenen > 0 && ozet.kartDegismeyen > 0);

    // Price definitions and every price caption of the renamed level.
    QCOMPARE(o->Tablo(Hedef, "SELECT * FROM FIYATTANIM ORDER BY Sira_No"), o->Tablo(Kaynak, "SELECT * FROM FIYATTANIM ORDER BY Sira_No"));
    QCOMPARE(db.Deger(Hedef, "SELECT count(*) FROM STOKFIYAT WHERE Fiyat_Sira_No=2 AND Fiyat_Aciklama<>'TOPTAN'").toInt(), 0);

    // Every value the source holds stands in the target card as the source stores it; a new
    // card leaves NULL what the source left NULL and gets today's dates.
    QStringList adlar;
    for (const QString &kod : kodlar) {
        const auto kaynak = db.Satirlar(Kaynak, "SELECT * FROM STOKKART WHERE Stok_Kod='" + kod + "'", &adlar).value(0);
        const auto hedef = db.Satirlar(Hedef, "SELECT * FROM STOKKART WHERE Stok_Kod='" + kod + "'");
        QCOMPARE(hedef.size(), 1);
        const bool yeni = !oncedenVar.contains(kod);
        for (int c = 0; c < adlar.size(); ++c) {
            const QString &ad = adlar[c];
            if (ad == "Stok_ID" || ad == "KDVGrup_ID")
                continue;
            if (ad == "Yr_Tarih" || ad == "Deg_Tarih") {
                if (yeni)
                    QCOMPARE(hedef[0][c].toString(), QStringLiteral("2026-05-14 00:00:00"));
                continue;
            }
            const QString k = kaynak[c].toString().trimmed(), h = hedef[0][c].toString().trimmed();
            if (!kaynak[c].isNull() && !k.isEmpty())
                QVERIFY2(h == k, qPrintable(kod + " " + ad + ": " + h + " <> " + k));
            else if (yeni)
                QVERIFY2(hedef[0][c].isNull(), qPrintable(kod + " " + ad));
        }
        const QString dep = "SELECT g.Departman_No FROM STOKKART k JOIN KDVGRUPLARI g ON g.Grup_ID=k.KDVGrup_ID WHERE k.Stok_Kod='" + kod + "'";
        QCOMPARE(db.Deger(Hedef, dep), db.Deger(Kaynak, dep));
        // Price rows: the source's, on the target card's own id (levels the file does not carry stay).
        const QString fiyat = "SELECT f.Fiyat_Sira_No,f.Fiyat_Aciklama,f.Ana_Birim_Fiyat,f.Birim2_Fiyat,f.Dv_Ana_Birim_Fiyat,"
                              "f.Ana_Birim_Fiyat_Alis,f.Birim2_Fiyat_Alis FROM STOKFIYAT f JOIN STOKKART k ON k.Stok_ID=f.Stok_ID "
                              "WHERE k.Stok_Kod='" + kod + "' ORDER BY 1";
        const QStringList hedefFiyatlari = o->Tablo(Hedef, fiyat);
        for (const QString &f : o->Tablo(Kaynak, fiyat))
            QVERIFY2(hedefFiyatlari.contains(f), qPrintable(kod + ": " + f));
    }

    // The same file again changes nothing but dates, in few statements.
    const auto durum = [&] {
        QStringList s;
        for (const char *t : {"STOKFIYAT", "FIYATTANIM", "KDVGRUPLARI"})
            s << o->Tablo(Hedef, QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(QLatin1String(t)));
        return s << o->Tablo(Hedef, "SELECT Stok_ID,Stok_Kod,Stok_Ad,KDV,O_Kod,Raf_Yeri,ISK_Alis,Aciklama,Son_Alis_Tarih,Yr_Tarih "
                                    "FROM STOKKART ORDER BY 1");
    };
    const QStringList ilk = durum();
    BugunuAyarla(QDate(2026, 5, 15));
    Baglanti.KomutSayaciniSifirla();
    const IceAktarimOzeti ikinci = o->IceAktar(Hedef, yol);
    QVERIFY(ikinci.basarili);
    QCOMPARE(durum(), ilk);
    QCOMPARE(ikinci.kartOlusturulan, 0);
    QCOMPARE(ikinci.fiyatOlusturulan + ikinci.fiyatGuncellenen + ikinci.fiyatTanimiEklenen + ikinci.fiyatTanimiGuncellenen, 0);
    // Cards whose file dates differ are stamped again; the others stay as they were.
    QVERIFY(db.Deger(Hedef, "SELECT count(*) FROM STOKKART WHERE Deg_Tarih='2026-05-15 00:00:00'").toInt() > 0);
    QVERIFY(Baglanti.KomutSayisi() <= quint64(20 + 3 * ikinci.kartDegismeyen + 13 * ikinci.kartGuncellenen));
}

void IceAktarimTesti::denemeHicbirSeyYazmaz()
{
    o->db.Calistir(Hedef, "DELETE FROM FIYATTANIM WHERE Sira_No=5");
    const QString yol = o->Dosya(Kaynak, Yazilabilir);
    const QByteArray once = VeritabaniOzeti(o->db, Hedef);
    o->db.Baglan(Hedef);
    o->op.Bekle(Basari, Etkilesim::Simge::Yok);
    const IceAktarimOzeti ozet = AktarimDosyasiUygula(yol, true);
    QVERIFY(ozet.basarili);
    QVERIFY(ozet.kartOlusturulan > 0);
    QCOMPARE(ozet.fiyatTanimiEklenen, 1);
    QCOMPARE(Baglanti.IslemDerinligi(), 0);
    Baglanti.Kapat();
    QVERIFY(VeritabaniOzeti(o->db, Hedef) == once);
}

void IceAktarimTesti::bozukVeYabanciDosyalar_data()
{
    QTest::addColumn<QString>("durum");
    QTest::addColumn<QString>("mesaj");
    QTest::addColumn<QString>("baslik"); // %L: the number of the line the case changed, %F: the file
    QTest::addColumn<int>("yeniKart");   // cards created; with 0 the company must not change at all
    const QString kodlama = "Dosya Windows-1254 (Türkçe) kodlu bir metin değil: %1. Türkçe harfler bozulacağından dosya "
                            "okunmayacak; dosyayı Windows-1254 (ANSI) olarak kaydedip yeniden deneyin.";
    const QString deger = "Satır %L, stok kodu 10006, %1  10006";
    const QString dosyaDegil = "Dosya Bir Ravelko Dosyası Değil ";
    const QString acilamadi = "Transfer Dosyası Dosya Açılamadı.";
    const QString duzDegil = "%F bir dosya değil (klasör, aygıt ya da boru); yalnızca düz bir dosya okunur.";
    const QString adet = "STOK OKMA PARAMETRESİ ADET HATASI ";
    const auto satir = [](const char *ad, const QString &durum, const QString &mesaj, const QString &baslik = QString(), int yeni = 0) {
        QTest::newRow(ad) << durum << mesaj << baslik << yeni;
    };
    satir("cancel", "iptal", "");
    satir("no", "hayir", "");
    satir("missing file", "yok", "Yazdığınız İsimde Bir Dosya Bulunamadı");
    satir("not a transfer file", "bosluklu", dosyaDegil);
    satir("8 MB without a CR", "crsiz", dosyaDegil);
    satir("empty file", "bos", acilamadi, "Dosya sonundan sonra okuma girişimi");
    satir("FIFO without a writer", "fifo", acilamadi, duzDegil);
    satir("device", "aygit", acilamadi, duzDegil);
    satir("folder", "klasor", acilamadi, duzDegil);
    satir("UTF-8 byte-order mark", "bom", kodlama.arg("UTF-8 bayt sırası işaretiyle (BOM) başlıyor"));
    satir("end before price definitions", "kdvsonu", StokYok);
    satir("file cut in VAT section", "kdvkesik", "Sayma Hatası!!!\r" + StokYok);
    satir("bad VAT line", "kdvbozuk", "Dosyadan KDV Tanımları Okunamıyor. İşlem Devam Etmeyecek");
    satir("empty VAT section", "kdvbos", "Dosyada hiç KDV grubu yok: KDV tanımları karşılaştırılamadığından dosya okunmayacak.");
    satir("target without groups", "grupsuz", "hedef Firmanın KDV Tanımları Yapılmamış.İşle Devam Etmeyecek.");
    satir("VAT rates disagree", "oranfarki", "Bilgilerin Okunduğu Firma ile Hedef Firmanın KDV Tanımları Birbirine Uymuyor. İşlemin "
                                             "Devam Etmesi Kayıtlı Bilgilerin Bozulmasına Neden Olacağından İşlem Devam Ettirilmeyecek!!!");
    satir("bad price definition", "tanimbozuk", "Fiyat Tanımları Dosyadan Okunamadı");
    satir("caption longer than its column", "tanimuzun", "Fiyat Tanımları Hatası!!!\r" + StokYok,
          "Satır %L, 2 numaralı fiyat tanımı, FIYATTANIM.Fiyat_Aciklama sütunu: '" + QString(31, 'T')
              + "' değeri 30 karakterlik metin sütununa sığmıyor.");
    satir("no stock data", "stoksuz", StokYok);
    satir("bad count line", "adet", Format, adet);
    satir("field names without Stok_Kod", "kodsuz", Format, adet);
    satir("field name not in the target", "yoksutun", Format, adet);
    satir("SQL among the field names", "sutunsql", Format, adet);
    satir("Stok_ID among the field names", "stokid", Format, adet);
    satir("SQL after the price prefix", "oneksql", Format, "STOK OKMA PARAMETRESİ HATASI");
    satir("missing <STOKFIYAT>", "stokfiyat", Format, "STOK OKMA PARAMETRESİ HATASI");
    satir("missing <STOK>", "stok", "Dosya Formatı Hatası Dosya Ravelkoi İçin uygun Dosya Değil.", "STOK OKMUA PARAMETRESİ HATASI");
    satir("no <END>", "sonsuz", Bolge7, "Dosya sonundan sonra okuma girişimi  ");
    // A fault of the second card: the first is not written either.
    satir("department missing in target", "departman", Bolge7, "Satır %L: Hedef firmada 77 numaralı KDV departmanı yok.  10006");
    satir("SQL as the department", "departmansql", Bolge7,
          "Satır %L: 10006 stok kodlu kartın KDV departman numarası geçersiz: '1 OR 1=1'.  10006");
    satir("department past 16 bits", "departmantasma", Bolge7,
          "Satır %L: 10006 stok kodlu kartın KDV departman numarası geçersiz: '32768'.  10006");
    satir("SQL as the price level", "seviyesql", Bolge7, "Satır %L: 10006 stok kodlu kartın fiyat seviyesi geçersiz: '1 OR 1=1'.  10006");
    satir("short price line", "kisafiyat", Bolge7, "Satır %L: 10006 stok kodlu kartın bir fiyat satırında 14 değer var, 15 olmalı.  10006");
    satir("not a number", "sayidegil", Bolge7, deger.arg("Terazi_No sütunu: 'on iki' değeri tamsayı sütununa yazılamaz."));
    satir("no such date", "tarih", Bolge7, deger.arg("Son_Alis_Tarih sütunu: '31.02.2005' değeri tarih sütununa yazılamaz."));
    satir("text longer than its column", "uzunmetin", Bolge7,
          deger.arg("Stok_Ad sütunu: '" + QString(61, QChar(u'Ş')) + "' değeri 60 karakterlik metin sütununa sığmıyor."));
    satir("300 into a tinyint", "tinyint", Bolge7, deger.arg("Ana_Birim_Barkod_Tipi sütunu: '300' değeri tinyint sütununa sığmıyor (0..255)."));
    satir("-1 into a tinyint", "tinyinteksi", Bolge7, deger.arg("Ana_Birim_Barkod_Tipi sütunu: '-1' değeri tinyint sütununa sığmıyor (0..255)."));
    satir("3e9 into an int", "int", Bolge7, deger.arg("Terazi_No sütunu: '3000000000' değeri int sütununa sığmıyor (-2147483648..2147483647)."));
    satir("1e20 into decimal(18,4)", "ondalik", Bolge7,
          deger.arg("Birim2_Katsayi sütunu: '100000000000000000000' değeri decimal(18,4) sütununa sığmıyor (en çok 14 tam basamak)."));
    satir("five decimals into decimal(18,4)", "olcek", Bolge7,
          "Satır %L, stok kodu 10006, Ana_Birim_Fiyat sütunu: '1,23456' değeri decimal(18,4) sütununa sığmıyor (en çok 4 ondalık basamak).  10006");
    satir("bare line feed in a value", "satirsonu", Bolge7, deger.arg("Aciklama sütunu: değer satır sonu içeriyor."));
    satir("NUL in a value", "nul", Bolge7, deger.arg("Stok_Ad sütunu: değer denetim karakteri (kod 0) içeriyor."));
    satir("TAB in a value", "tab", Bolge7, deger.arg("Stok_Ad sütunu: değer denetim karakteri (kod 9) içeriyor."));
    satir("2 MB line", "uzunsatir", Bolge7, "Satır %L, 1048576 baytı aşıyor; bu uzunlukta bir satır aktarım dosyasında olamaz.  ");
    satir("department with blanks around", "bosluklugrup", Basari, "", 2);
}

void IceAktarimTesti::bozukVeYabanciDosyalar()
{
    QFETCH(QString, durum);
    QFETCH(QString, mesaj);
    QFETCH(QString, baslik);
    QFETCH(int, yeniKart);
    TestVeritabani &db = o->db;
    db.Calistir(Hedef, "UPDATE FIYATTANIM SET Fiyat_Aciklama='ESKİ' WHERE Sira_No=2");
    // Cards 10004 and 10006, both missing in the target.
    QString yol = o->Dosya(Kaynak, "SELECT Stok_ID FROM STOKKART WHERE Stok_Kod IN ('10004','10006') ORDER BY Stok_Kod");
    if (durum == "stoksuz")
        yol = o->Dosya(Kaynak, "SELECT Stok_ID FROM STOKKART WHERE 1=0");
    OncekiDosyaYaz(yol);
    QStringList s = o->Satirlar(yol);
    const QStringList adlar = o->KartAdlari(yol);
    QString hedef = Hedef;
    const int kdvSonu = int(s.indexOf("<FIYATTANIM>"));
    const int sutun = int(s.indexOf("<STOKKART>")) + 2;
    const int ikinci = int(s.lastIndexOf("<STOK>")) + 1;
    int degisen = -1; // the line changed, from 0
    // The second card's value of a column.
    const auto deger = [&](const QString &ad, const QString &yeni) {
        QStringList d = s[ikinci].split(';');
        d[adlar.indexOf(ad)] = yeni;
        s[ikinci] = d.join(';');
        degisen = ikinci;
    };
    const auto fiyat = [&](int yer, const QString &yeni) {
        QStringList f = s[ikinci + 1].split(';');
        f[yer] = yeni;
        s[degisen = ikinci + 1] = f.join(';');
    };
    QByteArray ham;
    if (durum == "yok") yol = o->Yol("olmayan.trn");
    else if (durum == "bosluklu") s[0] = " <KDVGRUPLARI>";
    else if (durum == "kdvsonu") s = QStringList{"<KDVGRUPLARI>", "1;A;1;0;", "<END>"};
    else if (durum == "kdvkesik") s = s.mid(0, 3);
    else if (durum == "kdvbozuk") s[2] = "2;GIDA;10";
    else if (durum == "kdvbos") s = s.mid(0, 1) + s.mid(kdvSonu);
    else if (durum == "grupsuz") db.Calistir(Hedef, "DELETE FROM KDVGRUPLARI");
    else if (durum == "oranfarki") db.Calistir(Hedef, "UPDATE KDVGRUPLARI SET KDV=KDV+1 WHERE Departman_No=(SELECT max(Departman_No) FROM KDVGRUPLARI)");
    else if (durum == "tanimbozuk") s[kdvSonu + 2] = "2;TOPTAN";
    else if (durum == "tanimuzun") s[degisen = kdvSonu + 2] = "2;" + QString(31, 'T') + ";False;";
    else if (durum == "adet") s[sutun - 1] = " otuz dokuz ";
    else if (durum == "kodsuz") s[sutun].replace("SELECT Stok_Kod,", "SELECT Stok_Kod2,");
    else if (durum == "yoksutun") s[sutun].replace("Mensei", "Yok_Sutun");
    else if (durum == "sutunsql") s[sutun].replace("Mensei", "(SELECT sysus FROM sysuslng) Mensei");
    else if (durum == "stokid") s[sutun].replace("Mensei", "Stok_ID");
    else if (durum == "oneksql") s[sutun + 2] += "; DELETE FROM STOKKART";
    else if (durum == "stokfiyat") s.removeAt(s.indexOf("<STOKFIYAT>"));
    else if (durum == "stok") s.removeAt(s.indexOf("<STOK>"));
    else if (durum == "sonsuz") s.removeLast();
    else if (durum == "departman") deger("Departman_No", "77");
    else if (durum == "departmansql") deger("Departman_No", "1 OR 1=1");
    else if (durum == "departmantasma") deger("Departman_No", "32768");
    else if (durum == "seviyesql") fiyat(0, "1 OR 1=1");
    else if (durum == "kisafiyat") s[degisen = ikinci + 1] = s[ikinci + 1].section(';', 0, -3) + ";";
    else if (durum == "sayidegil") deger("Terazi_No", "on iki");
    else if (durum == "tarih") deger("Son_Alis_Tarih", "31.02.2005");
    else if (durum == "uzunmetin") deger("Stok_Ad", QString(61, QChar(u'Ş')));
    else if (durum == "tinyint") deger("Ana_Birim_Barkod_Tipi", "300");
    else if (durum == "tinyinteksi") deger("Ana_Birim_Barkod_Tipi", "-1");
    else if (durum == "int") deger("Terazi_No", "3000000000");
    else if (durum == "ondalik") deger("Birim2_Katsayi", "100000000000000000000");
    else if (durum == "olcek") fiyat(3, "1,23456");
    else if (durum == "satirsonu") deger("Aciklama", "İKİ\nSATIR");
    else if (durum == "nul") deger("Stok_Ad", QString("A") + QChar(0) + "B");
    else if (durum == "tab") deger("Stok_Ad", "A\tB");
    else if (durum == "uzunsatir") deger("Aciklama", QString(2 << 20, 'x'));
    else if (durum == "bosluklugrup") deger("Departman_No", " " + s[ikinci].section(';', -2, -2) + " ");
    if (durum != "yok")
        o->SatirlariYaz(yol, s);
    if (durum == "bos") ham = "";
    else if (durum == "crsiz") ham = "<KDVGRUPLARI>\n" + QByteArray(8 << 20, 'x');
    else if (durum == "bom") ham = "\xEF\xBB\xBF" + *Windows1254e(s.join("\r\n") + "\r\n");
    if (!ham.isNull() || durum == "bos") {
        QFile f(yol);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(ham);
    }
    if (durum == "fifo") {
        yol = o->Yol("boru");
        QCOMPARE(::mkfifo(QFile::encodeName(yol).constData(), 0600), 0);
    } else if (durum == "aygit") {
        yol = "/dev/zero";
    } else if (durum == "klasor") {
        yol = o->program.path();
    }
    baslik.replace("%L", QString::number(degisen + 1)).replace("%F", yol);

    const QByteArray once = VeritabaniOzeti(db, hedef);
    const int kartlar = db.Deger(hedef, "SELECT count(*) FROM STOKKART").toInt();
    db.Baglan(hedef);
    SahteEtkilesim &op = o->op;
    op.dosyalar.enqueue(durum == "iptal" ? std::nullopt : std::optional<QString>(yol));
    if (durum != "iptal")
        op.Bekle(Onay, Etkilesim::Simge::Soru, durum == "hayir" ? Etkilesim::Hayir : Etkilesim::Evet);
    // What the import tells after the consent (a preview of the file tells the same).
    const auto sonuc = [&] {
        if (mesaj.isEmpty())
            return;
        const bool bilgi = mesaj.startsWith("Sayma") || mesaj.startsWith("Fiyat Tanımları Hatası") || mesaj == StokYok
                           || mesaj.startsWith("hedef Firmanın");
        op.Bekle(mesaj, mesaj == Basari ? Etkilesim::Simge::Yok : bilgi ? Etkilesim::Simge::Bilgi : Etkilesim::Simge::Kritik);
        // Region 3 and 7 messages are followed by the error description alone.
        if (mesaj == Bolge7)
            op.Bekle(baslik.left(baslik.lastIndexOf("  ")), Etkilesim::Simge::Yok);
        else if (mesaj.startsWith("Sayma"))
            op.Bekle(QStringLiteral("Dosya sonundan sonra okuma girişimi"), Etkilesim::Simge::Yok);
    };
    sonuc();
    if (yeniKart > 0) // the change report is offered after the import's messages
        op.Bekle(RaporSorusu, Etkilesim::Simge::Soru, Etkilesim::Hayir);
    QElapsedTimer sure;
    sure.start();
    DosyadanAl();
    QVERIFY2(sure.elapsed() < 3000, qPrintable(QString::number(sure.elapsed())));

    QCOMPARE(OncekiDosyaOku(), yol);
    if (!mesaj.isEmpty() && mesaj != Basari)
        QCOMPARE(op.kutular[1].baslik, baslik);
    QVERIFY(!op.frameBarGorunur);
    QCOMPARE(db.Deger(hedef, "SELECT count(*) FROM STOKKART").toInt(), kartlar + yeniKart);
    if (yeniKart == 0)
        QVERIFY2(VeritabaniOzeti(db, hedef) == once, "a refused file changed the company");
    QCOMPARE(db.Deger("Defination_DB", "SELECT count(*) FROM sysuslng").toInt(), 2);

    // The preview of a file the import refuses shows the import's messages, and no window.
    if (mesaj.isEmpty() || yeniKart > 0 || durum == "fifo")
        return;
    op.dosyalar.enqueue(yol);
    sonuc();
    Onizle();
    QVERIFY(VeritabaniOzeti(db, hedef) == once);
}

void IceAktarimTesti::kartIslemiTekBasinaGeriAlinir()
{
    // The database refuses the third card's first price row, after its card row was written.
    TestVeritabani &db = o->db;
    const QString yol = o->Dosya(Kaynak, "SELECT Stok_ID FROM STOKKART WHERE Stok_Kod IN ('10004','10006','10008') ORDER BY Stok_Kod");
    db.Calistir(Hedef, "DELETE FROM STOKKART WHERE Stok_Kod IN ('10004','10006','10008')");
    db.ReddedenTetikleyici(Hedef, "ret", "STOKFIYAT", "INSERT", "NEW.Stok_ID=(SELECT Stok_ID FROM STOKKART WHERE Stok_Kod='10008')",
                           "fiyat reddedildi");
    db.Baglan(Hedef);
    o->op.Bekle(Bolge7, Etkilesim::Simge::Kritik);
    o->op.Bekle(QRegularExpression(".*fiyat reddedildi.*", QRegularExpression::DotMatchesEverythingOption), Etkilesim::Simge::Yok);
    const IceAktarimOzeti ozet = AktarimDosyasiUygula(yol);
    QVERIFY(!ozet.basarili);
    QCOMPARE(ozet.kartOlusturulan, 2);
    // The trigger's own reason, also where its error ended the whole transaction.
    QVERIFY(o->op.kutular[0].baslik.endsWith("  10008"));
    QVERIFY2(o->op.kutular[0].baslik.contains("fiyat reddedildi"), qPrintable(o->op.kutular[0].baslik));
    QCOMPARE(o->Tablo(Hedef, "SELECT Stok_Kod FROM STOKKART WHERE Stok_Kod IN ('10004','10006','10008') ORDER BY 1"),
             (QStringList{"10004", "10006"}));
    QCOMPARE(db.Deger(Hedef, "SELECT count(*) FROM STOKFIYAT f JOIN STOKKART k ON k.Stok_ID=f.Stok_ID WHERE k.Stok_Kod='10006'").toInt(), 3);
    QCOMPARE(Baglanti.IslemDerinligi(), 0);
}

void IceAktarimTesti::bosDegerlerTarihteNullMetindeBos()
{
    // 10003 stands the same in both companies; the source loses a date, texts and a number.
    o->db.Calistir(Kaynak, "UPDATE STOKKART SET Son_Alis_Tarih=NULL, O_Kod2=NULL, Raf_Yeri=NULL, ISK_Alis=NULL WHERE Stok_Kod='10003'");
    o->db.Calistir(Hedef, "UPDATE STOKKART SET ISK_Alis=4 WHERE Stok_Kod='10003'");
    const QString yol = o->Dosya(Kaynak, "SELECT Stok_ID FROM STOKKART WHERE Stok_Kod='10003'");
    QVERIFY(o->IceAktar(Hedef, yol).basarili);
    // (a blank char(n) is empty once its padding goes)
    QCOMPARE(o->Tablo(Hedef, "SELECT Son_Alis_Tarih, O_Kod2, RTRIM(Raf_Yeri), ISK_Alis, Deg_Tarih FROM STOKKART WHERE Stok_Kod='10003'"),
             QStringList{"NULL|||0|2026-05-14 00:00:00"});
}

void IceAktarimTesti::kartBasinaKomutSayisiSinirda()
{
    // Ten price levels; the target's shared cards: some differ in the card and every price,
    // one in one price only, the rest are identical.
    delete o;
    o = new AktarimOrtami(24, 10);
    TestVeritabani &db = o->db;
    db.Calistir(Hedef, "UPDATE STOKKART SET Stok_Ad=" + db.Birlestir({"Stok_Ad", "' X'"}) + " WHERE Stok_Kod IN ('10001','10003')");
    db.Calistir(Hedef, "UPDATE STOKFIYAT SET Ana_Birim_Fiyat=Ana_Birim_Fiyat+1, Birim2_Fiyat_Alis=7 WHERE Stok_ID IN "
                       "(SELECT Stok_ID FROM STOKKART WHERE Stok_Kod IN ('10001','10003'))");
    // 10005: its prices alike on both sides but for one column of level 4 and another of level 6.
    const QString kart5 = " WHERE Stok_ID IN (SELECT Stok_ID FROM STOKKART WHERE Stok_Kod='10005')";
    for (const QString &firma : {Kaynak, Hedef})
        db.Calistir(firma, "UPDATE STOKFIYAT SET Ana_Birim_Fiyat=10, Birim2_Fiyat=20, Birim3_Fiyat=0, Dv_Ana_Birim_Fiyat=1, "
                           "Dv_Birim2_Fiyat=0, Dv_Birim3_Fiyat=0, Ana_Birim_Fiyat_Alis=8, Birim2_Fiyat_Alis=0, Birim3_Fiyat_Alis=0, "
                           "Dv_Ana_Birim_Fiyat_Alis=0, Dv_Birim2_Fiyat_Alis=0, Dv_Birim3_Fiyat_Alis=0" + kart5);
    db.Calistir(Hedef, "UPDATE STOKFIYAT SET Dv_Ana_Birim_Fiyat=3" + kart5 + " AND Fiyat_Sira_No=4");
    db.Calistir(Hedef, "UPDATE STOKFIYAT SET Ana_Birim_Fiyat=21" + kart5 + " AND Fiyat_Sira_No=6");
    for (const QString &firma : {Kaynak, Hedef})
        db.Calistir(firma, "UPDATE STOKKART SET Deg_Tarih='2020-01-01 00:00:00' WHERE Stok_Kod='10005'");
    const QString yol = o->Dosya(Kaynak, Yazilabilir);

    db.Baglan(Hedef);
    Baglanti.KomutSayaciniSifirla();
    const IceAktarimOzeti ozet = o->IceAktar(Hedef, yol);
    QVERIFY(ozet.basarili);
    QVERIFY(ozet.kartOlusturulan > 0 && ozet.kartGuncellenen >= 3 && ozet.kartDegismeyen > 0);
    QVERIFY(ozet.komutOlusturulan.toplam + ozet.komutGuncellenen.toplam + ozet.komutDegismeyen.toplam <= Baglanti.KomutSayisi());
    QVERIFY2(ozet.komutOlusturulan.enCok <= 13, qPrintable(QString::number(ozet.komutOlusturulan.enCok)));
    QVERIFY2(ozet.komutGuncellenen.enCok <= 13, qPrintable(QString::number(ozet.komutGuncellenen.enCok)));
    QVERIFY2(ozet.komutDegismeyen.enCok <= 3, qPrintable(QString::number(ozet.komutDegismeyen.enCok)));
    QVERIFY(ozet.komutOlusturulan.toplam >= quint64(2 * ozet.kartOlusturulan));
    // A card whose only change is a price is stamped all the same.
    QCOMPARE(db.Deger(Hedef, "SELECT Deg_Tarih FROM STOKKART WHERE Stok_Kod='10005'").toString(), QStringLiteral("2026-05-14 00:00:00"));

    // Written in few statements, the prices are still the source's, level by level.
    const QString fiyat = "SELECT k.Stok_Kod,f.Fiyat_Sira_No,f.Fiyat_Aciklama,f.Ana_Birim_Fiyat,f.Dv_Ana_Birim_Fiyat,"
                          "f.Birim2_Fiyat_Alis FROM STOKFIYAT f JOIN STOKKART k ON k.Stok_ID=f.Stok_ID WHERE k.Stok_Kod IN "
                          "('10001','10003','10005') ORDER BY 1,2";
    QCOMPARE(o->Tablo(Hedef, fiyat), o->Tablo(Kaynak, fiyat));
    QCOMPARE(o->Tablo(Kaynak, fiyat).size(), 30);
    // The same file again: every card unchanged, at most three statements each.
    const IceAktarimOzeti ikinci = o->IceAktar(Hedef, yol);
    QVERIFY(ikinci.basarili);
    QCOMPARE(ikinci.kartDegismeyen, ozet.kartOlusturulan + ozet.kartGuncellenen + ozet.kartDegismeyen);
    QVERIFY(ikinci.komutDegismeyen.enCok <= 3);
}

void IceAktarimTesti::ayniSeviyeninSatirlari()
{
    // Each card line followed by its price lines in reverse order, the first one again with
    // another sales price: the second line of a level corrects the first, for a new card as
    // for a stored one, and a new card's rows are made in the order of the lines.
    TestVeritabani &db = o->db;
    const QString yol = o->Dosya(Kaynak, "SELECT Stok_ID FROM STOKKART WHERE Stok_Kod IN ('10003','10004') ORDER BY Stok_Kod");
    db.Calistir(Hedef, "DELETE FROM STOKKART WHERE Stok_Kod='10004'");
    QStringList satirlar = o->Satirlar(yol), yeni;
    QStringList seviyeler;
    for (int i = 0; i < satirlar.size(); ++i) {
        yeni << satirlar[i];
        if (satirlar[i] != QStringLiteral("<STOK>"))
            continue;
        yeni << satirlar[++i];
        QStringList fiyatlar;
        while (satirlar[i + 1] != "<STOK>" && satirlar[i + 1] != "<END>")
            fiyatlar.prepend(satirlar[++i]);
        QStringList degerler = fiyatlar.first().split(';');
        degerler[3] = QStringLiteral("999,5");
        yeni << fiyatlar << degerler.join(';');
        seviyeler.clear();
        for (const QString &f : fiyatlar)
            seviyeler << f.section(';', 0, 0);
    }
    o->SatirlariYaz(yol, yeni);
    const IceAktarimOzeti ozet = o->IceAktar(Hedef, yol);
    QVERIFY(ozet.basarili);
    QCOMPARE(ozet.kartOlusturulan, 1);
    QCOMPARE(ozet.fiyatOlusturulan, 3);
    QCOMPARE(o->Tablo(Hedef, QStringLiteral("SELECT k.Stok_Kod,f.Ana_Birim_Fiyat FROM STOKFIYAT f JOIN STOKKART k ON k.Stok_ID=f.Stok_ID "
                                            "WHERE k.Stok_Kod IN ('10003','10004') AND f.Fiyat_Sira_No=%1 ORDER BY 1").arg(seviyeler.first())),
             (QStringList{"10003|999.5", "10004|999.5"}));
    QCOMPARE(o->Tablo(Hedef, "SELECT f.Fiyat_Sira_No FROM STOKFIYAT f JOIN STOKKART k ON k.Stok_ID=f.Stok_ID WHERE k.Stok_Kod='10004' "
                             "ORDER BY f.Fiyat_ID"),
             seviyeler);
}

void IceAktarimTesti::sayiBicimleriOkunur_data()
{
    QTest::addColumn<QString>("fiyat");
    QTest::addColumn<QString>("terazi");
    QTest::addColumn<QString>("beklenen"); // price|scale number as stored, empty when refused
    QTest::newRow("isaretli") << "+12,5" << "+4" << "12.5|4";
    QTest::newRow("eksi kesir") << "-,5" << "-3" << "-0.5|-3";
    QTest::newRow("virgul sonda") << "3," << "4,0" << "3|4";
    QTest::newRow("sifirla baslar") << "0012" << "007" << "12|7";
    QTest::newRow("bosluklu") << " 7,25 " << " 5 " << "7.25|5";
    QTest::newRow("smallint sinirda") << "1" << "-32768" << "1|-32768";
    QTest::newRow("iki virgul") << "1,2,3" << "1" << "";
    QTest::newRow("kesirli tamsayi") << "1" << "4,5" << "";
    QTest::newRow("isaret tek") << "-" << "1" << "";
}

void IceAktarimTesti::sayiBicimleriOkunur()
{
    // A new card's price and whole number written from the file's texts, plain or not.
    QFETCH(QString, fiyat);
    QFETCH(QString, terazi);
    QFETCH(QString, beklenen);
    o->db.Calistir(Hedef, "DELETE FROM STOKKART WHERE Stok_Kod='10004'");
    const QString yol = Degistir("10004", [&](QStringList &s, int kart) {
        QStringList k = s[kart].split(';');
        k[o->KartAdlari(o->Yol("t.trn")).indexOf("Terazi_No")] = terazi;
        s[kart] = k.join(';');
        QStringList f = s[kart + 1].split(';');
        f[3] = fiyat;
        s[kart + 1] = f.join(';');
    });
    o->db.Baglan(Hedef);
    if (beklenen.isEmpty()) {
        o->op.Bekle(Bolge7, Etkilesim::Simge::Kritik);
        o->op.Bekle(QRegularExpression(".* değeri .* sütununa yazılamaz\\."), Etkilesim::Simge::Yok);
    } else {
        o->op.Bekle(Basari, Etkilesim::Simge::Yok);
    }
    QCOMPARE(AktarimDosyasiUygula(yol).basarili, !beklenen.isEmpty());
    QCOMPARE(o->Tablo(Hedef, "SELECT f.Ana_Birim_Fiyat,k.Terazi_No FROM STOKKART k JOIN STOKFIYAT f ON f.Stok_ID=k.Stok_ID "
                             "WHERE k.Stok_Kod='10004'"),
             beklenen.isEmpty() ? QStringList() : QStringList{beklenen});
}

void IceAktarimTesti::dusmancaDegerler_data()
{
    QTest::addColumn<QString>("deger");
    QTest::addColumn<QString>("neden"); // why the export refuses it, empty when it transfers
    const QString uzun = QString(61, QChar(u'Ş'));
    QTest::newRow("apostrophe") << "O'NEIL ''X" << "";
    QTest::newRow("semicolon") << "A;B" << "değer \";\" içeriyor.";
    QTest::newRow("percent") << "%50 İNDİRİM_%" << "";
    QTest::newRow("comments") << "/* Z */ ' OR 1=1 -- X" << "";
    QTest::newRow("nul") << QString("A") + QChar(0) + "B" << "değer denetim karakteri (kod 0) içeriyor.";
    QTest::newRow("longer than its column") << uzun << "";
    QTest::newRow("turkish letters") << "çğıİöşü ÇĞIÖŞÜ" << "";
    QTest::newRow("outside windows-1254") << "ÇAY \u4e2d\u0100" << "değer Windows-1254 kod sayfasında olmayan bir karakter içeriyor.";
    QTest::newRow("euro sign is in windows-1254") << "FİYAT €" << "";
}

void IceAktarimTesti::dusmancaDegerler()
{
    // A hostile value in a card's name: refused by the export with the card and column named,
    // or carried and stored exactly; one the target's column cannot hold is refused by the
    // import, the card not written. No other card changes.
    QFETCH(QString, deger);
    QFETCH(QString, neden);
    TestVeritabani &db = o->db;
    if (TestVeritabani::SqlServerMi() && deger.size() > 60)
        QSKIP("SQL Server: a name longer than its column cannot be stored in the source");
    if (deger.contains(QChar(0)))
        TEST_SUNUCUSU_FARKI("a text cannot hold a NUL character");
    db.Calistir(Hedef, "DELETE FROM STOKKART WHERE Stok_Kod='10004'");
    db.CalistirDegerle(Kaynak, "UPDATE STOKKART SET Stok_Ad=? WHERE Stok_Kod='10004'", deger);
    const auto once = KartDurumlari(db, Hedef);
    const QString ad = "SELECT Stok_Ad FROM STOKKART WHERE Stok_Kod='10004'";
    try {
        const QString yol = o->Dosya(Kaynak, "SELECT Stok_ID FROM STOKKART WHERE Stok_Kod='10004'");
        QVERIFY2(neden.isEmpty(), "the export wrote a value it must refuse");
        if (deger.size() > 60) {
            db.Baglan(Hedef);
            o->op.Bekle(Bolge7, Etkilesim::Simge::Kritik);
            o->op.Bekle(QRegularExpression(".*Stok_Ad sütunu: .* değeri 60 karakterlik metin sütununa sığmıyor\\."), Etkilesim::Simge::Yok);
            QVERIFY(!AktarimDosyasiUygula(yol).basarili);
            QVERIFY(o->op.kutular.last().metin.startsWith("Satır "));
            QVERIFY(db.Deger(Hedef, ad).isNull());
        } else {
            QVERIFY(o->IceAktar(Hedef, yol).basarili);
            QCOMPARE(db.Deger(Hedef, ad).toString(), deger);
        }
    } catch (const Hata &hata) {
        QCOMPARE(hata.Aciklama(), "Stok kodu 10004, Stok_Ad sütunu: " + neden);
    }
    const auto sonra = KartDurumlari(db, Hedef);
    for (auto it = once.cbegin(); it != once.cend(); ++it)
        QCOMPARE(sonra.value(it.key()), it.value());
}

void IceAktarimTesti::degisiklikRaporu()
{
    // A stored card that differs (10003, a value with a quote), a missing one (10004), a
    // renamed level and a missing one: the report is this file, on either backend. A row
    // created is one line.
    TestVeritabani &db = o->db;
    db.Calistir(Hedef, "UPDATE FIYATTANIM SET Fiyat_Aciklama='ESKİ' WHERE Sira_No=2");
    db.Calistir(Hedef, "DELETE FROM FIYATTANIM WHERE Sira_No=3");
    db.Calistir(Hedef, "UPDATE STOKKART SET Raf_Yeri='Z-9', Stok_Ad='ESKİ; AD' WHERE Stok_Kod='10003'");
    db.Calistir(Hedef, "UPDATE STOKFIYAT SET Ana_Birim_Fiyat=1.5 WHERE Fiyat_Sira_No=1 AND Stok_ID IN "
                       "(SELECT Stok_ID FROM STOKKART WHERE Stok_Kod='10003')");
    db.Calistir(Hedef, "DELETE FROM STOKKART WHERE Stok_Kod='10004'");
    db.Calistir(Kaynak, "UPDATE STOKKART SET Raf_Yeri='A \"1\"' WHERE Stok_Kod='10003'");
    const QString yol = o->Dosya(Kaynak, "SELECT Stok_ID FROM STOKKART WHERE Stok_Kod IN ('10003','10004','10005') ORDER BY Stok_Kod",
                                 AktarimOrtami::Secim(true, false, {1, 3}));
    db.Baglan(Hedef);
    SimdiyiAyarla(QDateTime(QDate(2026, 5, 14), QTime(9, 30, 15)));
    FirmaKodu = QStringLiteral("02");
    FirmaAdi = QStringLiteral("KADIKÖY ŞUBE");
    const QString raporYolu = o->Yol("rapor.csv");
    RaporDosyasi rapor(raporYolu, RaporFirmasi());
    QCOMPARE(rapor.Ac(), QString());
    DegisiklikToplayici toplayici(rapor);
    o->op.Bekle(Basari, Etkilesim::Simge::Yok);
    QVERIFY(AktarimDosyasiUygula(yol, false, &toplayici).basarili);
    QCOMPARE(rapor.Bitir(), QString());
    SimdiyiAyarla(QDateTime());
    QFile f(raporYolu);
    QVERIFY(f.open(QIODevice::ReadOnly));
    // The date, time and company of every line stand before each of these.
    const QStringList satirlar = QStringLiteral(R"(;;Fiyat Tanımı 2;Fiyat_Aciklama;ESKİ;TOPTAN
;;Fiyat Tanımı 3;;;Oluşturuldu
10003;BEYAZ PEYNİR 250 GR;Kart;Stok_Ad;"ESKİ; AD";BEYAZ PEYNİR 250 GR
10003;BEYAZ PEYNİR 250 GR;Kart;O_Kod;ŞUBE;RAF-B
10003;BEYAZ PEYNİR 250 GR;Kart;ISK_Alis;14;0
10003;BEYAZ PEYNİR 250 GR;Kart;Raf_Yeri;Z-9;"A ""1"""
10003;BEYAZ PEYNİR 250 GR;Kart;Deg_Tarih;06.01.2024;14.05.2026
10003;BEYAZ PEYNİR 250 GR;Fiyat 1;Ana_Birim_Fiyat;1,5;198,45
10003;BEYAZ PEYNİR 250 GR;Fiyat 1;Birim2_Fiyat;3929,4;3572,1
10003;BEYAZ PEYNİR 250 GR;Fiyat 1;Dv_Ana_Birim_Fiyat;5,98;5,44
10003;BEYAZ PEYNİR 250 GR;Fiyat 3;Ana_Birim_Fiyat;174,64;158,76
10003;BEYAZ PEYNİR 250 GR;Fiyat 3;Birim2_Fiyat;3143,52;2857,68
10003;BEYAZ PEYNİR 250 GR;Fiyat 3;Dv_Ana_Birim_Fiyat;4,78;4,35
10004;KAŞAR PEYNİRİ 250 GR;Kart;;;Oluşturuldu
10004;KAŞAR PEYNİRİ 250 GR;Fiyat 1;;;Oluşturuldu
10004;KAŞAR PEYNİRİ 250 GR;Fiyat 3;;;Oluşturuldu)").split(QLatin1Char('\n'));
    QByteArray beklenen = "Tarih;Firma;Stok Kodu;Stok Adı;Kayıt;Sütun;Eski Değer;Yeni Değer\r\n";
    for (const QString &satir : satirlar)
        beklenen += "14.05.2026 09:30:15;02 - KADIKÖY ŞUBE;" + satir.toUtf8() + "\r\n";
    QCOMPARE(f.readAll(), "\xEF\xBB\xBF" + beklenen);
}

void IceAktarimTesti::onizlemeDegistirmezAyniSonucuVerir()
{
    TestVeritabani &db = o->db;
    SahteEtkilesim &op = o->op;
    db.Calistir(Hedef, "DELETE FROM FIYATTANIM WHERE Sira_No=5");
    db.Calistir(Hedef, "UPDATE STOKKART SET Raf_Yeri='Z-9' WHERE Stok_Kod='10003'");
    // 10003 differs, 10004 and 10006 are missing in the target.
    const QString yol = o->Dosya(Kaynak, "SELECT Stok_ID FROM STOKKART WHERE Stok_Kod IN ('10003','10004','10005','10006') ORDER BY Stok_Kod");
    SimdiyiAyarla(QDateTime(QDate(2026, 5, 14), QTime(9, 30, 15)));
    const QByteArray once = VeritabaniOzeti(db, Hedef);
    db.Baglan(Hedef);

    // The preview: the window sees every card of the file; its table is saved as a report.
    IceAktarimOzeti onizlenen;
    op.dosyalar.enqueue(yol);
    op.onizlemede = [&](const Onizleme &on) {
        onizlenen = on.ozet;
        [&] {
            QCOMPARE(int(on.model->Kartlar().size()), 1 + 4); // the new level and the cards
            op.dosyalar.enqueue(o->Yol("onizleme.csv"));
            OnizlemeyiKaydet(on);
        }();
        return false;
    };
    Onizle();
    QCOMPARE(op.onizlemeSayisi, 1);
    QCOMPARE(Baglanti.IslemDerinligi(), 0);
    QVERIFY2(VeritabaniOzeti(db, Hedef) == once, "the preview changed the company");

    // The real import: the same figures, the same report, kept in the data folder and
    // offered for saving.
    EskiRaporlariSil(0);
    op.Bekle(Basari, Etkilesim::Simge::Yok);
    op.Bekle(RaporSorusu, Etkilesim::Simge::Soru, Etkilesim::Evet);
    op.dosyalar.enqueue(o->Yol("kaydedilen.csv"));
    const IceAktarimOzeti gercek = RaporluAktar(yol);
    const auto sayilar = [](const IceAktarimOzeti &oz) {
        return QList<int>{oz.kartOlusturulan, oz.kartGuncellenen, oz.kartDegismeyen, oz.fiyatOlusturulan, oz.fiyatGuncellenen,
                          oz.fiyatTanimiEklenen, oz.fiyatTanimiGuncellenen};
    };
    QCOMPARE(sayilar(onizlenen), sayilar(gercek));
    QVERIFY(gercek.kartGuncellenen > 0 && gercek.kartOlusturulan > 0 && gercek.fiyatTanimiEklenen == 1);
    const auto oku = [](const QString &yol) {
        QFile f(yol);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QStringList tutulan = QDir(RaporKlasoru()).entryList({"rapor-*.csv"}, QDir::Files);
    QCOMPARE(tutulan, QStringList{"rapor-20260514-093015-001.csv"});
    QVERIFY(oku(o->Yol("onizleme.csv")).contains("Z-9"));
    QCOMPARE(oku(o->Yol("kaydedilen.csv")), oku(o->Yol("onizleme.csv")));
    QCOMPARE(oku(QDir(RaporKlasoru()).filePath(tutulan[0])), oku(o->Yol("onizleme.csv")));

    // Only the last 20 are kept.
    for (int i = 0; i < 22; ++i)
        QFile(YeniRaporYolu()).open(QIODevice::WriteOnly);
    EskiRaporlariSil();
    const QStringList kalan = QDir(RaporKlasoru()).entryList({"rapor-*.csv"}, QDir::Files, QDir::Name);
    QCOMPARE(kalan.size(), 20);
    QCOMPARE(kalan.first(), QStringLiteral("rapor-20260514-093015-004.csv"));
    SimdiyiAyarla(QDateTime());

    // A data folder that cannot take a report: the import runs all the same, and says so.
    QVERIFY(QDir(RaporKlasoru()).removeRecursively());
    QVERIFY(QFile(RaporKlasoru()).open(QIODevice::WriteOnly)); // a file where the folder goes
    op.Bekle(Basari, Etkilesim::Simge::Yok);
    op.Bekle(QRegularExpression("Değişiklik Raporu Yazılamadı\\.\r.+", QRegularExpression::DotMatchesEverythingOption),
             Etkilesim::Simge::Kritik);
    QVERIFY(RaporluAktar(yol).basarili);
    QVERIFY(QFile::remove(RaporKlasoru()));
}

void IceAktarimTesti::baskaSutunSirasiGidisDonus()
{
    // The end state of an import from a source in the usual column order, on a copy.
    TestVeritabani &db = o->db;
    const QString olagan = o->Dosya(Kaynak, Yazilabilir, AktarimOrtami::Secim(true, true), "olagan.trn");
    const QString kopya = Hedef + QStringLiteral("_K");
    db.Kopyala(Hedef, kopya);
    QVERIFY(o->IceAktar(kopya, olagan).basarili);
    Baglanti.Kapat();
    const auto beklenen = KartDurumlari(db, kopya);

    // The source's STOKKART rebuilt with the name first and the code further on.
    const QStringList sira = QStringList{"Stok_ID", "Stok_Ad", "KDV", "Grup_Kod", "Stok_Kod"};
    QStringList sutunlar;
    db.Satirlar(Kaynak, "SELECT * FROM STOKKART WHERE 1=0", &sutunlar);
    QStringList yeniSira = sira;
    for (const QString &c : sutunlar)
        if (!sira.contains(c))
            yeniSira << c;
    if (TestVeritabani::SqlServerMi()) {
        db.Calistir(Kaynak, QStringLiteral("SELECT %1 INTO STOKKART_Y FROM STOKKART").arg(yeniSira.join(',')));
        db.Calistir(Kaynak, "DROP TABLE STOKKART");
        db.Calistir(Kaynak, "EXEC sp_rename 'STOKKART_Y', 'STOKKART', 'OBJECT'");
    } else {
        QHash<QString, QString> tanimlar;
        for (const auto &c : db.Satirlar(Kaynak, "PRAGMA table_info(STOKKART)"))
            tanimlar.insert(c[1].toString(), c[1].toString() + ' ' + c[2].toString());
        QStringList yeniTanim;
        for (const QString &c : yeniSira)
            yeniTanim << (c == "Stok_ID" ? QStringLiteral("Stok_ID INTEGER PRIMARY KEY AUTOINCREMENT") : tanimlar.value(c));
        db.Calistir(Kaynak, "CREATE TABLE STOKKART_Y (" + yeniTanim.join(',') + ")");
        db.Calistir(Kaynak, QStringLiteral("INSERT INTO STOKKART_Y (%1) SELECT %1 FROM STOKKART").arg(yeniSira.join(',')));
        db.Calistir(Kaynak, "DROP TABLE STOKKART");
        db.Calistir(Kaynak, "ALTER TABLE STOKKART_Y RENAME TO STOKKART");
    }
    const QString yol = o->Dosya(Kaynak, Yazilabilir);
    QVERIFY(o->Satirlar(yol)[o->Satirlar(yol).indexOf("<STOKKART>") + 2].startsWith("SELECT Stok_Ad,STOKKART.KDV,Grup_Kod,Stok_Kod,"));

    const int kartlar = db.Deger(Hedef, "SELECT count(*) FROM STOKKART").toInt();
    const IceAktarimOzeti ilk = o->IceAktar(Hedef, yol);
    QVERIFY(ilk.basarili);
    QCOMPARE(KartDurumlari(db, Hedef), beklenen);
    // Again: every card found by its code, none made twice.
    const IceAktarimOzeti ikinci = o->IceAktar(Hedef, yol);
    QCOMPARE(ikinci.kartOlusturulan, 0);
    QCOMPARE(ikinci.kartDegismeyen, ilk.kartOlusturulan + ilk.kartGuncellenen + ilk.kartDegismeyen);
    QCOMPARE(db.Deger(Hedef, "SELECT count(*) FROM STOKKART").toInt(), kartlar + ilk.kartOlusturulan);
}

QTEST_GUILESS_MAIN(IceAktarimTesti)
#include "tst_iceaktarim.moc"
