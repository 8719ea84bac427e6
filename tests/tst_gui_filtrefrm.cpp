#include "common/ProgramKlasoru.h"
#include "common/Saat.h"
#include "filter/FiltreTablosu.h"
#include "filter/SonucListesi.h"
#include "filter/ui/FiltreFrm.h"
#include "state/Degiskenler.h"
#include "support/SahteEtkilesim.h"
#include "support/TestVeritabani.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace Degiskenler;

// The filter screen: editing rules of the criteria grid, the commands and their keys, printing.
class FiltreFrmTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void acilis();
    void baslikSutunuGecerliOlamaz();
    void secenekKutusuSatirinListesi();
    void tarihYazimi();
    void f2ListeyiDoldurur();
    void f9BugunuYazar();
    void silmeEvetHayir();
    void yazdirmaPdf();
    void aktarimDugmeleri();
    void f3ProgramiBitirir();

private:
    QModelIndex Hucre(int satir, const char *anahtar)
    {
        return m_frm->FiltreTablosuModeli().index(satir - 1, m_frm->FiltreTablosuModeli().ColIndex(QLatin1String(anahtar)));
    }
    SahteEtkilesim *m_op = nullptr;
    TestVeritabani *m_db = nullptr;
    FiltreFrm *m_frm = nullptr;
};

void FiltreFrmTesti::init()
{
    m_op = new SahteEtkilesim;
    m_db = new TestVeritabani;
    m_db->DemoYaz(45, 2);
    m_db->Baglan(QStringLiteral("FIRMA01"));
    BugunuAyarla(QDate(2024, 3, 7));
    m_frm = new FiltreFrm;
    m_frm->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frm));
}

void FiltreFrmTesti::cleanup()
{
    ProgramKlasorunuAyarla(QString());
    delete m_frm;
    BugunuAyarla(QDate());
    Sifirla();
    delete m_db;
    delete m_op;
}

void FiltreFrmTesti::acilis()
{
    QCOMPARE(m_frm->windowTitle(), QStringLiteral("Stok ve Fiyat Transfer Sistemi"));
    QCOMPARE(m_frm->TamamBtn->text(), QStringLiteral("STOKLARI GÖSTER"));
    QCOMPARE(m_frm->SilBtn->text(), QStringLiteral("İŞLEM LİSTESİNDEN SİL"));
    QCOMPARE(m_frm->DosyaOlusturBtn->text(), QStringLiteral("DOSYA OLUŞTUR"));
    QCOMPARE(m_frm->DosyadanOkuBtn->text(), QStringLiteral("DOSYADAN AL"));
    QCOMPARE(m_frm->YazdirBtn->text(), QStringLiteral("LİSTEYİ YAZDIR"));
    QCOMPARE(m_frm->CikisBtn->text(), QStringLiteral("ÇIKIŞ"));
    QCOMPARE(m_frm->Kayit_SayisiLbl->text(), QStringLiteral("LİSTELENEN KAYIT SAYISI : "));
    QVERIFY(!m_frm->FrameBar->isVisible());
    QVERIFY(m_frm->FiltreGrd->isRowHidden(4));                  // "Satış Fiyatı Değişmiş"
    QVERIFY(m_frm->FiltreTablosuModeli().RowHidden(5));
    for (const char *gizli : {"Ayirac", "Alan", "Secenek", "Tip", "Girsin"})
        QVERIFY(m_frm->FiltreGrd->isColumnHidden(m_frm->FiltreTablosuModeli().ColIndex(QLatin1String(gizli))));
    QVERIFY(m_frm->Fisgrd->isColumnHidden(m_frm->FisgrdModeli().ColIndex(QStringLiteral("Stok_ID"))));
    QCOMPARE(m_frm->FiltreGrd->currentIndex(), Hucre(1, "Baslangic"));
    QVERIFY(m_frm->FiltreTablosuModeli().Hucre(8, QStringLiteral("Secenek")).startsWith(QStringLiteral("Farketmez|")));
    QCOMPARE(m_frm->FisgrdModeli().Rows(), 1);
    QVERIFY(m_op->kutular.isEmpty());
}

void FiltreFrmTesti::baslikSutunuGecerliOlamaz()
{
    QTableView *g = m_frm->FiltreGrd;
    g->setCurrentIndex(Hucre(7, "Bitis"));
    const QRect yer = g->visualRect(Hucre(3, "FiltreLbl"));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, yer.center());
    QCOMPARE(g->currentIndex(), Hucre(7, "Bitis"));
    g->setCurrentIndex(Hucre(7, "Baslangic"));
    g->setFocus();
    QTest::keyClick(g, Qt::Key_Left);
    QCOMPARE(g->currentIndex(), Hucre(7, "Baslangic"));
    QTest::keyClick(g, Qt::Key_Right);
    QCOMPARE(g->currentIndex(), Hucre(7, "Bitis"));
}

