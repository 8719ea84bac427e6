#include "support/KartDurumlari.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

// Two operators import the same file into one company at the same time (two command-line
// imports started together), several times over: never a duplicate card, both succeed (or one
// reports the lock it waited for in vain), and the company ends as after one import.
class EszamanliAktarimTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void ikiAktarimAyniAnda();

private:
    QProcess *Baslat(const QStringList &argumanlar);
    int Calistir(const QStringList &argumanlar, QString *cikti = nullptr);
    QStringList IceAktar(const QString &server) const;
    QString Hedef(const QString &klasor) const { return QDir(klasor).filePath("FIRMA02.sqlite"); }
    // The count after one of the summary's captions.
    static int Sayi(const QString &cikti, const QString &baslik);

    QString m_cli;
    QTemporaryDir m_klasor;
    QString m_demo, m_dosya;
};

void EszamanliAktarimTesti::initTestCase()
{
    m_cli = qEnvironmentVariable("STOKTRANSFER_CLI");
    if (m_cli.isEmpty() || !QFile::exists(m_cli))
        QSKIP("STOKTRANSFER_CLI not set");
    qputenv("STOKTRANSFER_PASSWORD", "1234");
    m_demo = QDir(m_klasor.path()).filePath("demo");
    m_dosya = QDir(m_klasor.path()).filePath("tum.trn");
    // Large enough that the two imports overlap for most of their run.
    QCOMPARE(Calistir({"demo", m_demo, "--cards", "6000", "--prices", "3"}), 0);
    QCOMPARE(Calistir({"export", "--server", m_demo, "--user", "torvela", "--company", "01", m_dosya}), 0);
}

QStringList EszamanliAktarimTesti::IceAktar(const QString &server) const
{
    return {"import", "--server", server, "--user", "torvela", "--company", "02", m_dosya};
}

QProcess *EszamanliAktarimTesti::Baslat(const QStringList &argumanlar)
{
    auto *p = new QProcess(this);
    p->start(m_cli, argumanlar);
    p->waitForStarted();
    return p;
}

int EszamanliAktarimTesti::Calistir(const QStringList &argumanlar, QString *cikti)
{
    QProcess *p = Baslat(argumanlar);
    p->waitForFinished(120000);
    if (cikti)
        *cikti = QString::fromUtf8(p->readAllStandardOutput());
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
    QFile::copy(Hedef(m_demo), QDir(m_klasor.path()).filePath("ilk.sqlite"));
    const QString ilk = QDir(m_klasor.path()).filePath("ilk.sqlite");

    // One import alone: the end state and the figures.
    QTemporaryDir tek;
    QVERIFY(QFile::copy(ilk, Hedef(tek.path())));
    QVERIFY(QFile::copy(QDir(m_demo).filePath("Defination_DB.sqlite"), QDir(tek.path()).filePath("Defination_DB.sqlite")));
    QString tekCikti;
    QCOMPARE(Calistir(IceAktar(tek.path()), &tekCikti), 0);
    const auto beklenen = KartDurumlari(Hedef(tek.path()));
    const int olusturulan = Sayi(tekCikti, "Oluşturulan kart");
    QVERIFY(olusturulan > 1000);

    int ikisiBasarili = 0;
    for (int deneme = 0; deneme < 4; ++deneme) {
        QFile::remove(Hedef(m_demo));
        QFile::remove(Hedef(m_demo) + "-wal");
        QFile::remove(Hedef(m_demo) + "-shm");
        QVERIFY(QFile::copy(ilk, Hedef(m_demo)));
        QProcess *a = Baslat(IceAktar(m_demo));
        QProcess *b = Baslat(IceAktar(m_demo));
        QVERIFY(a->waitForFinished(120000) && b->waitForFinished(120000));
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
        const QString ad = QUuid::createUuid().toString();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", ad);
            db.setDatabaseName(Hedef(m_demo));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("SELECT count(*) FROM (SELECT Stok_Kod FROM STOKKART GROUP BY Stok_Kod HAVING count(*) > 1)"));
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toInt(), 0);
            db.close();
        }
        QSqlDatabase::removeDatabase(ad);
        // Every card created once, by one or the other.
        QCOMPARE(olusturulanlar, olusturulan);
        QCOMPARE(KartDurumlari(Hedef(m_demo)), beklenen);
    }
    qInfo("4 trials of two imports at once: both succeeded in %d, one waited in vain for the lock in %d",
          ikisiBasarili, 4 - ikisiBasarili);
}

QTEST_GUILESS_MAIN(EszamanliAktarimTesti)
#include "tst_eszamanliaktarim.moc"
