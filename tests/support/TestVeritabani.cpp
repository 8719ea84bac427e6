#include "support/TestVeritabani.h"

#include "demo/DemoOlusturucu.h"
#include "demo/Sema.h"
#include "demo/SqlServerDemoYazici.h"
#include "demo/SqliteDosyasi.h"
#include "state/Baglanti.h"
#include "state/Degiskenler.h"
#include "state/Hata.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <QUuid>
#include <memory>
#include <stdexcept>

namespace {

[[noreturn]] void Firlat(const QString &metin)
{
    throw std::runtime_error(metin.toStdString());
}

// What SQL Server returns, in the embedded backend's forms, so that tests compare alike.
QVariant Benzet(const QVariant &deger)
{
    if (deger.isNull())
        return QVariant();
    switch (deger.typeId()) {
    case QMetaType::QDateTime:
        return deger.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QDate:
        return deger.toDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    case QMetaType::Bool:
        return deger.toBool() ? 1 : 0;
    default:
        return deger;
    }
}

} // namespace

bool TestVeritabani::SqlServerMi()
{
    return qEnvironmentVariable("STOKTRANSFER_TEST_BACKEND").compare(QLatin1String("mssql"), Qt::CaseInsensitive) == 0;
}

namespace {

TestVeritabani::Sunucu SunucuOku(const QString &metin)
{
    const QStringList parcalar = metin.split(QLatin1Char(';'));
    if (parcalar.size() != 3 || parcalar[0].trimmed().isEmpty())
        Firlat(QStringLiteral("a test server is given as \"host,port;user;password\", not \"%1\"").arg(metin));
    return {parcalar[0].trimmed(), parcalar[1], parcalar[2]};
}

// One test program at a time on a server: the definitions database has a fixed name. Of the
// servers given ($STOKTRANSFER_TEST_MSSQL, $STOKTRANSFER_TEST_MSSQL_2, ...) the program takes
// the first one no other holds, waiting for one when all are taken, and keeps it to the end.
TestVeritabani::Sunucu SunucuAl()
{
    QVector<TestVeritabani::Sunucu> sunucular;
    for (int i = 1;; ++i) {
        const QByteArray ad = i == 1 ? QByteArray("STOKTRANSFER_TEST_MSSQL") : "STOKTRANSFER_TEST_MSSQL_" + QByteArray::number(i);
        if (!qEnvironmentVariableIsSet(ad.constData()))
            break;
        sunucular << SunucuOku(qEnvironmentVariable(ad.constData()));
    }
    if (sunucular.isEmpty())
        Firlat(QStringLiteral("STOKTRANSFER_TEST_BACKEND=mssql needs STOKTRANSFER_TEST_MSSQL=\"host,port;user;password\""));
    static std::unique_ptr<QLockFile> kilit;
    for (;;) {
        for (const auto &s : sunucular) {
            QString ad = s.server;
            ad.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QStringLiteral("_"));
            auto k = std::make_unique<QLockFile>(QDir::temp().filePath(QStringLiteral("stoktransfer-test-mssql-%1.lock").arg(ad)));
            k->setStaleLockTime(0); // a long test is not a dead one; a dead holder's lock is taken over
            if (k->tryLock(0)) {
                kilit = std::move(k);
                return s;
            }
        }
        QThread::msleep(200);
    }
}

} // namespace

TestVeritabani::Sunucu TestVeritabani::SqlServer()
{
    static const Sunucu sunucu = SunucuAl();
    return sunucu;
}

QString TestVeritabani::YoneticiBaglantisi()
{
    static const QString ad = [] {
        const QString ad = QStringLiteral("TestVeritabani-yonetici");
        QSqlQuery q(SunucuBaglantisi(QStringLiteral("master"), ad));
        q.setForwardOnly(true);
        if (!q.exec(SunucuHazirligi()))
            Firlat(q.lastError().text());
        qAddPostRoutine([] {
            QSqlDatabase::database(QStringLiteral("TestVeritabani-yonetici"), false).close();
            QSqlDatabase::removeDatabase(QStringLiteral("TestVeritabani-yonetici"));
        });
        return ad;
    }();
    return ad;
}

QString TestVeritabani::SunucuHazirligi()
{
    return QStringLiteral("IF @@VERSION LIKE 'Babelfish%' EXEC sp_babelfish_configure "
                          "'escape_hatch_login_misc_options', 'ignore', 'server'");
}

