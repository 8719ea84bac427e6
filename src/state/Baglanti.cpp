#include "state/Baglanti.h"

#include "state/Hata.h"
#include "state/SqlLehcesi.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlRecord>
#include <QUuid>
#include <sqlite3.h>

namespace {

// A database that another program holds locked is waited for this long, then reported.
// $STOKTRANSFER_BUSY_TIMEOUT_MS shortens it (tests).
constexpr int MesgulBeklemeMs = 5000;

int MesgulBekleme()
{
    bool tamam = false;
    const int ms = qEnvironmentVariableIntValue("STOKTRANSFER_BUSY_TIMEOUT_MS", &tamam);
    return tamam && ms >= 0 ? ms : MesgulBeklemeMs;
}

bool GirisReddiMi(const QSqlError &hata)
{
    const QString metin = hata.text() + QLatin1Char(' ') + hata.nativeErrorCode();
    return metin.contains(QLatin1String("28000")) || metin.contains(QLatin1String("18456"))
           || metin.contains(QLatin1String("login failed"), Qt::CaseInsensitive);
}

SutunBilgisi OdbcSutunu(const QSqlField &alan)
{
    SutunBilgisi bilgi;
    switch (alan.typeID()) {
    case 1: case -8: // SQL_CHAR, SQL_WCHAR
        bilgi.tip = SutunTipi::SabitMetin;
        break;
    case 12: case -9: case -1: case -10: // SQL_VARCHAR, SQL_WVARCHAR, long variants
        bilgi.tip = SutunTipi::DegiskenMetin;
        break;
    case 4: case 5: case -6: case -5:
        bilgi.tip = SutunTipi::TamSayi;
        break;
    case 2: case 3: case 6: case 7: case 8:
        bilgi.tip = SutunTipi::Ondalik;
        break;
    case -7:
        bilgi.tip = SutunTipi::Bit;
        break;
    case 9: case 91: case 93: case 11:
        bilgi.tip = SutunTipi::Tarih;
        break;
    default:
        break;
    }
    if (bilgi.tip == SutunTipi::SabitMetin || bilgi.tip == SutunTipi::DegiskenMetin)
        bilgi.uzunluk = qMax(0, alan.length());
    return bilgi;
}

} // namespace

VeriTabaniBaglantisi::~VeriTabaniBaglantisi()
{
    Kapat();
}

std::optional<QString> VeriTabaniBaglantisi::SQLiteKlasoru(const QString &server)
{
    if (server.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive))
        return server.mid(7);
    if (!server.isEmpty() && QFileInfo(server).isDir())
        return server;
    return std::nullopt;
}

QString VeriTabaniBaglantisi::OdbcSurucusu()
{
    const QString surucu = qEnvironmentVariable("STOKTRANSFER_ODBC_DRIVER");
    return surucu.isEmpty() ? QStringLiteral("FreeTDS") : surucu;
}

QString VeriTabaniBaglantisi::OdbcDegeri(const QString &deger)
{
    QString icerik = deger;
    icerik.replace(QLatin1Char('}'), QLatin1String("}}"));
    return QLatin1Char('{') + icerik + QLatin1Char('}');
}

SunucuAdresi SunucuAdresi::Coz(const QString &server)
{
    SunucuAdresi adres;
    QString metin = server.trimmed();
    const qsizetype virgul = metin.lastIndexOf(QLatin1Char(','));
    if (virgul >= 0) {
        adres.port = metin.mid(virgul + 1).trimmed();
        metin = metin.left(virgul).trimmed();
    }
    const qsizetype ters = metin.indexOf(QLatin1Char('\\'));
    if (ters >= 0) {
        adres.ornek = metin.mid(ters + 1).trimmed();
        metin = metin.left(ters).trimmed();
    }
    adres.makine = metin;
    return adres;
}

QString VeriTabaniBaglantisi::TdsSurumu()
{
    const QString surum = qEnvironmentVariable("STOKTRANSFER_TDS_VERSION");
    return surum.isEmpty() ? QStringLiteral("7.4") : surum;
}

