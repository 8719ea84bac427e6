#include "filter/DegerListeleri.h"
#include "filter/FiltreTablosu.h"
#include "filter/SonucListesi.h"
#include "filter/SorguOlusturucu.h"
#include "filter/StokListesi.h"
#include "filter/AktarimSecimi.h"
#include "state/Degiskenler.h"
#include "support/SahteEtkilesim.h"
#include "support/KartDurumlari.h"
#include "support/TestVeritabani.h"

#include <QTest>

using namespace Degiskenler;

// The drop-down lists from a company database, and the list fill (also with a hostile value).
class DegerListeleriTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void listeler();

    void listeDoldurulur();

private:
    SahteEtkilesim *m_op = nullptr;
    TestVeritabani *m_db = nullptr;
    const QString F = QStringLiteral("FIRMA09");
};

void DegerListeleriTesti::init()
{
    m_op = new SahteEtkilesim;
    m_db = new TestVeritabani;
}

void DegerListeleriTesti::cleanup()
{
    Sifirla();
    delete m_db;
    delete m_op;
}

void DegerListeleriTesti::listeler()
{
    m_db->BosFirmaYaz(F);
    m_db->Baglan(F);
    // An empty company: each list its first item alone.
    FiltreTablosu g;
    SecenekleriDoldur(g);
    QCOMPARE(g.Hucre(8, QStringLiteral("Secenek")), QStringLiteral("Farketmez|"));
    QCOMPARE(g.Secenekler(8), QStringList{QStringLiteral("Farketmez")});
    QCOMPARE(g.Hucre(15, QStringLiteral("Secenek")), QStringLiteral("Hepsi|"));

    m_db->Calistir(F, QStringLiteral(
        "INSERT INTO STOKKART (Stok_Kod, O_Kod, O_Kod2, Grup_Kod, Ana_Birim, KDV) VALUES "
        "('A', ' X1 ', NULL, 'G', 'KG', 8), ('B', '', 'Y', 'G', 'ADET', 18), ('C', NULL, NULL, '   ', 'KG', 12.5), "
        "('D', 'X2', NULL, NULL, NULL, NULL)"));
    m_db->Calistir(F, QStringLiteral("INSERT INTO KDVGRUPLARI (Departman_No, Departman_Adi, KDV) VALUES "
                                     "(3, ' GIDA ', 8), (1, 'TEKSTIL', 18), (2, NULL, NULL)"));
    // The items in order: the look-ups leave their order to the database.
    const auto Sirali = [](const std::optional<QString> &liste) {
        QStringList s = liste.value_or(QStringLiteral("<none>")).split(QLatin1Char('|'));
        std::sort(s.begin(), s.end());
        return s;
    };
    QCOMPARE(Sirali(KartAlaniListesi(1)), (QStringList{"", "X1", "X2"})); // null and '' skipped, trimmed
    QCOMPARE(KartAlaniListesi(2).value(), QStringLiteral("Y|"));
    QCOMPARE(Sirali(GrupKodListesi()), (QStringList{"", "", "G"}));       // blanks give an empty item
    QCOMPARE(Sirali(KartAlaniListesi(5)), (QStringList{"", "ADET", "KG"}));
    // Ordered by rate, null first as an empty item; the fraction as SQL reads it.
    QCOMPARE(KdvOraniListesi().value(), QStringLiteral("Hepsi||8|12.5|18|"));
    QCOMPARE(KdvGrubuListesi().value(), QStringLiteral("Hepsi|1\tTEKSTIL %18|2\t %|3\tGIDA %8|"));

    // A list that cannot be read is told; its row keeps what the table gives it.
    m_db->Calistir(F, QStringLiteral("DROP TABLE KDVGRUPLARI"));
    m_op->BekleSorguHatasi(QStringLiteral("SELECT Grup_ID,Departman_No,Departman_Adi,KDV FROM KDVGRUPLARI ORDER BY Departman_No"));
    FiltreTablosu okunamayan;
    SecenekleriDoldur(okunamayan);
    QCOMPARE(okunamayan.Hucre(14, QStringLiteral("Secenek")), QString());
    QCOMPARE(okunamayan.Hucre(13, QStringLiteral("Secenek")), QStringLiteral("Hepsi||8|12.5|18|"));
}