bool TestVeritabani::TestSunucusuMu()
{
    if (!SqlServerMi())
        return false;
    static const bool babelfish = [] {
        QSqlQuery q(Yonetici());
        q.setForwardOnly(true);
        return q.exec(QStringLiteral("SELECT @@VERSION")) && q.next() && q.value(0).toString().contains(QLatin1String("Babelfish"));
    }();
    return babelfish;
}

QSqlDatabase TestVeritabani::Yonetici()
{
    return QSqlDatabase::database(YoneticiBaglantisi(), false);
}

TestVeritabani::TestVeritabani()
{
    if (!m_klasor.isValid())
        Firlat(QStringLiteral("temporary folder"));
    if (SqlServerMi())
        YoneticiBaglantisi();
}

QString TestVeritabani::Server() const
{
    return SqlServerMi() ? SqlServer().server : Klasor();
}

QString TestVeritabani::Yol(const QString &veritabani) const
{
    if (SqlServerMi())
        Firlat(QStringLiteral("a SQL Server database has no file: ") + veritabani);
    return QDir(Klasor()).filePath(veritabani + QStringLiteral(".sqlite"));
}

QString TestVeritabani::VeritabaniMetni(const QString &veritabani) const
{
    return SqlServerMi() ? veritabani : veritabani + QStringLiteral(".sqlite");
}

void TestVeritabani::DemoYaz(int kartSayisi, int fiyatSayisi)
{
    DemoAyarlari ayarlar;
    ayarlar.kartSayisi = kartSayisi;
    ayarlar.fiyatSayisi = fiyatSayisi;
    ayarlar.uzerineYaz = true;
    if (!SqlServerMi()) {
        DemoOlustur(Klasor(), ayarlar);
        return;
    }
    SqlServerDemoYazici yazici(YoneticiBaglantisi());
    ::DemoYaz(yazici, ayarlar);
}

QStringList TestVeritabani::DemoArgumanlari() const
{
    if (!SqlServerMi())
        return {Klasor(), QStringLiteral("--force")};
    return {SqlServer().server, QStringLiteral("--user"), SqlServer().kullanici, QStringLiteral("--force")};
}

QString TestVeritabani::DemoSifresi() const
{
    return SqlServerMi() ? SqlServer().sifre : QString();
}

void TestVeritabani::BosFirmaYaz(const QString &veritabani)
{
    if (!SqlServerMi()) {
        SqliteDosyasi db(Yol(veritabani));
        for (const QString &sql : FirmaSemasi())
            db.Calistir(sql);
        return;
    }
    const QString kullanici = QString::fromUtf8(DemoKullanici);
    for (int deneme = 1;; ++deneme) {
        try {
            SqlServerDemoYazici yazici(YoneticiBaglantisi());
            yazici.Hazirla({veritabani}, {}, true);
            // The company's user needs its login, also when no demo was written on this server yet.
            const QString giris = QStringLiteral("SELECT 1 FROM sys.server_principals WHERE name = '%1'").arg(kullanici);
            if (!Deger(QStringLiteral("master"), giris).isValid())
                yazici.GirisKur(kullanici, QString::fromUtf8(DemoSifre));
            yazici.VeritabaniOlustur(veritabani, FirmaSemaTanimi(), {kullanici});
            yazici.VeritabaniBitir();
            return;
        } catch (const Hata &h) {
            // The test server may still be ending the session of a database dropped a moment
            // ago; its catalogue then refuses a new database once ("tuple concurrently updated").
            if (deneme == 3 || !h.Aciklama().contains(QLatin1String("concurrently updated")))
                throw;
            QThread::msleep(300);
        }
    }
}

