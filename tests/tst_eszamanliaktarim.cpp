#include "common/Saat.h"
#include "state/Degiskenler.h"
#include "transfer/DosyadanAl.h"
#include "support/KartDurumlari.h"
#include "support/SahteEtkilesim.h"
#include "support/TestVeritabani.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <memory>

// Two operators import the same file into one company at the same time (two command-line
// imports started together), several times over: never a duplicate card, both succeed (or one
// reports the lock it waited for in vain), every card is created once, and the company ends as
// after one import.
class EszamanliAktarimTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void ikiAktarimAyniAnda();

private:
    QProcess *Baslat(const QStringList &argumanlar);
    int Calistir(const QStringList &argumanlar, const QString &sifre = QStringLiteral("1234"));
    QStringList IceAktar() const;
    // The count after one of the summary's captions.
    static int Sayi(const QString &cikti, const QString &baslik);

    QString m_cli;
    std::unique_ptr<TestVeritabani> m_db;
    QString m_dosya;
};

namespace {
const QString Hedef = QStringLiteral("FIRMA02");
const QString Ilk = QStringLiteral("FIRMA02_ILK");
const QString Tek = QStringLiteral("FIRMA02_TEK");
} // namespace

void EszamanliAktarimTesti::initTestCase()
{
    m_cli = qEnvironmentVariable("STOKTRANSFER_CLI");
    if (m_cli.isEmpty() || !QFile::exists(m_cli))
        QSKIP("STOKTRANSFER_CLI not set");
    m_db = std::make_unique<TestVeritabani>();
    m_dosya = QDir(m_db->Klasor()).filePath("tum.trn");
    // Large enough that the two imports overlap for most of their run (on SQL Server a card
    // takes many times longer).
    const QString kartlar = TestVeritabani::SqlServerMi() ? QStringLiteral("300") : QStringLiteral("6000");
    QCOMPARE(Calistir(QStringList{"demo"} + m_db->DemoArgumanlari() + QStringList{"--cards", kartlar, "--prices", "3"},
                      m_db->DemoSifresi()),
             0);
    QCOMPARE(Calistir({"export", "--server", m_db->Server(), "--user", "torvela", "--company", "01", m_dosya}), 0);
}

QStringList EszamanliAktarimTesti::IceAktar() const
{
    return {"import", "--server", m_db->Server(), "--user", "torvela", "--company", "02", m_dosya};
}

QProcess *EszamanliAktarimTesti::Baslat(const QStringList &argumanlar)
{
    auto *p = new QProcess(this);
    p->start(m_cli, argumanlar);
    p->waitForStarted();
    return p;
}

int EszamanliAktarimTesti::Calistir(const QStringList &argumanlar, const QString &sifre)
{
    qputenv("STOKTRANSFER_PASSWORD", sifre.toUtf8());
    QProcess *p = Baslat(argumanlar);
    p->waitForFinished(300000);
    const int kod = p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
    delete p;
    return kod;
}

int EszamanliAktarimTesti::Sayi(const QString &cikti, const QString &baslik)
{
    const auto e = QRegularExpression(QRegularExpression::escape(baslik) + QStringLiteral(": (\\d+)")).match(cikti);
    return e.hasMatch() ? e.captured(1).toInt() : -1;
}

void EszamanliAktarimTesti::ikiAktarimAyniAnda()
{
    m_db->Kopyala(Hedef, Ilk);
    // One import alone, on a copy: the end state and the cards it creates.
    m_db->Kopyala(Hedef, Tek);
    int olusturulan = 0;
    {
        SessizEtkilesim sessiz;
        OperatorKur(&sessiz);
        BugunuAyarla(QDate::currentDate());
        m_db->Baglan(Tek);
        const IceAktarimOzeti ozet = AktarimDosyasiUygula(m_dosya);
        Degiskenler::Sifirla();
        BugunuAyarla(QDate());
        OperatorKur(nullptr);
        QVERIFY2(ozet.basarili, qPrintable(ozet.mesaj));
        olusturulan = ozet.kartOlusturulan;
    }
    const auto beklenen = KartDurumlari(*m_db, Tek);
    QVERIFY(olusturulan > 100);

    constexpr int Deneme = 4;
    int ikisiBasarili = 0;
    qputenv("STOKTRANSFER_PASSWORD", "1234");
    for (int deneme = 0; deneme < Deneme; ++deneme) {
        if (deneme > 0)
            m_db->Kopyala(Ilk, Hedef);
        QProcess *a = Baslat(IceAktar());
        QProcess *b = Baslat(IceAktar());
        QVERIFY(a->waitForFinished(300000) && b->waitForFinished(300000));
        int basarili = 0, olusturulanlar = 0;
        for (QProcess *p : {a, b}) {
            const QString cikti = QString::fromUtf8(p->readAllStandardOutput());
            const QString hata = QString::fromUtf8(p->readAllStandardError());
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            if (p->exitCode() == 0) {
                ++basarili;
            } else {
                // The only failure allowed: the other held the company past the lock wait.
                QCOMPARE(p->exitCode(), 1);
                QVERIFY2(hata.contains("başka bir bağlantı tarafından kilitli"), qPrintable(hata));
            }
            olusturulanlar += Sayi(cikti, "Oluşturulan kart");
        }
        delete a;
        delete b;
        ikisiBasarili += basarili == 2;
        QCOMPARE(m_db->Deger(Hedef, "SELECT count(*) FROM (SELECT Stok_Kod FROM STOKKART GROUP BY Stok_Kod "
                                    "HAVING count(*) > 1) ciftler").toInt(),
                 0);
        // Every card created once, by one or the other.
        QCOMPARE(olusturulanlar, olusturulan);
        QCOMPARE(KartDurumlari(*m_db, Hedef), beklenen);
    }
    qInfo("%d trials of two imports at once: both succeeded in %d, one waited in vain for the lock in %d", Deneme,
          ikisiBasarili, Deneme - ikisiBasarili);
}

QTEST_GUILESS_MAIN(EszamanliAktarimTesti)
#include "tst_eszamanliaktarim.moc"
