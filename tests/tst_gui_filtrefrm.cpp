#include "common/ProgramKlasoru.h"
#include "common/Saat.h"
#include "common/ui/EkranEtkilesimi.h"
#include "filter/FiltreTablosu.h"
#include "filter/SonucListesi.h"
#include "filter/ui/FiltreFrm.h"
#include "state/Degiskenler.h"
#include "support/SahteEtkilesim.h"
#include "support/TestVeritabani.h"
#include "support/VeritabaniOzeti.h"
#include "transfer/OnizlemeModeli.h"
#include "transfer/ui/OnizlemeFrm.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>

using namespace Degiskenler;

// The filter screen: editing rules of the criteria grid, the commands and their keys, printing.
class FiltreFrmTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void acilisVeListe();
    void klavye();
    void listeAcilirSecilir_data();
    void listeAcilirSecilir();
    void yanlisTarihMesajdanSonraHucrede();
    void acikDuzenleyiciKomuttanOnceBiter_data();
    void acikDuzenleyiciKomuttanOnceBiter();
    void reddedilenListelemeSecimleriKorur();
    void silmeEvetHayir();
    void yazdirmaPdf();
    void aktarimDugmeleri();

private:
    QModelIndex Hucre(int satir, const char *anahtar)
    {
        return m_frm->FiltreTablosuModeli().index(satir - 1, m_frm->FiltreTablosuModeli().ColIndex(QLatin1String(anahtar)));
    }
    // The start and end values of every criteria row.
    QStringList Degerler()
    {
        QStringList d;
        for (int r = 1; r < FiltreTablosu::SatirSayisi; ++r)
            d << m_frm->FiltreTablosuModeli().Hucre(r, QStringLiteral("Baslangic"))
              << m_frm->FiltreTablosuModeli().Hucre(r, QStringLiteral("Bitis"));
        return d;
    }
    void Tikla(const QModelIndex &hucre)
    {
        QTest::mouseClick(m_frm->FiltreGrd->viewport(), Qt::LeftButton, {}, m_frm->FiltreGrd->visualRect(hucre).center());
    }
    void Tus(int tus)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(tus));
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
    QStandardPaths::setTestModeEnabled(true); // the kept change reports
    FirmaAdi = QStringLiteral("MERKEZ MAĞAZA");
    m_frm = new FiltreFrm;
    m_frm->show();
    m_frm->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_frm));
}

void FiltreFrmTesti::cleanup()
{
    delete m_frm;
    BugunuAyarla(QDate());
    Sifirla();
    delete m_db;
    delete m_op;
}

void FiltreFrmTesti::acilisVeListe()
{
    // Each caption with an Alt shortcut of its own.
    QStringList basliklar;
    for (QPushButton *d : m_frm->findChildren<QPushButton *>())
        basliklar << d->text();
    QCOMPARE(basliklar, QStringList({"&STOKLARI GÖSTER", "İŞLEM &LİSTESİNDEN SİL", "DOSYA &OLUŞTUR", "DOSYADAN &AL",
                                     "Ö&NİZLE", "LİSTEYİ &YAZDIR", "ÇI&KIŞ"}));
    // The company DOSYADAN AL writes into is in sight.
    QCOMPARE(m_frm->FirmaLbl->text(), QStringLiteral("FİRMA : MERKEZ MAĞAZA"));
    QVERIFY(m_frm->FiltreGrd->isRowHidden(4)); // "Satış Fiyatı Değişmiş"
    QCOMPARE(m_frm->FiltreGrd->currentIndex(), Hucre(1, "Baslangic"));

    // Shift does not keep F2 from listing.
    m_frm->FiltreGrd->setFocus();
    QTest::keyClick(m_frm->FiltreGrd, Qt::Key_F2, Qt::ShiftModifier);
    QCOMPARE(m_frm->Fisgrd->model()->rowCount(), 45);
    QCOMPARE(m_frm->Kayit_SayisiLbl->text(), QStringLiteral("LİSTELENEN KAYIT SAYISI : 45"));
    QCOMPARE(m_op->pano, ListeSQL);

    // Listed, the window still fits the smallest screen served (main() sets it up offscreen):
    // every command and label in sight and uncut, every name within "Stok Adı".
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        return;
    QApplication::processEvents();
    QCOMPARE(m_frm->screen()->availableGeometry().size(), QSize(1024, 768));
    QVERIFY(m_frm->screen()->availableGeometry().contains(m_frm->frameGeometry()));
    for (QWidget *w : std::initializer_list<QWidget *>{m_frm->TamamBtn, m_frm->SilBtn, m_frm->DosyaOlusturBtn, m_frm->DosyadanOkuBtn,
                       m_frm->OnizleBtn, m_frm->YazdirBtn, m_frm->CikisBtn, m_frm->Kayit_SayisiLbl, m_frm->FirmaLbl}) {
        QVERIFY2(m_frm->rect().contains(QRect(w->mapTo(m_frm, QPoint(0, 0)), w->size())), qPrintable(w->objectName()));
        QVERIFY2(w->isVisible() && w->width() >= w->sizeHint().width(), qPrintable(w->objectName()));
    }
    SonucListesi &l = m_frm->FisgrdModeli();
    const int ad = m_frm->Fisgrd->columnWidth(l.ColIndex(QStringLiteral("Stok_Ad")));
    for (int r = 1; r < l.Rows(); ++r)
        QVERIFY2(m_frm->Fisgrd->fontMetrics().horizontalAdvance(l.TextMatrix(r, 2)) + 8 <= ad, qPrintable(l.TextMatrix(r, 2)));
}

