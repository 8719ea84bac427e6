#include "common/KodSayfasi.h"
#include "common/Saat.h"
#include "filter/AktarimSecimi.h"
#include "filter/FiltreTablosu.h"
#include "filter/SonucListesi.h"
#include "filter/SorguOlusturucu.h"
#include "filter/StokListesi.h"
#include "state/Degiskenler.h"
#include "state/Hata.h"
#include "transfer/AktarimDosyasi.h"
#include "transfer/DosyaOlustur.h"
#include "transfer/DosyadanAl.h"
#include "support/AktarimBeklentileri.h"
#include "support/KartDurumlari.h"
#include "support/SahteEtkilesim.h"
#include "support/TestVeritabani.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Degiskenler;
using namespace AktarimBeklentileri;

namespace {
const QString Turkce = QStringLiteral("çğıİöşü ÇĞIÖŞÜ");

// Values that have broken statements, files or code pages elsewhere.
void Degerler()
{
    QTest::addColumn<QString>("deger");
    QTest::addColumn<bool>("aktarilir"); // false: refused with a message
    QTest::newRow("apostrophe") << "O'NEIL ''X" << true;
    QTest::newRow("semicolon") << "A;B" << false;
    QTest::newRow("percent") << "%50 İNDİRİM_%" << true;
    QTest::newRow("line comment") << "X -- Y" << true;
    QTest::newRow("block comment") << "/* Z */ ' OR 1=1 --" << true;
    QTest::newRow("nul") << QString("A") + QChar(0) + "B" << false;
    QTest::newRow("longer than its column") << QString(61, QChar(u'Ş')) << false;
    QTest::newRow("turkish letters") << Turkce << true;
    QTest::newRow("outside windows-1254") << "ÇAY \u4e2d\u0100" << false;
    QTest::newRow("euro sign is in windows-1254") << "FİYAT €" << true;
}
} // namespace

// Hostile values through export, import and the stock-list statement: each transfers or is
// listed exactly, or is refused with a message, and no other row changes.
class DusmancaDegerlerTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void disaVeIceAktarim_data() { Degerler(); }
    void disaVeIceAktarim();
    void dosyadakiDeger_data() { Degerler(); }
    void dosyadakiDeger();
    void filtreHucresi_data() { Degerler(); }
    void filtreHucresi();

private:
    QString DisaAktar(QString *hata = nullptr);
    IceAktarimOzeti IceAktar(const QString &yol);
    QString Ad(const QString &veritabani, const QString &kod);

    SahteEtkilesim *m_op = nullptr;
    TestVeritabani *m_db = nullptr;
};

void DusmancaDegerlerTesti::init()
{
    m_op = new SahteEtkilesim;
    m_db = new TestVeritabani;
    m_db->DemoYaz(20, 2);
    BugunuAyarla(QDate(2026, 5, 14));
    // The two cards the tests carry, missing in the target.
    m_db->Calistir(Hedef, "DELETE FROM STOKKART WHERE Stok_Kod IN ('10004','10006')");
}

void DusmancaDegerlerTesti::cleanup()
{
    Sifirla();
    delete m_db;
    delete m_op;
    BugunuAyarla(QDate());
}

QString DusmancaDegerlerTesti::DisaAktar(QString *hata)
{
    m_db->Baglan(Kaynak);
    SonucListesi liste;
    const auto satirlar = m_db->Satirlar(Kaynak, "SELECT Stok_ID FROM STOKKART WHERE Stok_Kod IN ('10004','10006') ORDER BY Stok_Kod");
    liste.SetRows(int(satirlar.size()) + 1);
    for (int r = 0; r < satirlar.size(); ++r)
        liste.SetTextMatrix(r + 1, liste.ColIndex("Stok_ID"), satirlar[r][0].toString());
    AktarimSecimi secim;
    secim.Satis_Dahil = secim.Alis_Dahil = true;
    for (int i = 1; i <= 10; ++i)
        secim.Fiyat_Secimi[size_t(i)] = true;
    const QString yol = QDir(m_db->Klasor()).filePath("t.trn");
    QFile::remove(yol);
    try {
        AktarimDosyasiYaz(yol, liste, secim);
    } catch (const Hata &h) {
        if (hata)
            *hata = h.Aciklama();
    }
    Baglanti.Kapat();
    return yol;
}

