#include "demo/SqlServerDemoYazici.h"

#include "state/Baglanti.h"
#include "state/Hata.h"

#include <QDateTime>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>
#include <cmath>

namespace {

// Rows per INSERT: SQL Server takes at most 1000 in one VALUES list; fewer keep each
// statement small without adding many round trips.
constexpr int SatirPaketi = 500;

class SqlServerEkleyici : public SatirEkleyici
{
public:
    SqlServerEkleyici(SqlServerDemoYazici &yazici, const QString &tablo, const QStringList &sutunlar)
        : m_yazici(yazici),
          m_bas(QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(tablo, sutunlar.join(QLatin1Char(','))))
    {
    }
    ~SqlServerEkleyici() override = default;

    void Ekle(const QVector<QVariant> &degerler) override
    {
        m_metin += m_satir == 0 ? m_bas : QStringLiteral(",");
        m_metin += QLatin1Char('(');
        for (int i = 0; i < degerler.size(); ++i) {
            if (i > 0)
                m_metin += QLatin1Char(',');
            m_metin += SqlServerDemoYazici::Deger(degerler[i]);
        }
        m_metin += QLatin1Char(')');
        if (++m_satir == SatirPaketi)
            Bitir();
    }

    void Bitir() override
    {
        if (m_satir == 0)
            return;
        m_yazici.Calistir(m_metin);
        m_metin.clear();
        m_satir = 0;
    }

private:
    SqlServerDemoYazici &m_yazici;
    QString m_bas, m_metin;
    int m_satir = 0;
};

} // namespace

QString SqlServerDemoYazici::Deger(const QVariant &deger)
{
    if (deger.isNull())
        return QStringLiteral("NULL");
    switch (deger.typeId()) {
    case QMetaType::Bool:
        return deger.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return deger.toString();
    case QMetaType::Double: {
        const double sayi = deger.toDouble();
        if (!std::isfinite(sayi))
            throw Hata(QStringLiteral("Sonlu olmayan sayı yazılamaz."));
        return QString::number(sayi, 'g', QLocale::FloatingPointShortest);
    }
    case QMetaType::QDateTime:
        return QLatin1Char('\'') + deger.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + QLatin1Char('\'');
    case QMetaType::QDate:
        return QLatin1Char('\'') + deger.toDate().toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('\'');
    default:
        break;
    }
    QString metin = deger.toString();
    metin.replace(QLatin1Char('\''), QLatin1String("''"));
    return QStringLiteral("N'") + metin + QLatin1Char('\'');
}

QString SqlServerDemoYazici::Ad(const QString &ad)
{
    QString metin = ad;
    metin.replace(QLatin1Char(']'), QLatin1String("]]"));
    return QLatin1Char('[') + metin + QLatin1Char(']');
}

SqlServerDemoYazici::SqlServerDemoYazici(const QString &server, const QString &kullanici, const QString &sifre)
    : m_baglanti(QStringLiteral("Demo-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_baglanti);
    db.setDatabaseName(VeriTabaniBaglantisi::OdbcBaglantiMetni(kullanici, sifre, QStringLiteral("master"), server,
                                                               VeriTabaniBaglantisi::OdbcSurucusu()));
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=15;SQL_ATTR_CONNECTION_TIMEOUT=15"));
    if (!db.open()) {
        const QString metin = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_baglanti);
        throw Hata(QStringLiteral("SQL Server'a bağlanılamadı (%1): %2").arg(server, metin));
    }
}

SqlServerDemoYazici::SqlServerDemoYazici(const QString &baglantiAdi) : m_baglanti(baglantiAdi), m_sahip(false)
{
}

SqlServerDemoYazici::~SqlServerDemoYazici()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_baglanti, false);
        if (db.isOpen()) {
            db.rollback(); // a failed demo leaves no transaction open
            if (m_sahip)
                db.close();
            else
                QSqlQuery(QStringLiteral("USE master"), db);
        }
    }
    if (m_sahip)
        QSqlDatabase::removeDatabase(m_baglanti);
}

void SqlServerDemoYazici::Calistir(const QString &sql)
{
    QSqlQuery q(QSqlDatabase::database(m_baglanti, false));
    q.setForwardOnly(true);
    if (!q.exec(sql))
        throw Hata(q.lastError().text() + QLatin1Char('\n') + sql.left(300));
}

QStringList SqlServerDemoYazici::Adlar(const QString &sql)
{
    QSqlQuery q(QSqlDatabase::database(m_baglanti, false));
    q.setForwardOnly(true);
    if (!q.exec(sql))
        throw Hata(q.lastError().text() + QLatin1Char('\n') + sql);
    QStringList adlar;
    while (q.next())
        adlar << q.value(0).toString();
    return adlar;
}

