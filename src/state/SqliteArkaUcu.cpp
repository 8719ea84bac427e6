#include "state/SqliteArkaUcu.h"

#include "state/Baglanti.h"
#include "state/DegerMetin.h"
#include "state/Hata.h"
#include "state/HazirKomut.h"
#include "state/SqlLehcesi.h"
#include "state/TurkceSiralama.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <sqlite3.h>

namespace {

sqlite3 *Tutamak(const QSqlDatabase &db)
{
    const QVariant tutamak = db.driver()->handle();
    return tutamak.isValid() ? *static_cast<sqlite3 *const *>(tutamak.data()) : nullptr;
}

// What the database layer binds as NULL: no value, or a null text, date or byte array.
bool BosMu(const QVariant &deger)
{
    if (deger.isNull())
        return true;
    switch (deger.typeId()) {
    case QMetaType::QString:
        return static_cast<const QString *>(deger.constData())->isNull();
    case QMetaType::QByteArray:
        return static_cast<const QByteArray *>(deger.constData())->isNull();
    case QMetaType::QDateTime:
        return static_cast<const QDateTime *>(deger.constData())->isNull();
    case QMetaType::QDate:
        return static_cast<const QDate *>(deger.constData())->isNull();
    case QMetaType::QTime:
        return static_cast<const QTime *>(deger.constData())->isNull();
    default:
        return false;
    }
}

// The prepared statement straight through SQLite's interface on the connection's handle.
class SqliteKomutu : public HazirKomutUcu
{
public:
    SqliteKomutu(const ArkaUc &arkaUc, VeriTabaniBaglantisi &baglanti, const QString &sql)
        : m_arkaUc(arkaUc), m_baglanti(baglanti)
    {
        m_db = Tutamak(baglanti.Veritabani());
        if (!m_db)
            throw Hata(QStringLiteral("Veritabanı bağlantısı açık değil."));
        const QByteArray metin = baglanti.Lehce(sql).toUtf8();
        const int sonuc = sqlite3_prepare_v2(m_db, metin.constData(), int(metin.size()), &m_komut, nullptr);
        if (sonuc != SQLITE_OK || !m_komut) {
            const QString aciklama = QString::fromUtf8(sqlite3_errmsg(m_db));
            sqlite3_finalize(m_komut);
            m_komut = nullptr;
            VeritabaniHatasiFirlat(m_arkaUc, aciklama, QString::number(sonuc));
        }
    }
    ~SqliteKomutu() override { sqlite3_finalize(m_komut); }

    void Bagla(int sira, const QVariant &deger) override;
    void Yurut() override;
    bool Sonraki() override;
    int SutunSayisi() const override { return sqlite3_column_count(m_komut); }
    QString SutunAdi(int sutun) const override { return QString::fromUtf8(sqlite3_column_name(m_komut, sutun)); }
    QVariant Deger(int sutun) const override;
    QSqlRecord Kayit() const override
    {
        // Names only: the declared types are read from the statement (SonucSutunlari).
        QSqlRecord kayit;
        for (int i = 0; i < SutunSayisi(); ++i)
            kayit.append(QSqlField(SutunAdi(i)));
        return kayit;
    }
    QVariant SonEklenenId() override { return QVariant(qlonglong(sqlite3_last_insert_rowid(m_db))); }
    void Bitir() override
    {
        if (m_calisti)
            sqlite3_reset(m_komut);
        m_calisti = false;
        m_satirHazir = false;
    }

private:
    [[noreturn]] void Firlat(int sonuc)
    {
        const QString aciklama = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_reset(m_komut);
        m_calisti = false;
        m_satirHazir = false;
        VeritabaniHatasiFirlat(m_arkaUc, aciklama, QString::number(sonuc));
    }