QString VeriTabaniBaglantisi::OdbcBaglantiMetni(const QString &kullanici, const QString &sifre,
                                                const QString &veritabani, const QString &server,
                                                const QString &surucu)
{
    QString metin = QStringLiteral("DRIVER=%1;UID=%2;PWD=%3;DATABASE=%4;")
                        .arg(OdbcDegeri(surucu), OdbcDegeri(kullanici), OdbcDegeri(sifre), OdbcDegeri(veritabani));
    if (surucu.compare(QLatin1String("FreeTDS"), Qt::CaseInsensitive) != 0)
        return metin + QStringLiteral("SERVER=%1;").arg(OdbcDegeri(server.trimmed()));
    // FreeTDS takes no "host,port": the port goes apart, 1433 unless typed. A named instance
    // without a port is found by the server's browser service, so no port is given then.
    const SunucuAdresi adres = SunucuAdresi::Coz(server);
    if (!adres.ornek.isEmpty())
        metin += QStringLiteral("SERVER=%1;").arg(OdbcDegeri(adres.makine + QLatin1Char('\\') + adres.ornek));
    else
        metin += QStringLiteral("SERVER=%1;").arg(OdbcDegeri(adres.makine));
    if (!adres.port.isEmpty() || adres.ornek.isEmpty())
        metin += QStringLiteral("PORT=%1;").arg(OdbcDegeri(adres.port.isEmpty() ? QStringLiteral("1433") : adres.port));
    return metin + QStringLiteral("ClientCharset=UTF-8;TDS_Version=%1;").arg(OdbcDegeri(TdsSurumu()));
}

void VeriTabaniBaglantisi::Ac(const QString &kullanici, const QString &sifre, const QString &veritabani,
                              const QString &server)
{
    Kapat();
    const QString ad = QStringLiteral("Baglanti-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const auto klasor = SQLiteKlasoru(server);
    QSqlDatabase db;
    if (klasor) {
        const QString dosya = QDir(*klasor).filePath(veritabani + QStringLiteral(".sqlite"));
        // Never create a database: a missing file is a connection error.
        if (!QFileInfo(dosya).isFile())
            throw BaglantiHatasi(QStringLiteral("Veritabanı dosyası bulunamadı: %1").arg(QDir::toNativeSeparators(dosya)), false);
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), ad);
        db.setDatabaseName(dosya);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(MesgulBekleme()));
    } else {
        db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), ad);
        db.setDatabaseName(OdbcBaglantiMetni(kullanici, sifre, veritabani, server, OdbcSurucusu()));
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=15;SQL_ATTR_CONNECTION_TIMEOUT=15"));
    }

    QString hataMetni;
    bool reddedildi = false;
    if (!db.open()) {
        hataMetni = db.lastError().text();
        reddedildi = GirisReddiMi(db.lastError());
    } else if (klasor) {
        // A file that is not a database opens fine; the first read tells.
        QSqlQuery deneme(db);
        if (!deneme.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
            hataMetni = deneme.lastError().text();
        else {
            deneme.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
            deneme.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
            // Checkpoints copy the log back into the database and wait for the disk; with a
            // larger log they come seldom during an import of many small transactions.
            deneme.exec(QStringLiteral("PRAGMA wal_autocheckpoint=16384"));
        }
    }
    if (!hataMetni.isEmpty()) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(ad);
        throw BaglantiHatasi(hataMetni, reddedildi);
    }
    m_ad = ad;
    m_sqlite = klasor.has_value();
    m_komutSayisi = 0;
}

void VeriTabaniBaglantisi::Kapat()
{
    m_hazirlar.clear();
    m_tablolar.clear();
    m_sonucTipleri.clear();
    m_islemDerinligi = 0;
    if (m_ad.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_ad, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_ad);
    m_ad.clear();
}