void SqlServerDemoYazici::Hazirla(const QStringList &veritabanlari, const QStringList &girisler, bool uzerineYaz)
{
    // Names compare as the server compares them: without regard to case.
    const QStringList sunucudakiler = Adlar(QStringLiteral("SELECT name FROM sys.databases"));
    const QStringList sunucuGirisleri = Adlar(QStringLiteral("SELECT name FROM sys.server_principals"));
    QStringList varOlanVeritabanlari, varOlanlar;
    for (const QString &ad : veritabanlari)
        if (sunucudakiler.contains(ad, Qt::CaseInsensitive))
            varOlanVeritabanlari << ad;
    varOlanlar = varOlanVeritabanlari;
    for (const QString &ad : girisler)
        if (sunucuGirisleri.contains(ad, Qt::CaseInsensitive))
            varOlanlar << QStringLiteral("%1 (giriş)").arg(ad);
    if (!varOlanlar.isEmpty() && !uzerineYaz)
        throw Hata(QStringLiteral("Sunucuda zaten var: %1; üzerine yazmak için --force verin.")
                       .arg(varOlanlar.join(QStringLiteral(", "))));
    for (const QString &ad : varOlanVeritabanlari)
        VeritabaniSil(ad);
}

void SqlServerDemoYazici::VeritabaniSil(const QString &ad)
{
    Calistir(QStringLiteral("USE master"));
    // Connections still open on it would make the drop fail. Not every server knows this
    // statement; the drop then tells whether it mattered.
    try {
        Calistir(QStringLiteral("ALTER DATABASE %1 SET SINGLE_USER WITH ROLLBACK IMMEDIATE").arg(Ad(ad)));
    } catch (const Hata &) {
    }
    // A connection closed a moment ago may still be ending on the server: a few more tries.
    for (int deneme = 1;; ++deneme) {
        try {
            Calistir(QStringLiteral("DROP DATABASE %1").arg(Ad(ad)));
            return;
        } catch (const Hata &) {
            if (deneme == 30)
                throw;
            QThread::msleep(100);
        }
    }
}

void SqlServerDemoYazici::GirisKur(const QString &kullanici, const QString &sifre)
{
    // The demo passwords are short: the server's password policy would refuse them.
    const bool var = Adlar(QStringLiteral("SELECT name FROM sys.server_principals WHERE name = %1").arg(Deger(kullanici)))
                         .size() > 0;
    if (var) {
        Calistir(QStringLiteral("ALTER LOGIN %1 WITH CHECK_POLICY = OFF").arg(Ad(kullanici)));
        Calistir(QStringLiteral("ALTER LOGIN %1 WITH PASSWORD = %2").arg(Ad(kullanici), Deger(sifre)));
    } else {
        Calistir(QStringLiteral("CREATE LOGIN %1 WITH PASSWORD = %2, CHECK_POLICY = OFF").arg(Ad(kullanici), Deger(sifre)));
    }
}

void SqlServerDemoYazici::VeritabaniOlustur(const QString &ad, const SemaTanimi &sema, const QStringList &kullanicilar)
{
    Calistir(QStringLiteral("USE master"));
    Calistir(QStringLiteral("CREATE DATABASE %1").arg(Ad(ad)));
    Calistir(QStringLiteral("USE %1").arg(Ad(ad)));
    for (const QString &sql : SemaKomutlari(sema, SemaLehcesi::SqlServer))
        Calistir(sql);
    for (const QString &k : kullanicilar) {
        Calistir(QStringLiteral("CREATE USER %1 FOR LOGIN %1").arg(Ad(k)));
        Calistir(QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON SCHEMA::dbo TO %1").arg(Ad(k)));
    }
    QSqlDatabase db = QSqlDatabase::database(m_baglanti, false);
    if (!db.transaction())
        throw Hata(db.lastError().text());
}

std::unique_ptr<SatirEkleyici> SqlServerDemoYazici::Ekleyici(const QString &tablo, const QStringList &sutunlar)
{
    return std::make_unique<SqlServerEkleyici>(*this, tablo, sutunlar);
}

QHash<QString, qint64> SqlServerDemoYazici::Kimlikler(const QString &sql)
{
    QSqlQuery q(QSqlDatabase::database(m_baglanti, false));
    q.setForwardOnly(true);
    if (!q.exec(sql))
        throw Hata(q.lastError().text() + QLatin1Char('\n') + sql);
    QHash<QString, qint64> sonuc;
    while (q.next())
        sonuc.insert(q.value(0).toString(), q.value(1).toLongLong());
    return sonuc;
}

void SqlServerDemoYazici::VeritabaniBitir()
{
    QSqlDatabase db = QSqlDatabase::database(m_baglanti, false);
    if (!db.commit())
        throw Hata(db.lastError().text());
    Calistir(QStringLiteral("USE master"));
}