    const ArkaUc &m_arkaUc;
    VeriTabaniBaglantisi &m_baglanti;
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_komut = nullptr;
    bool m_calisti = false;    // stepped since the last reset
    bool m_satirHazir = false; // the first step's row is not yet handed out
};

void SqliteKomutu::Bagla(int sira, const QVariant &deger)
{
    if (m_calisti) {
        sqlite3_reset(m_komut);
        m_calisti = false;
        m_satirHazir = false;
    }
    const int yer = sira + 1;
    int sonuc;
    if (BosMu(deger)) {
        sonuc = sqlite3_bind_null(m_komut, yer);
    } else {
        // The same storage classes the Qt driver gives each type.
        switch (deger.typeId()) {
        case QMetaType::QByteArray: {
            const QByteArray *b = static_cast<const QByteArray *>(deger.constData());
            sonuc = sqlite3_bind_blob(m_komut, yer, b->constData(), int(b->size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::Int:
        case QMetaType::Bool:
            sonuc = sqlite3_bind_int(m_komut, yer, deger.toInt());
            break;
        case QMetaType::Double:
            sonuc = sqlite3_bind_double(m_komut, yer, deger.toDouble());
            break;
        case QMetaType::UInt:
        case QMetaType::LongLong:
            sonuc = sqlite3_bind_int64(m_komut, yer, deger.toLongLong());
            break;
        case QMetaType::QDateTime: {
            const QString metin = deger.toDateTime().toString(Qt::ISODateWithMs);
            sonuc = sqlite3_bind_text16(m_komut, yer, metin.utf16(), int(metin.size() * sizeof(QChar)), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QTime: {
            const QString metin = deger.toTime().toString(QStringLiteral("hh:mm:ss.zzz"));
            sonuc = sqlite3_bind_text16(m_komut, yer, metin.utf16(), int(metin.size() * sizeof(QChar)), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QString metin = deger.toString();
            sonuc = sqlite3_bind_text16(m_komut, yer, metin.utf16(), int(metin.size() * sizeof(QChar)), SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (sonuc != SQLITE_OK)
        Firlat(sonuc);
}

void SqliteKomutu::Yurut()
{
    m_baglanti.KomutSayiminaEkle();
    if (m_calisti)
        sqlite3_reset(m_komut);
    m_calisti = true;
    const int sonuc = sqlite3_step(m_komut);
    if (sonuc != SQLITE_ROW && sonuc != SQLITE_DONE)
        Firlat(sonuc);
    m_satirHazir = sonuc == SQLITE_ROW;
    if (!m_satirHazir) {
        // Nothing more to read: the statement lets go of its locks at once.
        sqlite3_reset(m_komut);
        m_calisti = false;
    }
}

bool SqliteKomutu::Sonraki()
{
    if (m_satirHazir) {
        m_satirHazir = false;
        return true;
    }
    if (!m_calisti)
        return false;
    const int sonuc = sqlite3_step(m_komut);
    if (sonuc == SQLITE_ROW)
        return true;
    if (sonuc != SQLITE_DONE)
        Firlat(sonuc);
    sqlite3_reset(m_komut);
    m_calisti = false;
    return false;
}

QVariant SqliteKomutu::Deger(int sutun) const
{
    // The same types the Qt driver reads each storage class as.
    switch (sqlite3_column_type(m_komut, sutun)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(m_komut, sutun)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_komut, sutun));
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(m_komut, sutun)),
                                   sqlite3_column_bytes(m_komut, sutun)));
    default: {
        // Stored as UTF-8: Qt's decoder is quicker than having SQLite translate to UTF-16.
        const auto *metin = reinterpret_cast<const char *>(sqlite3_column_text(m_komut, sutun));
        return QVariant(QString::fromUtf8(metin, sqlite3_column_bytes(m_komut, sutun)));
    }
    }
}

} // namespace

QSqlDatabase SqliteArkaUcu::Ac(const QString &ad, const QString &, const QString &, const QString &veritabani)
{
    const QString dosya = QDir(m_klasor).filePath(veritabani + QStringLiteral(".sqlite"));
    // Never create a database: a missing file is a connection error.
    if (!QFileInfo(dosya).isFile())
        throw BaglantiHatasi(QStringLiteral("Veritabanı dosyası bulunamadı: %1").arg(QDir::toNativeSeparators(dosya)), false);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), ad);
    db.setDatabaseName(dosya);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(KilitBeklemesiMs()));
    QString hataMetni;
    if (!db.open()) {
        hataMetni = db.lastError().text();
    } else {
        // A file that is not a database opens fine; the first read tells.
        QSqlQuery deneme(db);
        if (!deneme.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
            hataMetni = deneme.lastError().text();
        } else {
            deneme.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
            deneme.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
            // Checkpoints copy the log back into the database and wait for the disk; with a
            // larger log they come seldom during an import of many small transactions.
            deneme.exec(QStringLiteral("PRAGMA wal_autocheckpoint=16384"));
            m_tutamak = Tutamak(db);
            if (!TurkceSiralamaKaydet(m_tutamak))
                hataMetni = QString::fromUtf8(sqlite3_errmsg(m_tutamak));
        }
    }
    if (!hataMetni.isEmpty()) {
        m_tutamak = nullptr;
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(ad);
        throw BaglantiHatasi(hataMetni, false);
    }
    return db;
}

QString SqliteArkaUcu::Lehce(const QString &sql) const
{
    bool tazelendi = false;
    return SQLiteLehcesine(
        sql, [&](QStringView tablo, QStringView sutun) { return SutunTuruOku(tablo, sutun, tazelendi); },
        QString::fromLatin1(TurkceSiralamaAdi));
}

SutunTuru SqliteArkaUcu::SutunTuruOku(QStringView tablo, QStringView sutun, bool &tazelendi) const
{
    if (!m_tutamak)
        return SutunTuru::Bilinmiyor;
    if (!tazelendi) {
        // Once per statement: has the schema changed since the catalogue was read?
        tazelendi = true;
        int surum = -1;
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(m_tutamak, "PRAGMA schema_version", -1, &st, nullptr) == SQLITE_OK
            && sqlite3_step(st) == SQLITE_ROW)
            surum = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
        if (surum < 0)
            return SutunTuru::Bilinmiyor;
        if (surum != m_semaSurumu) {
            KatalogOku();
            m_semaSurumu = surum;
        }
    }
    const auto bulunan = m_sutunTurleri.constFind(sutun.toString().toUpper());
    if (bulunan == m_sutunTurleri.cend())
        return SutunTuru::Bilinmiyor;
    if (!tablo.isEmpty()) {
        const QString ad = tablo.toString().toUpper();
        for (const auto &t : *bulunan)
            if (t.first == ad)
                return t.second;
    }
    // An alias or no qualifier: the kind every table with such a column agrees on.
    const SutunTuru tur = bulunan->constFirst().second;
    for (const auto &t : *bulunan)
        if (t.second != tur)
            return SutunTuru::Bilinmiyor;
    return tur;
}

void SqliteArkaUcu::KatalogOku() const
{
    m_sutunTurleri.clear();
    QStringList tablolar;
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(m_tutamak, "SELECT name FROM sqlite_master WHERE type IN ('table','view')", -1, &st, nullptr)
        == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW)
            tablolar << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    }
    sqlite3_finalize(st);
    for (const QString &tablo : tablolar) {
        const QByteArray sql = QStringLiteral("PRAGMA table_info(\"%1\")")
                                   .arg(QString(tablo).replace(QLatin1Char('"'), QStringLiteral("\"\"")))
                                   .toUtf8();
        st = nullptr;
        if (sqlite3_prepare_v2(m_tutamak, sql.constData(), int(sql.size()), &st, nullptr) == SQLITE_OK) {
            while (sqlite3_step(st) == SQLITE_ROW) {
                const QString sutun = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 1)));
                const auto *tipMetni = reinterpret_cast<const char *>(sqlite3_column_text(st, 2));
                SutunTuru tur = SutunTuru::Diger;
                switch (BildirilenTiptenSutun(QString::fromUtf8(tipMetni ? tipMetni : "")).tip) {
                case SutunTipi::Tarih:
                    tur = SutunTuru::Tarih;
                    break;
                case SutunTipi::SabitMetin:
                case SutunTipi::DegiskenMetin:
                    tur = SutunTuru::Metin;
                    break;
                case SutunTipi::Bilinmiyor:
                    tur = SutunTuru::Bilinmiyor;
                    break;
                default:
                    break;
                }
                m_sutunTurleri[sutun.toUpper()].append({tablo.toUpper(), tur});
            }
        }
        sqlite3_finalize(st);
    }
}

