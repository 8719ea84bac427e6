#include "demo/SqliteDemoYazici.h"

#include "state/Hata.h"

#include <QFileInfo>

namespace {

class SqliteEkleyici : public SatirEkleyici
{
public:
    SqliteEkleyici(SqliteDosyasi &db, const QString &sql) : m_komut(db.Hazirla(sql)) {}
    void Ekle(const QVector<QVariant> &degerler) override { m_komut.Yurut(degerler); }
    void Bitir() override {}

private:
    SqliteDosyasi::Komut m_komut;
};

} // namespace

SqliteDemoYazici::SqliteDemoYazici(const QString &klasor)
{
    if (!QDir().mkpath(klasor))
        throw Hata(QStringLiteral("Klasör oluşturulamadı: %1").arg(klasor));
    m_klasor = QDir(klasor);
}

void SqliteDemoYazici::Hazirla(const QStringList &veritabanlari, const QStringList &, bool uzerineYaz)
{
    QStringList varOlanlar;
    for (const QString &ad : veritabanlari)
        if (QFileInfo::exists(m_klasor.filePath(ad + QStringLiteral(".sqlite"))))
            varOlanlar << ad + QStringLiteral(".sqlite");
    if (!varOlanlar.isEmpty() && !uzerineYaz)
        throw Hata(QStringLiteral("%1 klasöründe zaten bir arka ofis var (%2); üzerine yazmak için --force verin.")
                       .arg(QDir::toNativeSeparators(m_klasor.path()), varOlanlar.join(QStringLiteral(", "))));
    // The files themselves are replaced as each database is written.
}

void SqliteDemoYazici::VeritabaniOlustur(const QString &ad, const SemaTanimi &sema, const QStringList &)
{
    m_db.reset();
    m_db = std::make_unique<SqliteDosyasi>(m_klasor.filePath(ad + QStringLiteral(".sqlite")));
    for (const QString &sql : SemaKomutlari(sema, SemaLehcesi::SQLite))
        m_db->Calistir(sql);
    m_db->Calistir(QStringLiteral("BEGIN"));
}

SqliteDosyasi &SqliteDemoYazici::Db()
{
    if (!m_db)
        throw Hata(QStringLiteral("Açık demo veritabanı yok."));
    return *m_db;
}

std::unique_ptr<SatirEkleyici> SqliteDemoYazici::Ekleyici(const QString &tablo, const QStringList &sutunlar)
{
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(tablo, sutunlar.join(QLatin1Char(',')),
                                 QStringLiteral("?,").repeated(sutunlar.size()).chopped(1));
    return std::make_unique<SqliteEkleyici>(Db(), sql);
}

QHash<QString, qint64> SqliteDemoYazici::Kimlikler(const QString &sql)
{
    return Db().AnahtarKimlikleri(sql);
}

void SqliteDemoYazici::VeritabaniBitir()
{
    Db().Calistir(QStringLiteral("COMMIT"));
    Db().Calistir(QStringLiteral("ANALYZE"));
    m_db.reset();
}
