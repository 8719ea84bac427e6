#include "state/Baglanti.h"
#include "state/Recordset.h"
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
    void disaVeIceAktarimOzetiVeritabaninaUyar();
    void denemeGercegiyleAyniOzetiVerirVeDegistirmez();
    void ikiArkaUcAyniDosyaVeAyniSonDurum();
    void cikisKodlari_data();
    void cikisKodlari();
    void varOlanDosyaZorlanmadanYazilmaz();
    void demoVarOlaniZorlanmadanDegistirmez();

private:
    struct Sonuc {
        int kod = -1;
        QString cikti, hata;
    };
    // `cocukta` runs in the child before the program starts (limits of the process).
    Sonuc Calistir(const QStringList &arglar, const QString &sifre = QStringLiteral("1234"),
                   const std::function<void()> &cocukta = {});
    QStringList Giris(const QString &firma) const;
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

QStringList CliTesti::Giris(const QString &firma) const
{
    return {QStringLiteral("--server"), m_db->Server(), QStringLiteral("--user"), QStringLiteral("torvela"),
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
    const QString fiyat = m_db->Deger(QStringLiteral("FIRMA01"),
                                      QStringLiteral("SELECT Ana_Birim_Fiyat FROM STOKFIYAT f JOIN STOKKART k ON k.Stok_ID=f.Stok_ID "
                                                     "WHERE k.Stok_Kod='10010' AND f.Fiyat_Sira_No=1")).toString().replace('.', ',');
    const QString ad = m_db->Deger(QStringLiteral("FIRMA01"), QStringLiteral("SELECT Stok_Ad FROM STOKKART WHERE Stok_Kod='10010'")).toString();
    QCOMPARE(satirlar[1], QStringLiteral("1\t10010\t%1\t%2").arg(ad, fiyat));
    QCOMPARE(satirlar.last(), QStringLiteral("LİSTELENEN KAYIT SAYISI : 11"));
}

void CliTesti::disaVeIceAktarimOzetiVeritabaninaUyar()
{
    const QString dosya = m_db->Klasor() + QStringLiteral("/aktarim.trn");
    const Sonuc disa = Calistir(QStringList{QStringLiteral("export")} + Giris(QStringLiteral("01")) + QStringList{dosya});
    QCOMPARE(disa.kod, 0);
    const auto disaOzet = Ozet(disa.cikti);
    QCOMPARE(disaOzet.value(QStringLiteral("Stok kartları")), 120);
    QCOMPARE(disaOzet.value(QStringLiteral("KDV grupları")), 5);
    QCOMPARE(disaOzet.value(QStringLiteral("Fiyat satırları")),
             m_db->Deger(QStringLiteral("FIRMA01"), QStringLiteral("SELECT count(*) FROM STOKFIYAT")).toInt());

    const QString hedef = QStringLiteral("FIRMA02");
    const int kartOnce = m_db->Deger(hedef, QStringLiteral("SELECT count(*) FROM STOKKART")).toInt();
    const int fiyatOnce = m_db->Deger(hedef, QStringLiteral("SELECT count(*) FROM STOKFIYAT")).toInt();
    const int ortak = m_db->Deger(hedef, QStringLiteral("SELECT count(*) FROM STOKKART WHERE Stok_Kod < '90000'")).toInt();

    const Sonuc ice = Calistir(QStringList{QStringLiteral("import")} + Giris(QStringLiteral("02")) + QStringList{dosya});
    QCOMPARE(ice.kod, 0);
    const auto ozet = Ozet(ice.cikti);
    QCOMPARE(ozet.value(QStringLiteral("Oluşturulan kart")),
             m_db->Deger(hedef, QStringLiteral("SELECT count(*) FROM STOKKART")).toInt() - kartOnce);
    QCOMPARE(ozet.value(QStringLiteral("Oluşturulan kart")), 120 - ortak);
    QCOMPARE(ozet.value(QStringLiteral("Güncellenen kart")) + ozet.value(QStringLiteral("Değişmeyen kart")), ortak);
    QCOMPARE(ozet.value(QStringLiteral("Güncellenen kart")), ortak / 2);
    QCOMPARE(ozet.value(QStringLiteral("Oluşturulan fiyat satırı")),
             m_db->Deger(hedef, QStringLiteral("SELECT count(*) FROM STOKFIYAT")).toInt() - fiyatOnce);
    QVERIFY(ice.hata.contains(QStringLiteral("İşlem Başarı ile Tamamlandı")));

    // Every source card now stands in the target with the source's name.
    QCOMPARE(m_db->Deger(hedef, QStringLiteral("SELECT count(*) FROM STOKKART WHERE Stok_Kod < '90000' AND Stok_Ad LIKE '%(ŞUBE)'")).toInt(), 0);
}

void CliTesti::denemeGercegiyleAyniOzetiVerirVeDegistirmez()
{
    const QString dosya = m_db->Klasor() + QStringLiteral("/aktarim.trn");
    QCOMPARE(Calistir(QStringList{QStringLiteral("export")} + Giris(QStringLiteral("01")) + QStringList{dosya}).kod, 0);
    const QByteArray once = VeritabaniOzeti(*m_db, QStringLiteral("FIRMA02"));
    // On the embedded backend not even the file's bytes change.
    const auto dosyaBaytlari = [&]() -> QByteArray {
        if (TestVeritabani::SqlServerMi())
            return {};
        QFile f(m_db->Yol(QStringLiteral("FIRMA02")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("?");
    };
    const QByteArray baytlarOnce = dosyaBaytlari();

    // Each run writes its change report; the dry run's is the real one's.
    const QString denemeRaporu = m_db->Klasor() + QStringLiteral("/deneme.csv");
    const QString gercekRaporu = m_db->Klasor() + QStringLiteral("/gercek.csv");
    const Sonuc deneme = Calistir(QStringList{QStringLiteral("import")} + Giris(QStringLiteral("02"))
                                  + QStringList{QStringLiteral("--dry-run"), QStringLiteral("--report"), denemeRaporu, dosya});
    QCOMPARE(deneme.kod, 0);
    QCOMPARE(VeritabaniOzeti(*m_db, QStringLiteral("FIRMA02")), once);
    QCOMPARE(dosyaBaytlari(), baytlarOnce);

    const Sonuc gercek = Calistir(QStringList{QStringLiteral("import")} + Giris(QStringLiteral("02"))
                                  + QStringList{QStringLiteral("--report"), gercekRaporu, dosya});
    QCOMPARE(gercek.kod, 0);
    QCOMPARE(Ozet(deneme.cikti), Ozet(gercek.cikti));
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
    QVERIFY(Ozet(gercek.cikti).value(QStringLiteral("Oluşturulan kart")) > 0);
    QVERIFY(VeritabaniOzeti(*m_db, QStringLiteral("FIRMA02")) != once);
}

void CliTesti::ikiArkaUcAyniDosyaVeAyniSonDurum()
{
    // The same demo on the embedded backend beside the server's: the same export byte for byte,
    // and its import (dry run, then real) gives the same summaries and the same target, table
    // by table, compared by business keys (a server's spent identities make other ids).
    if (!TestVeritabani::SqlServerMi())
        QSKIP("the two backends are compared on the SQL Server run");
    const QString klasor = m_db->Klasor() + QStringLiteral("/gomulu");
    QVERIFY(QDir().mkpath(klasor));
    QCOMPARE(Calistir({QStringLiteral("demo"), klasor, QStringLiteral("--cards"), QStringLiteral("120")}, QString()).kod, 0);
    const auto giris = [&](const QString &server, const QString &firma) {
        return QStringList{QStringLiteral("--server"), server, QStringLiteral("--user"), QStringLiteral("torvela"),
                           QStringLiteral("--company"), firma};
    };
    QByteArray dosyalar[2];
    QString ozetler[2][2];
    QStringList sonDurumlar[2];
    const QString sunucular[2] = {klasor, m_db->Server()};
    for (int i = 0; i < 2; ++i) {
        const QString dosya = QStringLiteral("%1/aktarim%2.trn").arg(m_db->Klasor()).arg(i);
        const Sonuc disa = Calistir(QStringList{QStringLiteral("export")} + giris(sunucular[i], QStringLiteral("01"))
                                    + QStringList{QStringLiteral("--set"), QStringLiteral("Stok Kodu=10005"), dosya});
        QVERIFY2(disa.kod == 0, qPrintable(disa.hata));
        QFile f(dosya);
        QVERIFY(f.open(QIODevice::ReadOnly));
        dosyalar[i] = f.readAll();
        for (const bool deneme : {true, false}) {
            QStringList arglar = QStringList{QStringLiteral("import")} + giris(sunucular[i], QStringLiteral("02"));
            if (deneme)
                arglar << QStringLiteral("--dry-run");
            const Sonuc ice = Calistir(arglar << dosya);
            QVERIFY2(ice.kod == 0, qPrintable(ice.hata));
            ozetler[i][deneme] = ice.cikti;
        }
        VeriTabaniBaglantisi baglanti;
        baglanti.Ac(QStringLiteral("torvela"), QStringLiteral("1234"), QStringLiteral("FIRMA02"), sunucular[i]);
        for (const QString &sql : {QStringLiteral("SELECT * FROM KDVGRUPLARI ORDER BY Departman_No"),
                                   QStringLiteral("SELECT * FROM FIYATTANIM ORDER BY Sira_No"),
                                   QStringLiteral("SELECT * FROM STOKKART ORDER BY Stok_Kod"),
                                   QStringLiteral("SELECT k.Stok_Kod AS Kart, f.* FROM STOKFIYAT f JOIN STOKKART k ON "
                                                  "k.Stok_ID=f.Stok_ID ORDER BY k.Stok_Kod, f.Fiyat_Sira_No")}) {
            Recordset rs;
            rs.Ac(baglanti, sql, false);
            for (; !rs.Eof(); rs.MoveNext()) {
                QStringList satir;
                for (int c = 0; c < rs.FieldCount(); ++c) {
                    const QString ad = rs.FieldName(c);
                    if (ad.compare(QLatin1String("Stok_ID"), Qt::CaseInsensitive) != 0
                        && ad.compare(QLatin1String("Fiyat_ID"), Qt::CaseInsensitive) != 0)
                        satir << ad.toLower() + QLatin1Char('=') + rs.Metin(c);
                }
                sonDurumlar[i] << satir.join(QLatin1Char('|'));
            }
        }
    }
    QVERIFY(dosyalar[0].size() > 1000);
    QVERIFY(sonDurumlar[0].size() > 500);
    QVERIFY(dosyalar[0] == dosyalar[1]);
    QCOMPARE(ozetler[1][true], ozetler[0][true]);
    QCOMPARE(ozetler[1][false], ozetler[0][false]);
    QVERIFY(Ozet(ozetler[0][false]).value(QStringLiteral("Oluşturulan kart")) > 0);
    QCOMPARE(sonDurumlar[1], sonDurumlar[0]);
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
    QTest::newRow("unknown user") << QStringList{"list", "--user", "yok", "--company", "01"} << "1234" << 1
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
    QTest::newRow("missing file refused") << QStringList{"import", "--user", "torvela", "--company", "02", yok} << "1234" << 1
                                          << "Yazdığınız İsimde Bir Dosya Bulunamadı";
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
    QFile f(dosya);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("eski\r\n");
    f.close();
    const Sonuc s = Calistir(QStringList{QStringLiteral("export")} + Giris(QStringLiteral("01")) + QStringList{dosya});
    QCOMPARE(s.kod, 1);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("eski\r\n"));
    f.close();
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
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("eski\r\n"));
    f.close();
    QCOMPARE(QDir(m_db->Klasor()).entryList(QDir::Files), klasorOnce);

    QCOMPARE(Calistir(zorla).kod, 0);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray yeni = f.readAll();
    QVERIFY(yeni.startsWith("<KDVGRUPLARI>\r\n"));
    QVERIFY(yeni.size() > 48 * 1024);
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

QTEST_GUILESS_MAIN(CliTesti)
#include "tst_cli.moc"
