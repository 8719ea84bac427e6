#include "support/IceAktarimDenetimi.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <memory>

// The saved fuzzing corpus as a regression test: every file runs through the whole import
// with the properties the fuzzer checks, in a bounded time each.
class FuzzKorpusuTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void korpus_data();
    void korpus();

private:
    std::unique_ptr<IceAktarimDenetimi> m_denetim;
};

void FuzzKorpusuTesti::initTestCase()
{
    m_denetim = std::make_unique<IceAktarimDenetimi>();
    // The set-up itself must pass: a real export imports.
    IceAktarimOzeti ozet;
    QCOMPARE(m_denetim->Dene(m_denetim->OrnekDosya(), &ozet), QString());
    QVERIFY(ozet.basarili);
    QVERIFY(ozet.kartOlusturulan > 0);
}

void FuzzKorpusuTesti::korpus_data()
{
    QTest::addColumn<QString>("yol");
    const QString klasor = QFINDTESTDATA("fuzz-corpus");
    QVERIFY2(!klasor.isEmpty(), "tests/fuzz-corpus missing");
    const QDir dizin(klasor);
    const QStringList dosyalar = dizin.entryList(QDir::Files, QDir::Name);
    QVERIFY(dosyalar.size() >= 20);
    for (const QString &ad : dosyalar)
        QTest::newRow(qPrintable(ad)) << dizin.filePath(ad);
}

void FuzzKorpusuTesti::korpus()
{
    QFETCH(QString, yol);
    QFile f(yol);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QElapsedTimer sure;
    sure.start();
    const QString sorun = m_denetim->Dene(f.readAll());
    QVERIFY2(sorun.isEmpty(), qPrintable(sorun));
    QVERIFY2(sure.elapsed() < 5000, qPrintable(QStringLiteral("%1 ms").arg(sure.elapsed())));
}

QTEST_GUILESS_MAIN(FuzzKorpusuTesti)
#include "tst_fuzzkorpusu.moc"
