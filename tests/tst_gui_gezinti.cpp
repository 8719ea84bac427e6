#include "common/ui/Gezinti.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

// Focus navigation by the controls' Tags, outside any particular screen.
class GezintiTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void tusKodlari();
    void hedefler_data();
    void hedefler();
    void imlecKontrolu_data();
    void imlecKontrolu();
    void tumunuSec();

private:
    QLineEdit *Kutu(const QString &ad, const QString &tag = QString(), int indeks = -1);
    std::unique_ptr<QWidget> m_ekran;
};

void GezintiTesti::init()
{
    m_ekran = std::make_unique<QWidget>();
    m_ekran->setLayout(new QVBoxLayout);
}

void GezintiTesti::cleanup()
{
    m_ekran.reset();
}

QLineEdit *GezintiTesti::Kutu(const QString &ad, const QString &tag, int indeks)
{
    auto *k = new QLineEdit(m_ekran.get());
    k->setObjectName(ad);
    k->setProperty("Tag", tag);
    if (indeks >= 0)
        k->setProperty("Index", indeks);
    m_ekran->layout()->addWidget(k);
    return k;
}

void GezintiTesti::tusKodlari()
{
    const struct {
        Qt::Key tus;
        int kod;
    } tablo[] = {{Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_Left, 37}, {Qt::Key_Up, 38},
                 {Qt::Key_Right, 39}, {Qt::Key_Down, 40}, {Qt::Key_Tab, 0}, {Qt::Key_A, 0}};
    for (const auto &t : tablo) {
        QKeyEvent olay(QEvent::KeyPress, t.tus, Qt::NoModifier);
        QCOMPARE(TusKodu(&olay), t.kod);
    }
}

void GezintiTesti::hedefler_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("kod");
    QTest::addColumn<QString>("beklenen");
    // Controls: kaynak, A, B (disabled), C (hidden), D(0), D(1).
    QTest::newRow("left field") << "A;B;C;D" << 37 << "A";
    QTest::newRow("down field") << "x;x;x;A" << 40 << "A";
    QTest::newRow("enter uses the down field") << "x;x;x;A" << 13 << "A";
    QTest::newRow("case ignored") << "x;a;x;x" << 38 << "A";
    QTest::newRow("disabled skipped to next target") << "x;x;B|A;x" << 39 << "A";
    QTest::newRow("hidden skipped to next target") << "C|A;x;x;x" << 37 << "A";
    QTest::newRow("unknown name stops the search") << "x;x;x;ASD|A" << 40 << "kaynak";
    QTest::newRow("array element by index") << "x;x;x;D(1)" << 40 << "D1";
    QTest::newRow("missing index matches nothing") << "x;x;x;D(5)|A" << 40 << "kaynak";
    QTest::newRow("no usable target stays") << "x;x;x;B|C" << 40 << "kaynak";
    QTest::newRow("fewer than four fields") << "A;A" << 40 << "kaynak";
    QTest::newRow("empty tag") << "" << 38 << "kaynak";
    QTest::newRow("other key") << "A;A;A;A" << 9 << "kaynak";
}

void GezintiTesti::hedefler()
{
    QFETCH(QString, tag);
    QFETCH(int, kod);
    QFETCH(QString, beklenen);
    QLineEdit *kaynak = Kutu(QStringLiteral("kaynak"), tag);
    Kutu(QStringLiteral("A"));
    Kutu(QStringLiteral("B"))->setEnabled(false);
    Kutu(QStringLiteral("C"))->hide();
    Kutu(QStringLiteral("D"), QString(), 0)->setAccessibleName(QStringLiteral("D0"));
    Kutu(QStringLiteral("D"), QString(), 1)->setAccessibleName(QStringLiteral("D1"));
    m_ekran->show();
    m_ekran->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_ekran.get()));
    kaynak->setFocus();
    KontrolGezinti(m_ekran.get(), kod, kaynak, false);
    QWidget *odak = m_ekran->focusWidget();
    const QString ad = odak->accessibleName().isEmpty() ? odak->objectName() : odak->accessibleName();
    QCOMPARE(ad, beklenen);
}

void GezintiTesti::imlecKontrolu_data()
{
    QTest::addColumn<int>("kod");
    QTest::addColumn<int>("imlec");
    QTest::addColumn<bool>("kontrol");
    QTest::addColumn<bool>("hareket");
    QTest::newRow("left at start moves") << 37 << 0 << true << true;
    QTest::newRow("left in the middle stays") << 37 << 2 << true << false;
    QTest::newRow("right at end moves") << 39 << 5 << true << true;
    QTest::newRow("right in the middle stays") << 39 << 2 << true << false;
    QTest::newRow("no check: middle moves") << 37 << 2 << false << true;
    QTest::newRow("up ignores the caret") << 38 << 2 << true << true;
}

void GezintiTesti::imlecKontrolu()
{
    QFETCH(int, kod);
    QFETCH(int, imlec);
    QFETCH(bool, kontrol);
    QFETCH(bool, hareket);
    QLineEdit *kaynak = Kutu(QStringLiteral("kaynak"), QStringLiteral("A;A;A;A"));
    QLineEdit *a = Kutu(QStringLiteral("A"));
    m_ekran->show();
    m_ekran->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_ekran.get()));
    kaynak->setText(QStringLiteral("abcde"));
    kaynak->setFocus();
    kaynak->setCursorPosition(imlec);
    KontrolGezinti(m_ekran.get(), kod, kaynak, kontrol);
    QCOMPARE(m_ekran->focusWidget() == a, hareket);
}

void GezintiTesti::tumunuSec()
{
    QLineEdit *k = Kutu(QStringLiteral("k"));
    k->setText(QStringLiteral("İSTANBUL"));
    k->setCursorPosition(3);
    TumunuSec(k);
    QCOMPARE(k->selectedText(), QStringLiteral("İSTANBUL"));
    QCOMPARE(k->selectionStart(), 0);
    QCOMPARE(k->cursorPosition(), 0);
}

QTEST_MAIN(GezintiTesti)
#include "tst_gui_gezinti.moc"