IceAktarimOzeti DusmancaDegerlerTesti::IceAktar(const QString &yol)
{
    m_db->Baglan(Hedef);
    m_op->kutular.clear();
    const IceAktarimOzeti ozet = AktarimDosyasiUygula(yol);
    Baglanti.Kapat();
    return ozet;
}

QString DusmancaDegerlerTesti::Ad(const QString &veritabani, const QString &kod)
{
    const QVariant d = m_db->Deger(veritabani, QStringLiteral("SELECT Stok_Ad FROM STOKKART WHERE Stok_Kod='%1'").arg(kod));
    return d.isNull() ? QStringLiteral("<yok>") : d.toString();
}

void DusmancaDegerlerTesti::disaVeIceAktarim()
{
    QFETCH(QString, deger);
    QFETCH(bool, aktarilir);
    // The value in a card's name, a price level's caption and a stock price's caption.
    // Stored exactly, whatever the value holds, where the column can hold it.
    if (TestVeritabani::SqlServerMi() && deger.size() > 60)
        QSKIP("SQL Server: a name longer than its column cannot be stored in the source");
    if (deger.contains(QChar(0)))
        TEST_SUNUCUSU_FARKI("a text cannot hold a NUL character");
    m_db->CalistirDegerle(Kaynak, "UPDATE STOKKART SET Stok_Ad=? WHERE Stok_Kod='10004'", deger);
    QCOMPARE(Ad(Kaynak, "10004"), deger);
    const auto once = KartDurumlari(*m_db, Hedef);

    QString hata;
    const QString yol = DisaAktar(&hata);
    if (!hata.isEmpty()) {
        // Refused at the export: a clear reason, and no file.
        QVERIFY(!aktarilir);
        QVERIFY2(hata.contains("10004"), qPrintable(hata));
        QVERIFY(!QFile::exists(yol));
        return;
    }
    const IceAktarimOzeti ozet = IceAktar(yol);
    const auto sonra = KartDurumlari(*m_db, Hedef);
    if (aktarilir) {
        QVERIFY2(ozet.basarili, qPrintable(ozet.mesaj));
        QCOMPARE(Ad(Hedef, "10004"), deger);
        QCOMPARE(Ad(Hedef, "10006"), Ad(Kaynak, "10006"));
    } else {
        // Refused at the import: the region message names the card; nothing of it is written.
        QVERIFY(!ozet.basarili);
        QCOMPARE(m_op->kutular.value(0).metin, Bolge7);
        QVERIFY2(m_op->kutular[0].baslik.endsWith("  10004"), qPrintable(m_op->kutular[0].baslik));
        QCOMPARE(Ad(Hedef, "10004"), QStringLiteral("<yok>"));
    }
    // No other card touched.
    for (auto it = once.cbegin(); it != once.cend(); ++it)
        QCOMPARE(sonra.value(it.key()), it.value());
}

