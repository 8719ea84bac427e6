#include "common/ui/EkranEtkilesimi.h"
#include "common/ui/QtTurkcesi.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

// The screen's operator seam: the progress display follows a long command a few times a
// second and ends on its last values; the file dialog.
class EkranEtkilesimiTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void ilerlemeSeyrekAmaSonDegerde();
    void dosyaDiyalogu();
};

namespace {

struct SayanGorunum : IlerlemeGorunumu {
    void KartBarAyarla(double m, double d) override { maksimum = m, deger = d; }
    void BarFrameYaz(const QString &b) override { baslik = b; }
    void FrameBarGoster(bool g) override { gorunur = g; }
    void MesajLblYaz(const QString &m) override { metin = m, ++mesajSayisi; }
    double maksimum = 0, deger = 0;
    QString baslik, metin;
    bool gorunur = false;
    int mesajSayisi = 0;
};

} // namespace

void EkranEtkilesimiTesti::ilerlemeSeyrekAmaSonDegerde()
{
    SayanGorunum g;
    EkranEtkilesimi ekran;
    ekran.IlerlemeGorunumuKur(&g);
    // An import that reports every card for 600 ms.
    QElapsedTimer sure;
    sure.start();
    int kart = 0;
    ekran.FrameBarGoster(true);
    while (sure.elapsed() < 600) {
        ++kart;
        ekran.MesajLblYaz(QStringLiteral("KART %1 İsimli Stok Aktarılıyor.....").arg(kart));
        ekran.KartBarAyarla(1e9, kart);
        ekran.BarFrameYaz(QStringLiteral("%1%").arg(kart));
        ekran.BekleyenOlaylariIsle();
    }
    QVERIFY2(kart > 1000, qPrintable(QString::number(kart)));
    // A few repaints a second, not one per card.
    QVERIFY2(g.mesajSayisi >= 3 && g.mesajSayisi <= 600 / EkranEtkilesimi::GosterimAraligiMs + 2,
             qPrintable(QString::number(g.mesajSayisi)));
    // The frame hides on its last values.
    ekran.MesajLblYaz(QStringLiteral("son"));
    ekran.MesajLblYaz(QStringLiteral("en son"));
    ekran.BarFrameYaz(QStringLiteral("100%"));
    ekran.FrameBarGoster(false);
    QCOMPARE(g.metin, QStringLiteral("en son"));
    QCOMPARE(g.baslik, QStringLiteral("100%"));
    QCOMPARE(g.deger, double(kart));
    QVERIFY(!g.gorunur);

    // A value nothing follows still reaches the screen.
    ekran.MesajLblYaz(QStringLiteral("yalnız"));
    ekran.MesajLblYaz(QStringLiteral("yalnız kalan"));
    QTRY_COMPARE(g.metin, QStringLiteral("yalnız kalan"));
    // A screen that went (unregistered) gets nothing more.
    ekran.IlerlemeGorunumuKur(nullptr);
    ekran.MesajLblYaz(QStringLiteral("görünümsüz"));
    QTest::qWait(2 * EkranEtkilesimi::GosterimAraligiMs);
    QCOMPARE(g.metin, QStringLiteral("yalnız kalan"));
}

void EkranEtkilesimiTesti::dosyaDiyalogu()
{
    QVERIFY(QtTurkcesiniKur());
    QTemporaryDir klasor;
    QFile dosya(klasor.filePath(QStringLiteral("aralik.trn")));
    QVERIFY(dosya.open(QIODevice::WriteOnly));
    dosya.write(QByteArray(1234, 'x'));
    dosya.flush();
    QVERIFY(dosya.setFileTime(QDateTime(QDate(2023, 12, 5), QTime(14, 30)), QFileDevice::FileModificationTime));
    dosya.close();
    QVERIFY(QDir(klasor.path()).mkdir(QStringLiteral("alt")));

    bool bakildi = false;
    QTimer bekle;
    connect(&bekle, &QTimer::timeout, [&] {
        auto *diyalog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!diyalog || std::exchange(bakildi, true))
            return;
        // Checked in a function of its own, so that a failed check still closes the dialog.
        [&] {
            auto *liste = diyalog->findChild<QTreeView *>(QStringLiteral("treeView"));
            QVERIFY(liste);
            const auto satir = [&](const char *ad) {
                const QModelIndex ilk = liste->model()->index(0, 0, liste->rootIndex());
                return liste->model()->match(ilk, Qt::DisplayRole, QLatin1String(ad), 1, Qt::MatchExactly).value(0);
            };
            QVERIFY(QTest::qWaitFor([&] { return satir("aralik.trn").isValid() && satir("alt").isValid(); }));
            // Size, kind and date the Turkish way; a folder's kind has a Turkish word too.
            const QModelIndex d = satir("aralik.trn");
            QCOMPARE(d.siblingAtColumn(1).data().toString(), QStringLiteral("1,2 kB"));
            QCOMPARE(d.siblingAtColumn(3).data().toString(), QStringLiteral("05.12.2023 14:30"));
            QCOMPARE(satir("alt").siblingAtColumn(2).data().toString(), QStringLiteral("Klasör"));
            // Every column wide enough for what it shows, its caption in Turkish.
            for (int c = 0; c < 4; ++c)
                QVERIFY(liste->header()->sectionSize(c) >= static_cast<QAbstractItemView *>(liste)->sizeHintForColumn(c));
            QCOMPARE(diyalog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("İptal"));
        }();
        diyalog->reject();
    });
    bekle.start(20);

    EkranEtkilesimi ekran;
    QCOMPARE(ekran.DosyaSec(dosya.fileName(), Etkilesim::Dosya::Ac), std::nullopt);
    QVERIFY(bakildi);
}

QTEST_MAIN(EkranEtkilesimiTesti)
#include "tst_gui_ekranetkilesimi.moc"
