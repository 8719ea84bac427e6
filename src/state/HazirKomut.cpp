#include "state/HazirKomut.h"

#include "state/Baglanti.h"
#include "state/Hata.h"

#include <QDateTime>
#include <QSqlDriver>
#include <QSqlRecord>
#include <sqlite3.h>

namespace {

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

} // namespace

HazirKomut::HazirKomut(VeriTabaniBaglantisi &baglanti, const QString &sql) : m_baglanti(baglanti)
{
    if (!baglanti.SQLiteMi()) {
        m_sorgu = &baglanti.Hazirla(sql);
        return;
    }
    const QVariant tutamak = baglanti.Veritabani().driver()->handle();
    m_db = tutamak.isValid() ? *static_cast<sqlite3 *const *>(tutamak.data()) : nullptr;
    if (!m_db)
        throw Hata(QStringLiteral("Veritabanı bağlantısı açık değil."));
    const QByteArray metin = baglanti.Lehce(sql).toUtf8();
    const int sonuc = sqlite3_prepare_v2(m_db, metin.constData(), int(metin.size()), &m_komut, nullptr);
    if (sonuc != SQLITE_OK || !m_komut) {
        const QString aciklama = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(m_komut);
        m_komut = nullptr;
        throw Hata(aciklama, sonuc != SQLITE_OK ? sonuc : Hata::GenelHataNo);
    }
}

HazirKomut::~HazirKomut()
{
    if (m_komut)
        sqlite3_finalize(m_komut);
}

void HazirKomut::Firlat(int sonuc)
{
    const QString aciklama = QString::fromUtf8(sqlite3_errmsg(m_db));
    sqlite3_reset(m_komut);
    m_calisti = false;
    m_satirHazir = false;
    throw Hata(aciklama, sonuc != 0 ? sonuc : Hata::GenelHataNo);
}

void HazirKomut::Bagla(int sira, const QVariant &deger)
{
    if (m_sorgu) {
        m_sorgu->bindValue(sira, deger);
        return;
    }
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

void HazirKomut::Yurut()
{
    if (m_sorgu) {
        m_baglanti.Yurut(*m_sorgu);
        return;
    }
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

bool HazirKomut::Sonraki()
{
    if (m_sorgu)
        return m_sorgu->next();
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

int HazirKomut::SutunSayisi() const
{
    return m_sorgu ? m_sorgu->record().count() : sqlite3_column_count(m_komut);
}

QString HazirKomut::SutunAdi(int sutun) const
{
    if (m_sorgu)
        return m_sorgu->record().fieldName(sutun);
    return QString::fromUtf8(sqlite3_column_name(m_komut, sutun));
}

QVariant HazirKomut::Deger(int sutun) const
{
    if (m_sorgu)
        return m_sorgu->value(sutun);
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

QVariant HazirKomut::SonEklenenId() const
{
    if (m_sorgu)
        return m_sorgu->lastInsertId();
    return QVariant(qlonglong(sqlite3_last_insert_rowid(m_db)));
}

void HazirKomut::Bitir()
{
    if (m_sorgu) {
        m_sorgu->finish();
        return;
    }
    if (m_calisti)
        sqlite3_reset(m_komut);
    m_calisti = false;
    m_satirHazir = false;
}