bool VeriTabaniBaglantisi::Acik() const
{
    return !m_ad.isEmpty() && QSqlDatabase::database(m_ad, false).isOpen();
}

QSqlDatabase VeriTabaniBaglantisi::Veritabani() const
{
    if (m_ad.isEmpty())
        throw Hata(QStringLiteral("Veritabanı bağlantısı açık değil."));
    return QSqlDatabase::database(m_ad, false);
}

QString VeriTabaniBaglantisi::Lehce(const QString &sql) const
{
    return m_sqlite ? SQLiteLehcesine(sql) : sql;
}

void VeriTabaniBaglantisi::Firlat(const QSqlError &hata) const
{
    QString metin = hata.databaseText();
    if (metin.isEmpty())
        metin = hata.text();
    bool tamam = false;
    const qint64 numara = hata.nativeErrorCode().toLongLong(&tamam);
    throw Hata(metin, tamam && numara != 0 ? numara : Hata::GenelHataNo);
}

QSqlQuery VeriTabaniBaglantisi::Calistir(const QString &sql)
{
    QSqlQuery sorgu(Veritabani());
    sorgu.setForwardOnly(true);
    ++m_komutSayisi;
    if (!sorgu.exec(Lehce(sql)))
        Firlat(sorgu.lastError());
    return sorgu;
}

QSqlQuery &VeriTabaniBaglantisi::Hazirla(const QString &sql)
{
    auto &yer = m_hazirlar[sql];
    if (!yer) {
        auto sorgu = std::make_shared<QSqlQuery>(Veritabani());
        sorgu->setForwardOnly(true);
        if (!sorgu->prepare(Lehce(sql))) {
            const QSqlError hata = sorgu->lastError();
            m_hazirlar.remove(sql);
            Firlat(hata);
        }
        yer = sorgu;
    }
    return *yer;
}

void VeriTabaniBaglantisi::Yurut(QSqlQuery &sorgu)
{
    ++m_komutSayisi;
    if (!sorgu.exec())
        Firlat(sorgu.lastError());
}

void VeriTabaniBaglantisi::IslemBaslat()
{
    QSqlDatabase db = Veritabani();
    if (m_islemDerinligi == 0) {
        ++m_komutSayisi;
        if (!db.transaction())
            Firlat(db.lastError());
    } else {
        Calistir((m_sqlite ? QStringLiteral("SAVEPOINT k%1") : QStringLiteral("SAVE TRANSACTION k%1"))
                     .arg(m_islemDerinligi));
    }
    ++m_islemDerinligi;
}

void VeriTabaniBaglantisi::IslemOnayla()
{
    if (m_islemDerinligi == 0)
        return;
    --m_islemDerinligi;
    if (m_islemDerinligi == 0) {
        QSqlDatabase db = Veritabani();
        ++m_komutSayisi;
        if (!db.commit())
            Firlat(db.lastError());
    } else if (m_sqlite) {
        Calistir(QStringLiteral("RELEASE k%1").arg(m_islemDerinligi));
    }
}

void VeriTabaniBaglantisi::IslemGeriAl()
{
    if (m_islemDerinligi == 0)
        return;
    --m_islemDerinligi;
    if (m_islemDerinligi == 0) {
        QSqlDatabase db = Veritabani();
        ++m_komutSayisi;
        if (!db.rollback())
            Firlat(db.lastError());
    } else if (m_sqlite) {
        Calistir(QStringLiteral("ROLLBACK TO k%1").arg(m_islemDerinligi));
        Calistir(QStringLiteral("RELEASE k%1").arg(m_islemDerinligi));
    } else {
        Calistir(QStringLiteral("ROLLBACK TRANSACTION k%1").arg(m_islemDerinligi));
    }
}