void FiltreFrmTesti::secenekKutusuSatirinListesi()
{
    QTableView *g = m_frm->FiltreGrd;
    FiltreTablosu &t = m_frm->FiltreTablosuModeli();
    for (const char *sutun : {"Baslangic", "Bitis"}) {
        g->setCurrentIndex(Hucre(14, sutun));                     // "KDV Grubu"
        auto *kutu = g->viewport()->findChild<QComboBox *>();
        QVERIFY(kutu);
        QCOMPARE(kutu->count(), t.Secenekler(14).size());
        QCOMPARE(kutu->itemData(0).toString(), QStringLiteral("Hepsi"));
        const int i = kutu->count() - 1;
        kutu->setCurrentIndex(i);
        Q_EMIT kutu->activated(i);                                // chosen: takes effect at once
        QCOMPARE(t.Hucre(14, QLatin1String(sutun)), FiltreTablosu::SecenekDegeri(t.Secenekler(14)[i]));
        QVERIFY(!t.Hucre(14, QLatin1String(sutun)).contains(QLatin1Char('\t')));
        QTRY_VERIFY(!g->viewport()->findChild<QComboBox *>());
    }
    // An empty list: free text.
    g->setCurrentIndex(Hucre(6, "Baslangic"));
    auto *satir = g->viewport()->findChild<QLineEdit *>();
    QVERIFY(satir);
    QTest::keyClicks(satir, QStringLiteral("12345"));
    QCOMPARE(satir->text(), QStringLiteral("12345"));            // not reformatted
    QTest::keyClick(satir, Qt::Key_Return);
    QTRY_COMPARE(t.Hucre(6, QStringLiteral("Baslangic")), QStringLiteral("12345"));
}

void FiltreFrmTesti::tarihYazimi()
{
    QTableView *g = m_frm->FiltreGrd;
    g->setFocus();
    g->edit(Hucre(1, "Baslangic"));
    auto *satir = g->viewport()->findChild<QLineEdit *>();
    QVERIFY(satir);
    QTest::keyClicks(satir, QStringLiteral("25122005"));
    QCOMPARE(satir->text(), QStringLiteral("25/12/2005"));
    QTest::keyClick(satir, Qt::Key_Return);
    QTRY_COMPARE(m_frm->FiltreTablosuModeli().Hucre(1, QStringLiteral("Baslangic")), QStringLiteral("25/12/2005"));
    QVERIFY(m_op->kutular.isEmpty());

    g->setCurrentIndex(Hucre(1, "Bitis"));
    satir = g->viewport()->findChild<QLineEdit *>();
    QVERIFY(satir);
    QTest::keyClicks(satir, QStringLiteral("32"));
    QCOMPARE(m_op->Metinler(), QStringList{QStringLiteral("Gün alanını yanlış girdiniz.")});
    QCOMPARE(satir->text(), QStringLiteral("32"));               // left as typed
}

void FiltreFrmTesti::f2ListeyiDoldurur()
{
    m_frm->FiltreGrd->setFocus();
    QTest::keyClick(m_frm->FiltreGrd, Qt::Key_F2, Qt::ShiftModifier);
    SonucListesi &l = m_frm->FisgrdModeli();
    QCOMPARE(l.Rows(), 46);
    QCOMPARE(m_frm->Kayit_SayisiLbl->text(), QStringLiteral("LİSTELENEN KAYIT SAYISI : 45"));
    QCOMPARE(m_frm->Fisgrd->model()->rowCount(), 45);
    const auto satirlar = m_db->Satirlar(QStringLiteral("FIRMA01"), QStringLiteral(
        "SELECT STOKKART.Stok_Kod, STOKKART.Stok_Ad, STOKKART.Stok_ID FROM STOKKART ORDER BY Stok_Kod"));
    QCOMPARE(satirlar.size(), 45);
    for (int r = 1; r <= 45; ++r) {
        QCOMPARE(l.TextMatrix(r, 0), QString::number(r));
        QCOMPARE(l.TextMatrix(r, 1), satirlar[r - 1][0].toString().trimmed());
        QCOMPARE(l.TextMatrix(r, 2), satirlar[r - 1][1].toString().trimmed());
        QCOMPARE(l.TextMatrix(r, 5), satirlar[r - 1][2].toString());
    }
    QVERIFY(!m_frm->FrameBar->isVisible());
    QVERIFY(m_frm->TamamBtn->isEnabled());
    QCOMPARE(m_op->pano, ListeSQL);

    // A filter: only the cards of one group code, from the value list.
    FiltreTablosu &t = m_frm->FiltreTablosuModeli();
    const QString grup = t.Secenekler(11).value(1);
    QVERIFY(!grup.isEmpty());
    QVERIFY(t.DegerYaz(QStringLiteral("Grup Kodu"), QStringLiteral("Baslangic"), grup));
    QTest::mouseClick(m_frm->TamamBtn, Qt::LeftButton);
    const int beklenen = m_db->Deger(QStringLiteral("FIRMA01"),
                                     QStringLiteral("SELECT COUNT(*) FROM STOKKART WHERE Grup_Kod='%1'").arg(grup)).toInt();
    QCOMPARE(l.Rows() - 1, beklenen);
    QCOMPARE(m_frm->Kayit_SayisiLbl->text(), QStringLiteral("LİSTELENEN KAYIT SAYISI : %1").arg(beklenen));
}