void FiltreFrmTesti::listeAcilirSecilir_data()
{
    QTest::addColumn<int>("satir");
    QTest::addColumn<QString>("sutun");
    QTest::addColumn<int>("tus"); // 0: a click
    QTest::addColumn<int>("asagi"); // Down presses in the open list before Enter
    QTest::addColumn<QString>("deger");
    // "Alış/Satış": Hepsi|Satış|Alış
    QTest::newRow("click") << 23 << "Baslangic" << 0 << 1 << "Satış";
    QTest::newRow("F4") << 23 << "Baslangic" << int(Qt::Key_F4) << 1 << "Satış";
    QTest::newRow("typing") << 23 << "Baslangic" << int(Qt::Key_S) << 0 << "Satış";
    // "KDV Grubu": the department number alone is stored, not the name and rate shown beside it.
    QTest::newRow("VAT group, start") << 14 << "Baslangic" << 0 << 5 << "5";
    QTest::newRow("VAT group, end") << 14 << "Bitis" << 0 << 2 << "2";
}

void FiltreFrmTesti::listeAcilirSecilir()
{
    QFETCH(int, satir);
    QFETCH(QString, sutun);
    QFETCH(int, tus);
    QFETCH(int, asagi);
    QFETCH(QString, deger);
    QTableView *g = m_frm->FiltreGrd;
    const QModelIndex hucre = Hucre(satir, qPrintable(sutun));
    g->setFocus();
    g->setCurrentIndex(hucre);
    if (tus)
        QTest::keyClick(g, Qt::Key(tus));
    else
        Tikla(hucre);
    auto *kutu = g->viewport()->findChild<QComboBox *>();
    QTRY_VERIFY(kutu && kutu->view()->isVisible());
    for (int i = 0; i < asagi; ++i)
        QTest::keyClick(kutu->view(), Qt::Key_Down);
    QTest::keyClick(kutu->view(), Qt::Key_Return); // picked: takes effect at once
    QTRY_COMPARE(m_frm->FiltreTablosuModeli().Hucre(satir, sutun), deger);
    QTRY_VERIFY(!g->viewport()->findChild<QComboBox *>());
}

