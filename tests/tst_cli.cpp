#include "demo/SqlServerDemoYazici.h"
#include "support/TestVeritabani.h"
#include "support/VeritabaniOzeti.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <cerrno>
#include <csignal>
#include <functional>
#include <sys/resource.h>

// stoktransfer-cli end to end, against a demo back-office in a temporary folder.
class CliTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void listeFiltreleriyle();
    void aktarimOzetiVeritabaninaVeDenemeyeUyar();
    void cikisKodlari_data();
    void cikisKodlari();
    void varOlanDosyaZorlanmadanYazilmaz();
    void demoVarOlaniZorlanmadanDegistirmez();
    void demoKodSayfasi1252Sunucuda();

private:
    struct Sonuc {
        int kod = -1;
        QString cikti, hata;
    };
    // `cocukta` runs in the child before the program starts (limits of the process).
    Sonuc Calistir(const QStringList &arglar, const QString &sifre = QStringLiteral("1234"),
                   const std::function<void()> &cocukta = {});
    // The login options for a company, on the test's back-office or on `server`.
    QStringList Giris(const QString &firma, const QString &server = QString()) const;
    QMap<QString, int> Ozet(const QString &cikti) const;

    QString m_cli;
    TestVeritabani *m_db = nullptr;
};

void CliTesti::initTestCase()
{
    m_cli = qEnvironmentVariable("STOKTRANSFER_CLI");
    QVERIFY2(QFile::exists(m_cli), "STOKTRANSFER_CLI must name the built program");
}

void CliTesti::init()
{
    m_db = new TestVeritabani;
    const Sonuc demo = Calistir(QStringList{QStringLiteral("demo")} + m_db->DemoArgumanlari()
                                    + QStringList{QStringLiteral("--cards"), QStringLiteral("120")},
                                m_db->DemoSifresi());
    QVERIFY2(demo.kod == 0, qPrintable(demo.hata));
}

void CliTesti::cleanup()
{
    delete m_db;
}

CliTesti::Sonuc CliTesti::Calistir(const QStringList &arglar, const QString &sifre, const std::function<void()> &cocukta)
{
    QProcess surec;
    if (cocukta)
        surec.setChildProcessModifier(cocukta);
    QProcessEnvironment ortam = QProcessEnvironment::systemEnvironment();
    ortam.insert(QStringLiteral("STOKTRANSFER_PASSWORD"), sifre);
    surec.setProcessEnvironment(ortam);
    surec.start(m_cli, arglar);
    surec.waitForFinished(120000);
    return {surec.exitCode(), QString::fromUtf8(surec.readAllStandardOutput()), QString::fromUtf8(surec.readAllStandardError())};
}

QStringList CliTesti::Giris(const QString &firma, const QString &server) const
{
    return {QStringLiteral("--server"), server.isEmpty() ? m_db->Server() : server, QStringLiteral("--user"), QStringLiteral("torvela"),
            QStringLiteral("--company"), firma};
}

QMap<QString, int> CliTesti::Ozet(const QString &cikti) const
{
    QMap<QString, int> ozet;
    static const QRegularExpression satir(QStringLiteral(R"(^([^:\n]+): (\d+)$)"), QRegularExpression::MultilineOption);
    for (auto it = satir.globalMatch(cikti); it.hasNext();) {
        const auto e = it.next();
        ozet.insert(e.captured(1), e.captured(2).toInt());
    }
    return ozet;
}

void CliTesti::listeFiltreleriyle()
{
    const Sonuc s = Calistir(QStringList{QStringLiteral("list")} + Giris(QStringLiteral("01"))
                             + QStringList{QStringLiteral("--set"), QStringLiteral("Stok Kodu=10010"),
                                           QStringLiteral("--end"), QStringLiteral("Stok Kodu=10020"),
                                           QStringLiteral("--set"), QStringLiteral("Alış/Satış=Satış")});
    QCOMPARE(s.kod, 0);
    const QStringList satirlar = s.cikti.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(satirlar.first(),
             QStringLiteral("SELECT STOKKART.Stok_ID, STOKKART.Stok_Kod,STOKKART.Stok_Ad,KDVGRUPLARI.Departman_No,"
                            "AKTIFSTOKFIYAT.Ana_Birim_Fiyat FROM KDVGRUPLARI,STOKKART LEFT JOIN AKTIFSTOKFIYAT "
                            "ON(STOKKART.Stok_ID=AKTIFSTOKFIYAT.Stok_ID AND AKTIFSTOKFIYAT.On_Deger=1) WHERE "
                            "STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID  AND STOKKART.Stok_Kod >='10010' AND "
                            "STOKKART.Stok_Kod<='10020' ORDER BY STOKKART.Stok_Kod"));
    QCOMPARE(satirlar.size(), 1 + 11 + 1);
    QCOMPARE(satirlar[1], QStringLiteral("1\t10010\tTOZ ŞEKER 250 GR\t34,96"));
    QCOMPARE(satirlar.last(), QStringLiteral("LİSTELENEN KAYIT SAYISI : 11"));
}