void SqliteArkaUcu::IslemBaslat(QSqlDatabase &db, IslemTuru tur)
{
    if (tur == IslemTuru::Olagan) {
        if (!db.transaction())
            VeritabaniHatasiFirlat(*this, db.lastError());
        return;
    }
    // The write lock at once (waited for up to the busy timeout): a second writer's lookup
    // cannot come between this transaction's lookup and its write.
    QSqlQuery basla(db);
    if (!basla.exec(QStringLiteral("BEGIN IMMEDIATE")))
        VeritabaniHatasiFirlat(*this, basla.lastError());
}

bool SqliteArkaUcu::OkumaBaslat(QSqlDatabase &db)
{
    // Deferred: the first read takes the snapshot, and writers of other connections go on
    // (in WAL mode) without being seen.
    if (!db.transaction())
        VeritabaniHatasiFirlat(*this, db.lastError());
    return true;
}

void SqliteArkaUcu::OkumaBitir(QSqlDatabase &db)
{
    if (!db.commit())
        VeritabaniHatasiFirlat(*this, db.lastError());
}

QStringList SqliteArkaUcu::KayitNoktasi(KayitNoktasiAdimi adim, const QString &ad) const
{
    switch (adim) {
    case KayitNoktasiAdimi::Kur:
        return {QStringLiteral("SAVEPOINT ") + ad};
    case KayitNoktasiAdimi::Onayla:
        return {QStringLiteral("RELEASE ") + ad};
    case KayitNoktasiAdimi::GeriDon:
        return {QStringLiteral("ROLLBACK TO ") + ad, QStringLiteral("RELEASE ") + ad};
    }
    return {};
}