void DusmancaDegerlerTesti::dosyadakiDeger()
{
    QFETCH(QString, deger);
    QFETCH(bool, aktarilir);
    if (deger.contains(QChar(0)))
        TEST_SUNUCUSU_FARKI("a text cannot hold a NUL character");
    const QString yol = DisaAktar();
    QFile f(yol);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QList<QByteArray> satirlar = f.readAll().split('\n');
    f.close();
    const int kart = int(satirlar.indexOf("<STOK>\r")) + 1;
    QVERIFY(satirlar[kart].startsWith("10004;"));
    // The value written into the file by hand, as bytes of the file's code page (a character
    // the code page lacks cannot stand in the file: its UTF-8 bytes go in instead).
    const auto kodlu = Windows1254e(deger);
    const QByteArray baytlar = kodlu ? *kodlu : deger.toUtf8();
    QList<QByteArray> alanlar = satirlar[kart].split(';');
    alanlar[1] = baytlar;
    satirlar[kart] = alanlar.join(';');
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(satirlar.join('\n'));
    f.close();
    const auto once = KartDurumlari(*m_db, Hedef);

    const IceAktarimOzeti ozet = IceAktar(yol);
    const auto sonra = KartDurumlari(*m_db, Hedef);
    const bool tasinabilir = aktarilir || (kodlu && DegerYazilamazNedeni(deger).isEmpty() && deger.size() <= 60);
    if (ozet.basarili) {
        // Whatever the file holds arrives exactly: the file's own text of the value.
        QVERIFY(tasinabilir || !kodlu);
        QCOMPARE(Ad(Hedef, "10004"), Windows1254ten(baytlar));
    } else {
        QVERIFY2(!tasinabilir, qPrintable(ozet.mesaj));
        QCOMPARE(m_op->kutular.value(0).metin, Bolge7);
        QVERIFY2(m_op->kutular[0].baslik.endsWith("  10004"), qPrintable(m_op->kutular[0].baslik));
        QCOMPARE(Ad(Hedef, "10004"), QStringLiteral("<yok>"));
        QCOMPARE(Ad(Hedef, "10006"), QStringLiteral("<yok>"));
    }
    for (auto it = once.cbegin(); it != once.cend(); ++it)
        QCOMPARE(sonra.value(it.key()), it.value());
}

void DusmancaDegerlerTesti::filtreHucresi()
{
    QFETCH(QString, deger);
    // A card whose code is the value (where the column can hold it), then the code range
    // value..value: exactly that card is listed, or the value is refused with a message.
    if (TestVeritabani::SqlServerMi() && deger.size() > 25)
        QSKIP("SQL Server: a code longer than its column cannot be stored");
    if (deger.contains(QChar(0)))
        TEST_SUNUCUSU_FARKI("a text cannot hold a NUL character");
    m_db->CalistirDegerle(Kaynak, "UPDATE STOKKART SET Stok_Kod=? WHERE Stok_Kod='10004'", deger);
    m_db->Baglan(Kaynak);
    const auto once = KartDurumlari(*m_db, Kaynak);
    FiltreTablosu FiltreGrd;
    const int satir = FiltreGrd.SatirBul("Stok Kodu");
    FiltreGrd.SetTextMatrix(satir, FiltreGrd.ColIndex("Baslangic"), deger);
    FiltreGrd.SetTextMatrix(satir, FiltreGrd.ColIndex("Bitis"), deger);
    const int barkod = FiltreGrd.SatirBul("Barkodu");
    FiltreGrd.SetTextMatrix(barkod, FiltreGrd.ColIndex("Baslangic"), deger);
    AktarimSecimi secim;
    m_op->kutular.clear();
    SonucListesi liste;
    if (!SorguOlustur(FiltreGrd, secim)) {
        QVERIFY(!m_op->kutular.isEmpty());
        QVERIFY(m_op->kutular[0].metin.contains("Stok Kodu") || m_op->kutular[0].metin.contains("Barkodu"));
    } else {
        // No card has the value as its barcode: the list is empty, and the statement ran.
        QCOMPARE(StoklariListele(liste), std::optional<int>(0));
        QVERIFY2(m_op->kutular.isEmpty(), qPrintable(m_op->Metinler().join('\n')));
        FiltreGrd.SetTextMatrix(barkod, FiltreGrd.ColIndex("Baslangic"), QString());
        QVERIFY(SorguOlustur(FiltreGrd, secim));
        QCOMPARE(StoklariListele(liste), std::optional<int>(1));
        QVERIFY(m_op->kutular.isEmpty());
        Baglanti.Kapat();
        QCOMPARE(KartDurumlari(*m_db, Kaynak), once);
        // The code listed as stored, also where its UTF-8 form is longer than the column.
        QCOMPARE(liste.TextMatrix(1, liste.ColIndex("Stok_Kod")), deger);
        return;
    }
    Baglanti.Kapat();
    QCOMPARE(KartDurumlari(*m_db, Kaynak), once);
}

QTEST_GUILESS_MAIN(DusmancaDegerlerTesti)
#include "tst_dusmancadegerler.moc"
