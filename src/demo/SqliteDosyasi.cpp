#include "demo/SqliteDosyasi.h"

#include "state/Hata.h"

#include <QDateTime>
#include <QFile>
#include <sqlite3.h>

namespace {
[[noreturn]] void Firlat(sqlite3 *db)
{
    throw Hata(QString::fromUtf8(sqlite3_errmsg(db)));
}
} // namespace

SqliteDosyasi::SqliteDosyasi(const QString &yol)
{
    for (const QString &ek : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")})
        QFile::remove(yol + ek);
    if (sqlite3_open_v2(yol.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString metin = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("sqlite");
        sqlite3_close(m_db);
        m_db = nullptr;
        throw Hata(QStringLiteral("%1: %2").arg(yol, metin));
    }
    Calistir(QStringLiteral("PRAGMA journal_mode=WAL"));
    Calistir(QStringLiteral("PRAGMA synchronous=NORMAL"));
}

SqliteDosyasi::~SqliteDosyasi()
{
    sqlite3_close(m_db);
}

void SqliteDosyasi::Calistir(const QString &sql)
{
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        Firlat(m_db);
}

QHash<QString, qint64> SqliteDosyasi::AnahtarKimlikleri(const QString &sql)
{
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        Firlat(m_db);
    QHash<QString, qint64> sonuc;
    int adim;
    while ((adim = sqlite3_step(st)) == SQLITE_ROW)
        sonuc.insert(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))),
                     sqlite3_column_int64(st, 1));
    sqlite3_finalize(st);
    if (adim != SQLITE_DONE)
        Firlat(m_db);
    return sonuc;
}

SqliteDosyasi::Komut::Komut(sqlite3 *db, const QString &sql) : m_db(db)
{
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &m_st, nullptr) != SQLITE_OK)
        Firlat(db);
}

SqliteDosyasi::Komut::~Komut()
{
    sqlite3_finalize(m_st);
}

void SqliteDosyasi::Komut::Yurut(const QVector<QVariant> &degerler)
{
    sqlite3_reset(m_st);
    for (int i = 0; i < degerler.size(); ++i) {
        const QVariant &d = degerler[i];
        int sonuc;
        if (d.isNull())
            sonuc = sqlite3_bind_null(m_st, i + 1);
        else if (d.typeId() == QMetaType::Double)
            sonuc = sqlite3_bind_double(m_st, i + 1, d.toDouble());
        else if (d.typeId() == QMetaType::Int || d.typeId() == QMetaType::LongLong || d.typeId() == QMetaType::Bool)
            sonuc = sqlite3_bind_int64(m_st, i + 1, d.toLongLong());
        else {
            const QByteArray metin =
                (d.typeId() == QMetaType::QDateTime ? d.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                                     : d.toString())
                    .toUtf8();
            sonuc = sqlite3_bind_text(m_st, i + 1, metin.constData(), int(metin.size()), SQLITE_TRANSIENT);
        }
        if (sonuc != SQLITE_OK)
            Firlat(m_db);
    }
    if (sqlite3_step(m_st) != SQLITE_DONE)
        Firlat(m_db);
}

qint64 SqliteDosyasi::Komut::SonEklenen() const
{
    return sqlite3_last_insert_rowid(m_db);
}