void TestVeritabani::Sil(const QString &veritabani)
{
    if (!SqlServerMi()) {
        for (const QString &ek : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QFile::remove(Yol(veritabani) + ek);
        return;
    }
    SqlServerDemoYazici yazici(YoneticiBaglantisi());
    yazici.Hazirla({veritabani}, {}, true);
}

void TestVeritabani::Kopyala(const QString &kaynak, const QString &hedef)
{
    if (!SqlServerMi()) {
        QFile::remove(Yol(hedef));
        if (!QFile::copy(Yol(kaynak), Yol(hedef)))
            Firlat(QStringLiteral("cannot copy ") + Yol(kaynak));
        return;
    }
    BosFirmaYaz(hedef);
    SatirlariGeriYukle(kaynak, hedef);
}

void TestVeritabani::SatirlariGeriYukle(const QString &kaynak, const QString &hedef)
{
    if (!SqlServerMi())
        Firlat(QStringLiteral("SatirlariGeriYukle is for SQL Server"));
    QStringList komutlar;
    for (const TabloTanimi &t : FirmaSemaTanimi().tablolar) {
        QStringList sutunlar;
        bool kimlik = false;
        for (const SutunTanimi &s : t.sutunlar) {
            sutunlar << s.ad;
            kimlik = kimlik || (s.bayraklar & SutunTanimi::Kimlik);
        }
        const QString liste = sutunlar.join(QLatin1Char(','));
        QString sql = QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3.dbo.%1")
                          .arg(t.ad, liste, SqlServerDemoYazici::Ad(kaynak));
        if (kimlik)
            sql = QStringLiteral("SET IDENTITY_INSERT %1 ON; %2; SET IDENTITY_INSERT %1 OFF").arg(t.ad, sql);
        komutlar << QStringLiteral("DELETE FROM %1").arg(t.ad) << sql;
    }
    Calistir(hedef, komutlar.join(QStringLiteral("; ")));
}

QVector<QVector<QVariant>> TestVeritabani::Yurut(const QString &veritabani, const QString &sql, const QString *metin,
                                                 QStringList *sutunlar) const
{
    QVector<QVector<QVariant>> satirlar;
    QString hata;
    const auto oku = [&](QSqlQuery &q) {
        if (metin) {
            q.prepare(sql);
            q.addBindValue(*metin);
        }
        if (!(metin ? q.exec() : q.exec(sql))) {
            hata = sql + QStringLiteral(": ") + q.lastError().text();
            return;
        }
        if (sutunlar) {
            sutunlar->clear();
            for (int i = 0; i < q.record().count(); ++i)
                *sutunlar << q.record().fieldName(i);
        }
        while (q.next()) {
            QVector<QVariant> satir;
            for (int i = 0; i < q.record().count(); ++i)
                satir << Benzet(q.value(i));
            satirlar << satir;
        }
    };
    if (SqlServerMi()) {
        QSqlQuery q(Yonetici());
        q.setForwardOnly(true);
        q.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        if (!q.exec(QStringLiteral("USE %1").arg(SqlServerDemoYazici::Ad(veritabani))))
            Firlat(veritabani + QStringLiteral(": ") + q.lastError().text());
        oku(q);
        // Back on master, so that this connection never holds a database another test drops.
        q.exec(QStringLiteral("USE master"));
    } else {
        const QString ad = QUuid::createUuid().toString();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), ad);
            db.setDatabaseName(Yol(veritabani));
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
            if (db.open()) {
                QSqlQuery q(db);
                oku(q);
            } else {
                hata = db.lastError().text();
            }
        }
        QSqlDatabase::removeDatabase(ad);
    }
    if (!hata.isEmpty())
        Firlat(hata);
    return satirlar;
}

void TestVeritabani::Calistir(const QString &veritabani, const QString &sql)
{
    Yurut(veritabani, sql, nullptr, nullptr);
}

void TestVeritabani::CalistirDegerle(const QString &veritabani, const QString &sql, const QString &metin)
{
    if (!SqlServerMi()) {
        Yurut(veritabani, sql, &metin, nullptr);
        return;
    }
    // Written into the statement as a Unicode literal: a bound text would pass through the
    // server's code page.
    QString yeni = sql;
    Calistir(veritabani, yeni.replace(yeni.indexOf(QLatin1Char('?')), 1, SqlServerDemoYazici::Deger(metin)));
}

QVector<QVector<QVariant>> TestVeritabani::Satirlar(const QString &veritabani, const QString &sql, QStringList *sutunlar)
{
    return Yurut(veritabani, sql, nullptr, sutunlar);
}

QVariant TestVeritabani::Deger(const QString &veritabani, const QString &sql)
{
    const auto satirlar = Satirlar(veritabani, sql);
    return satirlar.isEmpty() || satirlar[0].isEmpty() ? QVariant() : satirlar[0][0];
}

void TestVeritabani::Baglan(const QString &veritabani)
{
    if (!SqlServerMi()) {
        Degiskenler::Baglanti.Ac(QStringLiteral("TORVELA"), QString(), veritabani, Klasor());
        return;
    }
    const Sunucu s = SqlServer();
    Degiskenler::Baglanti.Ac(s.kullanici, s.sifre, veritabani, s.server);
}