void DegerListeleriTesti::listeDoldurulur()
{
    m_db->DemoYaz(45, 2);
    m_db->Baglan(QStringLiteral("FIRMA01"));
    // The drop-down lists first: one statement each; rows not loaded keep the table's lists.
    FiltreTablosu g;
    const int komutlar = Baglanti.KomutSayisi();
    SecenekleriDoldur(g);
    QCOMPARE(Baglanti.KomutSayisi() - komutlar, 8);
    for (int r : {8, 9, 10, 11, 12})
        QVERIFY2(g.Hucre(r, QStringLiteral("Secenek")).startsWith(QStringLiteral("Farketmez|")), qPrintable(g.TextMatrix(r, 1)));
    for (int r : {13, 14, 15})
        QVERIFY(g.Hucre(r, QStringLiteral("Secenek")).startsWith(QStringLiteral("Hepsi|")));
    QVERIFY(g.Secenekler(14).value(1).contains(QLatin1Char('\t')));
    QCOMPARE(g.Hucre(8, QStringLiteral("Baslangic")), QStringLiteral("Farketmez"));
    QCOMPARE(g.Hucre(16, QStringLiteral("Secenek")), FiltreTablosu().Hucre(16, QStringLiteral("Secenek")));
    QCOMPARE(g.Hucre(6, QStringLiteral("Secenek")), QString());

    AktarimSecimi secim;
    SorguOlustur(g, secim);
    SonucListesi liste;
    liste.SetRows(3);
    QCOMPARE(StoklariListele(liste), std::optional<int>(45));
    QCOMPARE(liste.Rows(), 46);
    QCOMPARE(m_op->olayIsleme, 2);                        // after rows 20 and 40
    QCOMPARE(m_op->yuzdeler.constLast(), QStringLiteral("100%"));
    QCOMPARE(m_op->kartBarMaks, 45.0);
    QCOMPARE(m_op->mesajLbl, QStringList{QStringLiteral("Kayıt Getiriliyor.....")});
    QVERIFY(!m_op->frameBarGorunur);
    QCOMPARE(m_op->frameBarGosterildi, 1);

    const auto satirlar = m_db->Satirlar(QStringLiteral("FIRMA01"), QStringLiteral(
        "SELECT Stok_ID, Stok_Kod, Stok_Ad FROM STOKKART ORDER BY Stok_Kod"));
    for (int r = 1; r < liste.Rows(); ++r) {
        QCOMPARE(liste.TextMatrix(r, 0), QString::number(r));
        QCOMPARE(liste.TextMatrix(r, liste.ColIndex(QStringLiteral("Stok_ID"))), satirlar[r - 1][0].toString());
        QCOMPARE(liste.TextMatrix(r, liste.ColIndex(QStringLiteral("Stok_Kod"))), satirlar[r - 1][1].toString().trimmed());
        QCOMPARE(liste.TextMatrix(r, liste.ColIndex(QStringLiteral("Stok_Ad"))), satirlar[r - 1][2].toString().trimmed());
    }
    // Again: the same list, numbered from 1.
    QCOMPARE(StoklariListele(liste), std::optional<int>(45));
    QCOMPARE(liste.Rows(), 46);
    QCOMPARE(liste.TextMatrix(45, 0), QStringLiteral("45"));

    // Nothing found: the list empties, no progress shown.
    ListeSQL = ListeTemelSQL + QStringLiteral(" AND STOKKART.Stok_Kod='YOK' ORDER BY STOKKART.Stok_Kod");
    m_op->mesajLbl.clear();
    QCOMPARE(StoklariListele(liste), std::optional<int>(0));
    QCOMPARE(liste.Rows(), 1);
    QVERIFY(m_op->mesajLbl.isEmpty());
    QCOMPARE(m_op->frameBarGosterildi, 2);
    QCOMPARE(KayitSayisiMetni(0), QStringLiteral("LİSTELENEN KAYIT SAYISI : 0"));

    // A statement the database refuses: told, the list left empty.
    liste.SetRows(5);
    ListeSQL = QStringLiteral("SELECT Yok FROM OLMAYAN");
    m_op->BekleSorguHatasi(ListeSQL);
    QCOMPARE(StoklariListele(liste), std::nullopt);
    QCOMPARE(liste.Rows(), 1);
    QCOMPARE(m_op->pano, ListeSQL);

    // A code with quotes, comment marks, wildcards and letters outside windows-1254 (longer in
    // UTF-8 than its column): its range lists that card alone, as stored, and changes none.
    const QString kod = QStringLiteral("O'N /* ' OR 1=1 -- %_ \u4e2d\u0100");
    m_db->CalistirDegerle(QStringLiteral("FIRMA01"), "UPDATE STOKKART SET Stok_Kod=? WHERE Stok_Kod='10004'", kod);
    const auto once = KartDurumlari(*m_db, QStringLiteral("FIRMA01"));
    for (const char *sutun : {"Baslangic", "Bitis"})
        g.SetTextMatrix(g.SatirBul(QStringLiteral("Stok Kodu")), g.ColIndex(QLatin1String(sutun)), kod);
    QVERIFY(SorguOlustur(g, secim));
    QCOMPARE(StoklariListele(liste), std::optional<int>(1));
    QCOMPARE(liste.TextMatrix(1, liste.ColIndex(QStringLiteral("Stok_Kod"))), kod);
    Baglanti.Kapat();
    QCOMPARE(KartDurumlari(*m_db, QStringLiteral("FIRMA01")), once);
}

QTEST_GUILESS_MAIN(DegerListeleriTesti)
#include "tst_degerlisteleri.moc"