void CliTesti::aktarimOzetiVeritabaninaVeDenemeyeUyar()
{
    const QString dosya = m_db->Klasor() + QStringLiteral("/aktarim.trn");
    const Sonuc disa = Calistir(QStringList{QStringLiteral("export")} + Giris(QStringLiteral("01")) + QStringList{dosya});
    QCOMPARE(disa.kod, 0);
    const auto disaOzet = Ozet(disa.cikti);
    QCOMPARE(disaOzet.value(QStringLiteral("Stok kartları")), 120);
    QCOMPARE(disaOzet.value(QStringLiteral("KDV grupları")), 5);
    QCOMPARE(disaOzet.value(QStringLiteral("Fiyat satırları")), 430);

    const QString hedef = QStringLiteral("FIRMA02");
    const QByteArray once = VeritabaniOzeti(*m_db, hedef);
    const int kartOnce = m_db->Deger(hedef, QStringLiteral("SELECT count(*) FROM STOKKART")).toInt();
    const int fiyatOnce = m_db->Deger(hedef, QStringLiteral("SELECT count(*) FROM STOKFIYAT")).toInt();

    // Each run writes its change report; the dry run's is the real one's.
    const QString denemeRaporu = m_db->Klasor() + QStringLiteral("/deneme.csv");
    const QString gercekRaporu = m_db->Klasor() + QStringLiteral("/gercek.csv");
    const Sonuc deneme = Calistir(QStringList{QStringLiteral("import")} + Giris(QStringLiteral("02"))
                                  + QStringList{QStringLiteral("--dry-run"), QStringLiteral("--report"), denemeRaporu, dosya});
    QCOMPARE(deneme.kod, 0);
    QCOMPARE(VeritabaniOzeti(*m_db, hedef), once);

    const Sonuc gercek = Calistir(QStringList{QStringLiteral("import")} + Giris(QStringLiteral("02"))
                                  + QStringList{QStringLiteral("--report"), gercekRaporu, dosya});
    QCOMPARE(gercek.kod, 0);
    QVERIFY(gercek.hata.contains(QStringLiteral("İşlem Başarı ile Tamamlandı")));
    const QMap<QString, int> ozet{{"Oluşturulan kart", 60},        {"Güncellenen kart", 30},         {"Değişmeyen kart", 30},
                                  {"Oluşturulan fiyat satırı", 216}, {"Güncellenen fiyat satırı", 106}, {"Eklenen fiyat tanımı", 0},
                                  {"Güncellenen fiyat tanımı", 0}};
    QCOMPARE(Ozet(gercek.cikti), ozet);
    QCOMPARE(Ozet(deneme.cikti), ozet);
    QCOMPARE(m_db->Deger(hedef, QStringLiteral("SELECT count(*) FROM STOKKART")).toInt() - kartOnce, 60);
    QCOMPARE(m_db->Deger(hedef, QStringLiteral("SELECT count(*) FROM STOKFIYAT")).toInt() - fiyatOnce, 216);
    // Every source card now stands in the target with the source's name.
    QCOMPARE(m_db->Deger(hedef, QStringLiteral("SELECT count(*) FROM STOKKART WHERE Stok_Kod < '90000' AND Stok_Ad LIKE '%(ŞUBE)'")).toInt(), 0);

    const auto rapor = [](const QString &yol) {
        QFile f(yol);
        QStringList satirlar;
        if (f.open(QIODevice::ReadOnly))
            for (const QString &s : QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n")))
                satirlar << s.section(QLatin1Char(';'), 1); // without the time
        return satirlar;
    };
    QVERIFY2(gercek.cikti.contains(QStringLiteral("Rapor yazıldı: %1 (").arg(gercekRaporu)), qPrintable(gercek.cikti));
    QVERIFY(rapor(gercekRaporu).size() > 100);
    QCOMPARE(rapor(denemeRaporu), rapor(gercekRaporu));
    // Nothing left to change: no report.
    const Sonuc ucuncu = Calistir(QStringList{QStringLiteral("import")} + Giris(QStringLiteral("02"))
                                  + QStringList{QStringLiteral("--report"), m_db->Klasor() + QStringLiteral("/bos.csv"), dosya});
    QVERIFY2(ucuncu.cikti.contains(QStringLiteral("Değişiklik yok; rapor yazılmadı.")), qPrintable(ucuncu.cikti));
    QVERIFY(!QFile::exists(m_db->Klasor() + QStringLiteral("/bos.csv")));
}

void CliTesti::cikisKodlari_data()
{
    QTest::addColumn<QStringList>("arglar");
    QTest::addColumn<QString>("sifre");
    QTest::addColumn<int>("kod");
    QTest::addColumn<QString>("mesaj");
    const QString yok = QStringLiteral("/yok/aktarim.trn");
    QTest::newRow("wrong password") << QStringList{"list", "--user", "torvela", "--company", "01"} << "yanlis" << 1
                                    << "Kullanını adınızı ve şifrenizi kontrol ediniz.";
    QTest::newRow("injected user name") << QStringList{"list", "--user", "' OR '1'='1", "--company", "01"} << "Sır-7%'x" << 1
                                        << "Kullanını adınızı ve şifrenizi kontrol ediniz.";
    // A password on the command line would show in the process list: there is no such option.
    for (const char *secenek : {"--password", "--pass", "-p"})
        QTest::newRow(secenek) << QStringList{"list", "--user", "torvela", "--company", "01", secenek, "1234"} << "1234" << 2 << secenek;
    QTest::newRow("unknown company") << QStringList{"list", "--user", "torvela", "--company", "77"} << "1234" << 1 << "77";
    QTest::newRow("unknown caption") << QStringList{"list", "--user", "torvela", "--company", "01", "--set", "Renk=Mavi"}
                                     << "1234" << 2 << "Renk";
    QTest::newRow("value outside the list") << QStringList{"list", "--user", "torvela", "--company", "01", "--set", "Fiyat1=Belki"}
                                            << "1234" << 2 << "Belki";
    QTest::newRow("text in a numeric row") << QStringList{"list", "--user", "torvela", "--company", "01", "--set", "Alış İskontosu=beş"}
                                           << "1234" << 1 << "Alış İskontosu";
    QTest::newRow("report not overwritten") << QStringList{"import", "--user", "torvela", "--company", "02", "--report",
                                                           QCoreApplication::applicationFilePath(), yok}
                                            << "1234" << 1 << "--force";
    QTest::newRow("report folder missing") << QStringList{"import", "--user", "torvela", "--company", "02", "--report", "/yok/r.csv", yok}
                                           << "1234" << 1 << "Rapor dosyası açılamadı: /yok/r.csv";
    QTest::newRow("usage: no company") << QStringList{"list", "--user", "torvela"} << "1234" << 2 << "--company";
    QTest::newRow("usage: unknown option") << QStringList{"list", "--user", "torvela", "--company", "01", "--renk"} << "1234" << 2 << "--renk";
}

void CliTesti::cikisKodlari()
{
    QFETCH(QStringList, arglar);
    QFETCH(QString, sifre);
    QFETCH(int, kod);
    QFETCH(QString, mesaj);
    arglar.insert(1, QStringLiteral("--server"));
    arglar.insert(2, m_db->Server());
    const Sonuc s = Calistir(arglar, sifre);
    QCOMPARE(s.kod, kod);
    QVERIFY2(s.hata.contains(mesaj), qPrintable(s.hata));
    QVERIFY(!s.hata.contains(sifre) || sifre == u"1234");
}

void CliTesti::varOlanDosyaZorlanmadanYazilmaz()
{
    const QString dosya = m_db->Klasor() + QStringLiteral("/var.trn");
    const auto icerik = [&] {
        QFile f(dosya);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    QFile f(dosya);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write("eski\r\n") == 6);
    f.close();
    QCOMPARE(Calistir(QStringList{QStringLiteral("export")} + Giris(QStringLiteral("01")) + QStringList{dosya}).kod, 1);
    QCOMPARE(icerik(), QByteArray("eski\r\n"));
    const QStringList zorla = QStringList{QStringLiteral("export")} + Giris(QStringLiteral("01"))
                              + QStringList{QStringLiteral("--force"), dosya};

    // The disk fills up while the file is written (here: files of the process may not pass
    // 48 KB): the message gives the system's reason, the old file stays, nothing else is left.
    const QStringList klasorOnce = QDir(m_db->Klasor()).entryList(QDir::Files);
    const Sonuc dolu = Calistir(zorla, QStringLiteral("1234"), [] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit sinir{48 * 1024, 48 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &sinir);
    });
    QCOMPARE(dolu.kod, 1);
    QVERIFY2(dolu.hata.contains(QStringLiteral("Transfer Dosyası Oluşturulamadı.")), qPrintable(dolu.hata));
    QVERIFY2(dolu.hata.contains(qt_error_string(EFBIG)) && dolu.hata.contains(QStringLiteral("var.trn")), qPrintable(dolu.hata));
    QVERIFY2(!dolu.hata.contains(QStringLiteral("Unknown error")), qPrintable(dolu.hata));
    QCOMPARE(icerik(), QByteArray("eski\r\n"));
    QCOMPARE(QDir(m_db->Klasor()).entryList(QDir::Files), klasorOnce);

    QCOMPARE(Calistir(zorla).kod, 0);
    QVERIFY(icerik().startsWith("<KDVGRUPLARI>\r\n"));
    QVERIFY(icerik().size() > 48 * 1024);
}