void TestVeritabani::Baglan(const QString &veritabani, const QString &kullanici, const QString &sifre)
{
    Degiskenler::Baglanti.Ac(kullanici, sifre, veritabani, Server());
}

QSqlDatabase TestVeritabani::SunucuBaglantisi(const QString &veritabani, const QString &ad)
{
    const Sunucu s = SqlServer();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), ad);
    db.setDatabaseName(VeriTabaniBaglantisi::OdbcBaglantiMetni(s.kullanici, s.sifre, veritabani, s.server,
                                                               VeriTabaniBaglantisi::OdbcSurucusu()));
    if (!db.open())
        Firlat(QStringLiteral("SQL Server %1, %2: %3").arg(s.server, veritabani, db.lastError().text()));
    return db;
}

QSqlDatabase TestVeritabani::AyriBaglanti(const QString &veritabani, const QString &ad)
{
    if (SqlServerMi())
        return SunucuBaglantisi(veritabani, ad);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), ad);
    db.setDatabaseName(Yol(veritabani));
    if (!db.open())
        Firlat(veritabani + QStringLiteral(": ") + db.lastError().text());
    return db;
}

bool TestVeritabani::BagliMi(const QString &veritabani) const
{
    if (!Degiskenler::Baglanti.Acik())
        return false;
    if (!SqlServerMi())
        return Degiskenler::Baglanti.Veritabani().databaseName().endsWith(QLatin1Char('/') + veritabani + QStringLiteral(".sqlite"));
    QSqlQuery q(Degiskenler::Baglanti.Veritabani());
    q.setForwardOnly(true);
    return q.exec(QStringLiteral("SELECT DB_NAME()")) && q.next()
           && q.value(0).toString().compare(veritabani, Qt::CaseInsensitive) == 0;
}

void TestVeritabani::GirisEkle(const QString &kullanici, const QString &sifre, const QStringList &veritabanlari)
{
    if (!SqlServerMi())
        return;
    SqlServerDemoYazici yazici(YoneticiBaglantisi());
    yazici.GirisKur(kullanici, sifre);
    for (const QString &veritabani : veritabanlari) {
        yazici.Calistir(QStringLiteral("USE %1").arg(SqlServerDemoYazici::Ad(veritabani)));
        yazici.Calistir(QStringLiteral("CREATE USER %1 FOR LOGIN %1").arg(SqlServerDemoYazici::Ad(kullanici)));
        yazici.Calistir(QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON SCHEMA::dbo TO %1")
                            .arg(SqlServerDemoYazici::Ad(kullanici)));
    }
    yazici.Calistir(QStringLiteral("USE master"));
}

QString TestVeritabani::Birlestir(const QStringList &parcalar) const
{
    return parcalar.join(SqlServerMi() ? QStringLiteral(" + ") : QStringLiteral(" || "));
}

void TestVeritabani::ReddedenTetikleyici(const QString &veritabani, const QString &ad, const QString &tablo,
                                         const QString &olay, const QString &kosul, const QString &mesaj, bool islemiBitirir)
{
    if (!SqlServerMi()) {
        Calistir(veritabani, QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 WHEN %4 BEGIN SELECT RAISE(%6, '%5'); END")
                                 .arg(ad, olay, tablo, kosul, mesaj,
                                      islemiBitirir ? QStringLiteral("ROLLBACK") : QStringLiteral("ABORT")));
        return;
    }
    // The rows written stand in "inserted" (for an UPDATE, as they become).
    Calistir(veritabani, QStringLiteral("CREATE TRIGGER %1 ON %3 AFTER %2 AS BEGIN IF EXISTS (SELECT 1 FROM inserted AS NEW "
                                        "WHERE %4) THROW 50000, N'%5', 1; END")
                             .arg(ad, olay, tablo, kosul, mesaj));
}

void TestVeritabani::SutunAdiniDegistir(const QString &veritabani, const QString &tablo, const QString &eski,
                                        const QString &yeni)
{
    Calistir(veritabani, SqlServerMi() ? QStringLiteral("EXEC sp_rename '%1.%2', '%3', 'COLUMN'").arg(tablo, eski, yeni)
                                       : QStringLiteral("ALTER TABLE %1 RENAME COLUMN %2 TO %3").arg(tablo, eski, yeni));
}