void FiltreFrmTesti::yanlisTarihMesajdanSonraHucrede()
{
    // The real message box, which takes the focus from the cell while it is open.
    EkranEtkilesimi ekran;
    OperatorKur(&ekran);
    QStringList kutular;
    QTimer kapatici;
    connect(&kapatici, &QTimer::timeout, [&] {
        if (auto *kutu = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            kutular << kutu->text();
            kutu->accept();
        }
    });
    kapatici.start(20);
    FiltreTablosu &t = m_frm->FiltreTablosuModeli();
    const QStringList once = Degerler();
    const QModelIndex hucre = Hucre(1, "Bitis");
    FiltreGrdGorunumu *g = m_frm->FiltreGrd;
    g->setFocus();
    g->setCurrentIndex(hucre);
    QVERIFY(g->HucreyiAc(hucre));
    QPointer<QLineEdit> satir = g->viewport()->findChild<QLineEdit *>();
    QVERIFY(satir);

    QTest::keyClicks(satir, QStringLiteral("0113"));
    QCOMPARE(kutular, QStringList{QStringLiteral("Ay alanını yanlış girdiniz.")});
    // Back in the same cell, the text as typed, nothing written yet, the rest of the filter kept.
    QCOMPARE(g->indexWidget(hucre), satir.data());
    QCOMPARE(satir->text(), QStringLiteral("01/13"));
    // (the window's own focus: whether the platform has made the window active again by now
    // is not the screen's doing)
    QTRY_COMPARE(m_frm->focusWidget(), satir.data());
    QCOMPARE(Degerler(), once);

    // The day, month and year typed as digits: the slashes come by themselves.
    satir->clear();
    QTest::keyClicks(satir, QStringLiteral("31122005"));
    QCOMPARE(satir->text(), QStringLiteral("31/12/2005"));
    QTest::keyClick(satir, Qt::Key_Return);
    QTRY_COMPARE(t.Hucre(1, QStringLiteral("Bitis")), QStringLiteral("31/12/2005"));
    QCOMPARE(kutular.size(), 1);
    OperatorKur(m_op);
}

void FiltreFrmTesti::acikDuzenleyiciKomuttanOnceBiter_data()
{
    QTest::addColumn<int>("tus");
    QTest::addColumn<int>("tuslar");
    QTest::addColumn<int>("satir");
    QTest::addColumn<QString>("onceki");       // the cell before
    QTest::addColumn<QString>("yazilan");
    QTest::addColumn<QString>("hucre");        // the cell afterwards
    QTest::addColumn<int>("liste");            // listed cards afterwards
    // F9 a second time: the date it writes is already in the cell, only the editor differs.
    QTest::newRow("F9 over a typed date") << int(Qt::Key_F9) << 0 << 1 << "07.03.2024" << "01022005" << "07.03.2024" << 0;
    QTest::newRow("F2 lists with the typed code") << int(Qt::Key_F2) << 0 << 6 << "" << "10044" << "10044" << 2;
    QTest::newRow("Alt+S lists with the typed code") << int(Qt::Key_S) << int(Qt::AltModifier) << 6 << "10001"
                                                     << "10045" << "10045" << 1;
}

void FiltreFrmTesti::acikDuzenleyiciKomuttanOnceBiter()
{
    QFETCH(int, tus);
    QFETCH(int, tuslar);
    QFETCH(int, satir);
    QFETCH(QString, onceki);
    QFETCH(QString, yazilan);
    QFETCH(QString, hucre);
    QFETCH(int, liste);
    FiltreTablosu &t = m_frm->FiltreTablosuModeli();
    t.SetTextMatrix(satir, t.ColIndex(QStringLiteral("Baslangic")), onceki);
    FiltreGrdGorunumu *g = m_frm->FiltreGrd;
    g->setFocus();
    Tikla(Hucre(satir, "Baslangic"));
    auto *duzenleyici = g->viewport()->findChild<QLineEdit *>();
    QVERIFY(duzenleyici);
    duzenleyici->clear();
    QTest::keyClicks(duzenleyici, yazilan);
    QTest::keyClick(duzenleyici, Qt::Key(tus), Qt::KeyboardModifiers(tuslar));
    QTRY_COMPARE(m_frm->FisgrdModeli().Rows() - 1, liste);
    // Leaving the cell afterwards brings back nothing the command already replaced.
    g->setFocus();
    g->setCurrentIndex(Hucre(satir + 1, "Baslangic"));
    QTRY_VERIFY(!g->viewport()->findChild<QLineEdit *>());
    QCOMPARE(t.Hucre(satir, QStringLiteral("Baslangic")), hucre);
}