bool SqliteArkaUcu::KilitZamanAsimiMi(const QString &yerelKod) const
{
    bool tamam = false;
    const int kod = yerelKod.toInt(&tamam);
    return tamam && (kod & 0xff) == SQLITE_BUSY;
}

QVariant SqliteArkaUcu::SaklananTarih(const QDate &tarih, const QTime &saat) const
{
    if (!tarih.isValid())
        return QVariant(QMetaType(QMetaType::QString));
    return QVariant(SaklananTarihMetni(tarih, saat));
}

QVector<SutunBilgisi> SqliteArkaUcu::SonucSutunlari(QSqlDatabase db, const QSqlRecord &kayit, const QString &gonderilenSql)
{
    QVector<SutunBilgisi> tipler(kayit.count());
    // SQLite keeps each result column's declared type; Qt's driver does not pass it on. Reading
    // it means preparing the statement again, so it is done once per statement text.
    const auto bilinen = m_sonucTipleri.constFind(gonderilenSql);
    if (bilinen != m_sonucTipleri.cend() && bilinen->size() == tipler.size())
        return *bilinen;
    sqlite3 *h = Tutamak(db);
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

TabloBilgisi SqliteArkaUcu::Tablo(QSqlDatabase db, const QString &tablo)
{
    TabloBilgisi bilgi;
    QSqlQuery sorgu(db);
    QString ad = tablo;
    ad.remove(QLatin1Char('"'));
    if (!sorgu.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(ad)))
        return bilgi;
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
    // A table without a declared key still has its rowid.
    if (bilgi.anahtarlar.isEmpty() && !bilgi.sutunlar.isEmpty())
        bilgi.anahtarlar << QStringLiteral("rowid");
    return bilgi;
}

bool SqliteArkaUcu::Yurut(QSqlQuery &sorgu, const QString &sql)
{
    return sql.isEmpty() ? sorgu.exec() : sorgu.exec(sql);
}

QVariant SqliteArkaUcu::SonEklenenAnahtar(QSqlDatabase db) const
{
    sqlite3 *h = Tutamak(db);
    return h ? QVariant(qlonglong(sqlite3_last_insert_rowid(h))) : QVariant();
}

std::unique_ptr<HazirKomutUcu> SqliteArkaUcu::KomutHazirla(VeriTabaniBaglantisi &baglanti, const QString &sql, KomutKullanimi)
{
    return std::make_unique<SqliteKomutu>(*this, baglanti, sql);
}