void FiltreFrmTesti::f9BugunuYazar()
{
    FiltreTablosu &t = m_frm->FiltreTablosuModeli();
    t.SetTextMatrix(1, 2, QStringLiteral("01/01/2001"));
    t.SetTextMatrix(1, 3, QStringLiteral("02/01/2001"));
    m_frm->Fisgrd->setFocus();
    QTest::keyClick(m_frm->Fisgrd, Qt::Key_F9);
    QCOMPARE(t.Hucre(1, QStringLiteral("Baslangic")), QStringLiteral("07.03.2024"));
    QCOMPARE(t.Hucre(1, QStringLiteral("Bitis")), QStringLiteral("07.03.2024"));
    QCOMPARE(m_frm->FisgrdModeli().Rows(), 1);
}

void FiltreFrmTesti::silmeEvetHayir()
{
    SonucListesi &l = m_frm->FisgrdModeli();
    QTest::mouseClick(m_frm->SilBtn, Qt::LeftButton);              // empty list: no question
    QVERIFY(m_op->kutular.isEmpty());

    QTest::mouseClick(m_frm->TamamBtn, Qt::LeftButton);
    l.SetRows(6);                                                  // five rows, numbered 1..5
    m_frm->Fisgrd->setCurrentIndex(l.index(2, 1));
    m_op->cevaplar << Etkilesim::Hayir;
    QTest::mouseClick(m_frm->SilBtn, Qt::LeftButton);
    QCOMPARE(l.Rows(), 6);
    QCOMPARE(m_op->kutular.size(), 1);
    QCOMPARE(m_op->kutular[0].metin, QStringLiteral("Seçili Stok aktrılmayacaktır Eminmisiniz"));
    QCOMPARE(m_op->kutular[0].simge, Etkilesim::Simge::Soru);
    QCOMPARE(m_op->kutular[0].dugmeler, Etkilesim::Dugmeler::EvetHayir);
    QVERIFY(m_op->kutular[0].baslik.isEmpty());

    m_op->cevaplar << Etkilesim::Evet;
    QTest::mouseClick(m_frm->SilBtn, Qt::LeftButton);
    QCOMPARE(l.Rows(), 5);
    QStringList numaralar;
    for (int r = 1; r < l.Rows(); ++r)
        numaralar << l.TextMatrix(r, 0);
    QCOMPARE(numaralar, (QStringList{"1", "2", "4", "5"}));
    QCOMPARE(m_frm->Kayit_SayisiLbl->text(), QStringLiteral("LİSTELENEN KAYIT SAYISI : 45"));
    QVERIFY(m_op->beklenmeyen.isEmpty());
}