void FiltreFrmTesti::klavye()
{
    FiltreGrdGorunumu *g = m_frm->FiltreGrd;
    FiltreTablosu &t = m_frm->FiltreTablosuModeli();
    QStringList once = Degerler();
    // The caption column never becomes current.
    g->setCurrentIndex(Hucre(7, "Bitis"));
    Tikla(Hucre(3, "FiltreLbl"));
    QCOMPARE(g->currentIndex(), Hucre(7, "Bitis"));
    // Down the start column, up the end column: every cell visited, none edited.
    g->setFocus();
    g->setCurrentIndex(Hucre(1, "Baslangic"));
    for (int i = 0; i < FiltreTablosu::SatirSayisi; ++i)
        Tus(Qt::Key_Down);
    QCOMPARE(g->currentIndex(), Hucre(33, "Baslangic"));
    Tus(Qt::Key_Right);
    for (int i = 0; i < FiltreTablosu::SatirSayisi; ++i)
        Tus(Qt::Key_Up);
    QCOMPARE(g->currentIndex(), Hucre(1, "Bitis"));
    QCOMPARE(Degerler(), once);

    // Tab leaves the grid, from a cell being edited too: the typed text is kept.
    g->setFocus();
    Tikla(Hucre(7, "Bitis"));
    auto *satir = g->viewport()->findChild<QLineEdit *>();
    QVERIFY(satir);
    QTest::keyClicks(satir, QStringLiteral("ÇAY"));
    Tus(Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), m_frm->Fisgrd);
    QCOMPARE(t.Hucre(7, QStringLiteral("Bitis")), QStringLiteral("ÇAY"));
    once = Degerler();

    // A list opened and closed again without a pick: the arrows, the wheel and leaving the
    // cell change nothing, also in end cells that hold no item of their list.
    for (const QModelIndex &hucre : {Hucre(24, "Baslangic"), Hucre(23, "Bitis"), Hucre(8, "Bitis")}) {
        Tikla(hucre);
        auto *kutu = g->viewport()->findChild<QComboBox *>();
        QTRY_VERIFY(kutu && kutu->view()->isVisible());
        QTest::keyClick(kutu->view(), Qt::Key_Escape);
        QTRY_VERIFY(!kutu->view()->isVisible());
        QWheelEvent teker(QPointF(5, 5), kutu->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(kutu, &teker);
        QTest::keyClick(kutu, Qt::Key_Down); // goes on to the grid
        QTest::keyClick(g, Qt::Key_Up);
        QTRY_VERIFY(!g->viewport()->findChild<QComboBox *>());
        QCOMPARE(Degerler(), once);
    }

    // The window sees the keys first, whichever control has the focus.
    t.SetTextMatrix(1, t.ColIndex(QStringLiteral("Bitis")), QStringLiteral("02/01/2001"));
    QTest::keyClick(m_frm->Fisgrd, Qt::Key_F9);
    QCOMPARE(t.Hucre(1, QStringLiteral("Baslangic")), QStringLiteral("07.03.2024"));
    QCOMPARE(t.Hucre(1, QStringLiteral("Bitis")), QStringLiteral("07.03.2024"));
    QCOMPARE(m_frm->FisgrdModeli().Rows(), 1);
    QSignalSpy bitti(m_frm, &FiltreFrm::ProgramBitti);
    QTest::keyClick(m_frm->Fisgrd, Qt::Key_F3);
    QCOMPARE(bitti.count(), 1);
    QVERIFY(!m_frm->isVisible());
}