void CliTesti::demoVarOlaniZorlanmadanDegistirmez()
{
    // Over the back-office init() wrote: refused without --force, and nothing replaced.
    QStringList arglar = m_db->DemoArgumanlari();
    arglar.removeAll(QStringLiteral("--force"));
    const Sonuc s = Calistir(QStringList{QStringLiteral("demo")} + arglar + QStringList{QStringLiteral("--cards"), QStringLiteral("7")},
                             m_db->DemoSifresi());
    QCOMPARE(s.kod, 1);
    QVERIFY2(s.hata.contains(QStringLiteral("--force")) && s.hata.contains(QStringLiteral("FIRMA01")), qPrintable(s.hata));
    QCOMPARE(m_db->Deger(QStringLiteral("FIRMA01"), QStringLiteral("SELECT count(*) FROM STOKKART")).toInt(), 120);
    // A login belongs to a server, not to a folder.
    if (!TestVeritabani::SqlServerMi())
        QCOMPARE(Calistir({QStringLiteral("demo"), m_db->Klasor(), QStringLiteral("--user"), QStringLiteral("sa")}).kod, 2);
}

void CliTesti::demoKodSayfasi1252Sunucuda()
{
    // On a server of code page 1252 the demo's Unicode columns keep every Turkish letter, and a
    // user whose name has a letter that code page lacks ("KASİYER") logs in.
    const QStringList latin1 = qEnvironmentVariable("STOKTRANSFER_TEST_MSSQL_LATIN1").split(QLatin1Char(';'));
    if (!TestVeritabani::SqlServerMi() || latin1.size() != 3)
        QSKIP("no SQL_Latin1_General_CP1_CI_AS server: STOKTRANSFER_TEST_MSSQL_LATIN1 is not set");
    SqlServerDemoYazici(latin1[0], latin1[1], latin1[2]).Calistir(TestVeritabani::SunucuHazirligi());
    const Sonuc demo = Calistir({"demo", latin1[0], "--user", latin1[1], "--force", "--cards", "12"}, latin1[2]);
    QVERIFY2(demo.kod == 0, qPrintable(demo.hata));
    const Sonuc liste = Calistir({"list", "--server", latin1[0], "--user", "kasiyer", "--company", "02"}, QStringLiteral("kasa"));
    QVERIFY2(liste.kod == 0, qPrintable(liste.hata));
    QVERIFY2(liste.cikti.contains(QStringLiteral("\t10003\tBEYAZ PEYNİR 250 GR (ŞUBE)\t")), qPrintable(liste.cikti));
}

QTEST_GUILESS_MAIN(CliTesti)
#include "tst_cli.moc"