void FiltreFrmTesti::yazdirmaPdf()
{
    QTest::mouseClick(m_frm->TamamBtn, Qt::LeftButton);
    QTableView *g = m_frm->Fisgrd;
    const QString stil = g->styleSheet();
    const QFont yazi = g->horizontalHeader()->font();
    const Qt::PenStyle izgara = g->gridStyle();

    // Cancelled: nothing printed, the look comes back.
    bool diyalogdaBeyaz = false;
    m_frm->YazdirmaDiyalogAdimi = [&](QPrinter &) {
        diyalogdaBeyaz = g->styleSheet().contains(QStringLiteral("#FFFFFF")) && g->horizontalHeader()->font().bold();
        return false;
    };
    QTest::mouseClick(m_frm->YazdirBtn, Qt::LeftButton);
    QVERIFY(diyalogdaBeyaz);
    QCOMPARE(g->styleSheet(), stil);
    QCOMPARE(g->horizontalHeader()->font(), yazi);
    QCOMPARE(g->gridStyle(), izgara);

    const QString pdf = m_db->Klasor() + QStringLiteral("/liste.pdf");
    QString belgeAdi;
    m_frm->YazdirmaDiyalogAdimi = [&](QPrinter &yazici) {
        belgeAdi = yazici.docName();
        yazici.setOutputFormat(QPrinter::PdfFormat);
        yazici.setOutputFileName(pdf);
        return true;
    };
    QTest::mouseClick(m_frm->YazdirBtn, Qt::LeftButton);
    QCOMPARE(belgeAdi, QStringLiteral("Ravelko"));
    QCOMPARE(g->styleSheet(), stil);
    QCOMPARE(g->horizontalHeader()->font(), yazi);

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished(30000));
    const QString metin = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QVERIFY2(metin.contains(QStringLiteral("Stok Kodu")) && metin.contains(QStringLiteral("Stok Adı"))
                 && metin.contains(QStringLiteral("Fiyatı")), qPrintable(metin.left(400)));
    QVERIFY(!metin.contains(QStringLiteral("Stok_ID")));
    SonucListesi &l = m_frm->FisgrdModeli();
    for (int r : {1, 2, 45}) {
        const QRegularExpression satir(QStringLiteral("\\b%1\\s+%2\\s+%3")
                                           .arg(r).arg(QRegularExpression::escape(l.TextMatrix(r, 1)),
                                                       QRegularExpression::escape(l.TextMatrix(r, 2))));
        QVERIFY2(satir.match(metin).hasMatch(), qPrintable(l.TextMatrix(r, 1)));
    }
}

void FiltreFrmTesti::aktarimDugmeleri()
{
    QTemporaryDir program;
    ProgramKlasorunuAyarla(program.path());
    const QString dosya = program.filePath(QStringLiteral("liste.trn"));
    QTest::keyClick(m_frm->FiltreGrd, Qt::Key_F2);
    QCOMPARE(m_frm->FisgrdModeli().Rows(), 46);

    // The export writes the listed cards; the buttons work again afterwards.
    m_op->dosyalar.enqueue(dosya);
    QTest::mouseClick(m_frm->DosyaOlusturBtn, Qt::LeftButton);
    QVERIFY(m_op->beklenmeyen.isEmpty());
    QCOMPARE(m_op->kutular.last().metin, QStringLiteral("İşlem Tamamlandı"));
    QFile dosyaOku(dosya);
    QVERIFY(dosyaOku.open(QIODevice::ReadOnly));
    const QByteArray icerik = dosyaOku.readAll();
    QVERIFY(icerik.startsWith("<KDVGRUPLARI>\r\n"));
    QCOMPARE(icerik.count("<STOK>\r\n"), 45);
    QVERIFY(icerik.endsWith("<END>\r\n"));
    QVERIFY(m_frm->DosyaOlusturBtn->isEnabled() && m_frm->TamamBtn->isEnabled());

    // The import reads it back into the same company: the dialog proposes the path just used.
    SQLSERVER_AKTARIM_BEKLIYOR();
    m_op->dosyalar.enqueue(dosya);
    m_op->cevaplar.enqueue(Etkilesim::Evet);
    QTest::mouseClick(m_frm->DosyadanOkuBtn, Qt::LeftButton);
    QCOMPARE(m_op->onerilenDosyalar.last(), dosya);
    QVERIFY(m_op->beklenmeyen.isEmpty());
    QCOMPARE(m_op->kutular.last().metin, QStringLiteral("İşlem Başarı ile Tamamlandı"));
    QVERIFY(m_frm->DosyadanOkuBtn->isEnabled());
    ProgramKlasorunuAyarla(QString());
}

void FiltreFrmTesti::f3ProgramiBitirir()
{
    QSignalSpy bitti(m_frm, &FiltreFrm::ProgramBitti);
    QTest::keyClick(m_frm->Fisgrd, Qt::Key_F3);
    QCOMPARE(bitti.count(), 1);
    QVERIFY(!m_frm->isVisible());
    QVERIFY(m_op->kutular.isEmpty());
}

QTEST_MAIN(FiltreFrmTesti)
#include "tst_gui_filtrefrm.moc"