void FiltreFrmTesti::reddedilenListelemeSecimleriKorur()
{
    FiltreTablosu &t = m_frm->FiltreTablosuModeli();
    QVERIFY(t.DegerYaz(QStringLiteral("Alış/Satış"), QStringLiteral("Baslangic"), QStringLiteral("Satış")));
    QTest::keyClick(m_frm->FiltreGrd, Qt::Key_F2);

    // Refused: the list and its count stay.
    QVERIFY(t.DegerYaz(QStringLiteral("Alış İskontosu"), QStringLiteral("Baslangic"), QStringLiteral("abc")));
    m_op->Bekle(QStringLiteral("Alış İskontosu alanına sayısal bir değer girmelisiniz."), Etkilesim::Simge::Kritik);
    QTest::keyClick(m_frm->FiltreGrd, Qt::Key_F2);
    QCOMPARE(m_frm->FisgrdModeli().Rows(), 46);
    QCOMPARE(m_frm->Kayit_SayisiLbl->text(), QStringLiteral("LİSTELENEN KAYIT SAYISI : 45"));

    // A statement the database refuses empties the list: no count of the earlier one stays.
    QVERIFY(t.DegerYaz(QStringLiteral("Alış İskontosu"), QStringLiteral("Baslangic"), QString()));
    m_db->Calistir(QStringLiteral("FIRMA01"), QStringLiteral("DROP VIEW AKTIFSTOKFIYAT"));
    m_op->Bekle(QRegularExpression(".+", QRegularExpression::DotMatchesEverythingOption), Etkilesim::Simge::Kritik);
    m_op->Bekle(QRegularExpression("SELECT .* LEFT JOIN AKTIFSTOKFIYAT .* ORDER BY STOKKART\\.Stok_Kod"), Etkilesim::Simge::Kritik);
    QTest::keyClick(m_frm->FiltreGrd, Qt::Key_F2);
    QCOMPARE(m_frm->FisgrdModeli().Rows(), 1);
    QCOMPARE(m_frm->Kayit_SayisiLbl->text(), QStringLiteral("LİSTELENEN KAYIT SAYISI : "));
}

void FiltreFrmTesti::silmeEvetHayir()
{
    SonucListesi &l = m_frm->FisgrdModeli();
    QTest::mouseClick(m_frm->TamamBtn, Qt::LeftButton);
    l.SetRows(6); // five rows, numbered 1..5
    m_frm->Fisgrd->setCurrentIndex(l.index(2, 1));
    const QString soru = QStringLiteral("Seçili Stok aktrılmayacaktır Eminmisiniz");
    m_op->Bekle(soru, Etkilesim::Simge::Soru, Etkilesim::Hayir);
    QTest::mouseClick(m_frm->SilBtn, Qt::LeftButton);
    QCOMPARE(l.Rows(), 6);

    m_op->Bekle(soru, Etkilesim::Simge::Soru, Etkilesim::Evet);
    QTest::mouseClick(m_frm->SilBtn, Qt::LeftButton);
    QStringList numaralar;
    for (int r = 1; r < l.Rows(); ++r)
        numaralar << l.TextMatrix(r, 0);
    QCOMPARE(numaralar, (QStringList{"1", "2", "4", "5"}));
    QCOMPARE(m_frm->Kayit_SayisiLbl->text(), QStringLiteral("LİSTELENEN KAYIT SAYISI : 45"));
}