QVector<SutunBilgisi> VeriTabaniBaglantisi::SonucSutunlari(const QSqlRecord &kayit, const QString &gonderilenSql)
{
    QVector<SutunBilgisi> tipler(kayit.count());
    if (!m_sqlite) {
        for (int i = 0; i < kayit.count(); ++i)
            tipler[i] = OdbcSutunu(kayit.field(i));
        return tipler;
    }
    // SQLite keeps each result column's declared type; Qt's driver does not pass it on. Reading
    // it means preparing the statement again, so it is done once per statement text.
    const auto bilinen = m_sonucTipleri.constFind(gonderilenSql);
    if (bilinen != m_sonucTipleri.cend() && bilinen->size() == tipler.size())
        return *bilinen;
    const QVariant tutamak = Veritabani().driver()->handle();
    sqlite3 *h = tutamak.isValid() ? *static_cast<sqlite3 *const *>(tutamak.data()) : nullptr;
    if (!h)
        return tipler;
    sqlite3_stmt *st = nullptr;
    const QByteArray metin = gonderilenSql.toUtf8();
    if (sqlite3_prepare_v2(h, metin.constData(), int(metin.size()), &st, nullptr) == SQLITE_OK && st) {
        const int n = qMin(sqlite3_column_count(st), int(tipler.size()));
        for (int i = 0; i < n; ++i) {
            if (const char *tip = sqlite3_column_decltype(st, i))
                tipler[i] = BildirilenTiptenSutun(QString::fromUtf8(tip));
        }
    }
    const bool hazirlandi = st != nullptr;
    sqlite3_finalize(st);
    if (hazirlandi) {
        // Statements with their values written in would pile up: the store is bounded.
        if (m_sonucTipleri.size() >= 256)
            m_sonucTipleri.clear();
        m_sonucTipleri.insert(gonderilenSql, tipler);
    }
    return tipler;
}

const VeriTabaniBaglantisi::TabloBilgisi &VeriTabaniBaglantisi::Tablo(const QString &tablo)
{
    const QString anahtar = tablo.toUpper();
    auto it = m_tablolar.find(anahtar);
    if (it != m_tablolar.end())
        return *it;
    TabloBilgisi bilgi;
    QSqlDatabase db = Veritabani();
    if (m_sqlite) {
        QSqlQuery sorgu(db);
        QString ad = tablo;
        ad.remove(QLatin1Char('"'));
        if (sorgu.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(ad))) {
            QVector<QPair<int, QString>> anahtarlar;
            while (sorgu.next()) {
                bilgi.sutunlar << sorgu.value(1).toString();
                bilgi.tipler << BildirilenTiptenSutun(sorgu.value(2).toString());
                if (sorgu.value(5).toInt() > 0)
                    anahtarlar.append({sorgu.value(5).toInt(), sorgu.value(1).toString()});
            }
            std::sort(anahtarlar.begin(), anahtarlar.end());
            for (const auto &a : anahtarlar)
                bilgi.anahtarlar << a.second;
        }
    } else {
        const QSqlRecord kayit = db.record(tablo);
        for (int i = 0; i < kayit.count(); ++i) {
            bilgi.sutunlar << kayit.fieldName(i);
            bilgi.tipler << OdbcSutunu(kayit.field(i));
        }
        const QSqlIndex pk = db.primaryIndex(tablo);
        for (int i = 0; i < pk.count(); ++i)
            bilgi.anahtarlar << pk.fieldName(i);
    }
    return *m_tablolar.insert(anahtar, bilgi);
}

QStringList VeriTabaniBaglantisi::TabloSutunlari(const QString &tablo)
{
    return Tablo(tablo).sutunlar;
}

SutunBilgisi VeriTabaniBaglantisi::TabloSutunu(const QString &tablo, const QString &sutun)
{
    const TabloBilgisi &bilgi = Tablo(tablo);
    for (int i = 0; i < bilgi.sutunlar.size(); ++i)
        if (bilgi.sutunlar[i].compare(sutun, Qt::CaseInsensitive) == 0)
            return bilgi.tipler[i];
    return SutunBilgisi();
}

QStringList VeriTabaniBaglantisi::AnahtarSutunlari(const QString &tablo)
{
    return Tablo(tablo).anahtarlar;
}