void FiltreFrmTesti::yazdirmaPdf()
{
    QTest::mouseClick(m_frm->TamamBtn, Qt::LeftButton);
    QTableView *g = m_frm->Fisgrd;
    const QString stil = g->styleSheet();
    const QString pdf = m_db->Klasor() + QStringLiteral("/liste.pdf");
    // Printed white with bold captions; afterwards the screen's look comes back.
    bool beyaz = false;
    m_frm->YazdirmaDiyalogAdimi = [&](QPrinter &yazici) {
        beyaz = g->styleSheet().contains(QStringLiteral("#FFFFFF")) && g->horizontalHeader()->font().bold();
        yazici.setOutputFormat(QPrinter::PdfFormat);
        yazici.setOutputFileName(pdf);
        return yazici.docName() == QLatin1String("Ravelko"); // under another name nothing is printed
    };
    QTest::mouseClick(m_frm->YazdirBtn, Qt::LeftButton);
    QVERIFY(beyaz);
    QCOMPARE(g->styleSheet(), stil);
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished(30000));
    const QString metin = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QVERIFY2(metin.contains(QStringLiteral("Stok Kodu")) && metin.contains(QStringLiteral("Stok Adı"))
                 && metin.contains(QStringLiteral("Fiyatı")) && !metin.contains(QStringLiteral("Stok_ID")),
             qPrintable(metin.left(400)));
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
    // The export writes the listed cards (the preview below finds all 45).
    m_op->dosyalar.enqueue(dosya);
    m_op->Bekle(QStringLiteral("İşlem Tamamlandı"), Etkilesim::Simge::Yok);
    QTest::mouseClick(m_frm->DosyaOlusturBtn, Qt::LeftButton);

    // F5 previews the file after a card changed here: the window lists every card, the changed
    // one with its old value; the company is untouched until AKTARIMI BAŞLAT.
    m_db->Calistir(QStringLiteral("FIRMA01"), QStringLiteral("UPDATE STOKKART SET Raf_Yeri='Z-9' WHERE Stok_Kod='10003'"));
    const QByteArray once = VeritabaniOzeti(*m_db, QStringLiteral("FIRMA01"));
    m_op->dosyalar.enqueue(dosya);
    m_op->onizlemede = [&](const Onizleme &o) {
        [&] {
            QCOMPARE(VeritabaniOzeti(*m_db, QStringLiteral("FIRMA01")), once);
            OnizlemeFrm pencere(o);
            pencere.show();
            QVERIFY(pencere.OzetLbl->text().contains(QStringLiteral("Güncellenen kart: 1")));
            QCOMPARE(pencere.KartlarGrd->model()->rowCount(), 45);
            pencere.TurCmb->setCurrentIndex(pencere.TurCmb->findText(QStringLiteral("Değişen")));
            QCOMPARE(pencere.KartlarGrd->model()->rowCount(), 1);
            pencere.KartlarGrd->setCurrentIndex(pencere.KartlarGrd->model()->index(0, 0));
            QCOMPARE(pencere.KartlarGrd->model()->index(0, OnizlemeModeli::StokKod).data().toString(), QStringLiteral("10003"));
            QAbstractItemModel *detay = pencere.DetayGrd->model();
            QCOMPARE(detay->index(0, OnizlemeDetayModeli::SutunAdi).data().toString(), QStringLiteral("Raf_Yeri"));
            QCOMPARE(detay->index(0, OnizlemeDetayModeli::Eski).data().toString(), QStringLiteral("Z-9"));
        }();
        return true;
    };
    const QRegularExpression onay("Gösterdiğiniz Dosya Okunacak .*Devam Etmek İstiyor musunuz\\?",
                                  QRegularExpression::DotMatchesEverythingOption);
    m_op->Bekle(onay, Etkilesim::Simge::Soru, Etkilesim::Evet);
    m_op->Bekle(QStringLiteral("İşlem Başarı ile Tamamlandı"), Etkilesim::Simge::Yok);
    m_op->Bekle(QStringLiteral("Yapılan Değişikliklerin Raporu Kaydedilsin mi?"), Etkilesim::Simge::Soru, Etkilesim::Hayir);
    QTest::keyClick(m_frm->FiltreGrd, Qt::Key_F5);
    QCOMPARE(m_op->onizlemeSayisi, 1);
    QVERIFY(VeritabaniOzeti(*m_db, QStringLiteral("FIRMA01")) != once);

    // DOSYADAN AL reads it once more: the dialog proposes the path just used.
    m_op->dosyalar.enqueue(dosya);
    m_op->Bekle(onay, Etkilesim::Simge::Soru, Etkilesim::Evet);
    m_op->Bekle(QStringLiteral("İşlem Başarı ile Tamamlandı"), Etkilesim::Simge::Yok);
    QTest::mouseClick(m_frm->DosyadanOkuBtn, Qt::LeftButton);
    QCOMPARE(m_op->onerilenDosyalar.last(), dosya);
    QVERIFY(m_frm->DosyaOlusturBtn->isEnabled() && m_frm->DosyadanOkuBtn->isEnabled() && m_frm->OnizleBtn->isEnabled());
    ProgramKlasorunuAyarla(QString());
}

int main(int argc, char *argv[])
{
    // The smallest workstation screen the program serves: 1024 x 768.
    QTemporaryFile ekran;
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen") && ekran.open()) {
        ekran.write(R"({"screens":[{"name":"s","x":0,"y":0,"width":1024,"height":768,)"
                    R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
        ekran.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + ekran.fileName().toLocal8Bit());
    }
    QApplication uygulama(argc, argv);
    QTEST_SET_MAIN_SOURCE_PATH
    FiltreFrmTesti test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_gui_filtrefrm.moc"
