#include "state/SqlServerArkaUcu.h"

#include "state/Baglanti.h"
#include "state/Hata.h"
#include "state/HazirKomut.h"
#include "state/OdbcKomutu.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringDecoder>

namespace {

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
    case -6: // SQL_TINYINT
        bilgi.tip = SutunTipi::TamSayi;
        bilgi.tamSayiBayti = 1;
        break;
    case 5: // SQL_SMALLINT
        bilgi.tip = SutunTipi::TamSayi;
        bilgi.tamSayiBayti = 2;
        break;
    case 4: // SQL_INTEGER
        bilgi.tip = SutunTipi::TamSayi;
        bilgi.tamSayiBayti = 4;
        break;
    case -5: // SQL_BIGINT
        bilgi.tip = SutunTipi::TamSayi;
        bilgi.tamSayiBayti = 8;
        break;
    case 2: case 3: // SQL_NUMERIC, SQL_DECIMAL (money as well): column size and decimal digits
        bilgi.tip = SutunTipi::Ondalik;
        bilgi.basamak = qMax(0, alan.length());
        bilgi.ondalik = bilgi.basamak > 0 ? qMax(0, alan.precision()) : 0;
        break;
    case 6: case 7: case 8:
        bilgi.tip = SutunTipi::Ondalik;
        break;
    case -7:
        bilgi.tip = SutunTipi::Bit;
        break;
    case 91: case 9: // SQL_TYPE_DATE
        bilgi.tip = SutunTipi::Tarih;
        bilgi.tarihAraligi = TarihAraligi::Date;
        break;
    case 93: case 11: // SQL_TYPE_TIMESTAMP: smalldatetime has 16 characters; datetime is the
                      // narrower of the rest (datetime2 also reads 23 at three decimals)
        bilgi.tip = SutunTipi::Tarih;
        bilgi.tarihAraligi = alan.length() == 16 ? TarihAraligi::SmallDateTime
                             : alan.length() <= 23 ? TarihAraligi::DateTime
                                                   : TarihAraligi::Date;
        break;
    default:
        break;
    }
    if (bilgi.tip == SutunTipi::SabitMetin || bilgi.tip == SutunTipi::DegiskenMetin)
        bilgi.uzunluk = qMax(0, alan.length());
    return bilgi;
}

// [name] or [schema].[name], each part quoted the T-SQL way.
QString TabloAdi(const QString &tablo)
{
    QStringList parcalar;
    for (QString parca : tablo.split(QLatin1Char('.'))) {
        parca.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
        parcalar << QLatin1Char('[') + parca + QLatin1Char(']');
    }
    return parcalar.join(QLatin1Char('.'));
}

} // namespace

const QString &SqlServerArkaUcu::AnahtarSorgusu()
{
    static const QString sorgu = QStringLiteral(";SELECT CAST(SCOPE_IDENTITY() AS bigint)");
    return sorgu;
}

bool SqlServerArkaUcu::GirisReddiMi(const QString &metin, const QString &yerelKodlar)
{
    // A database that is missing or closed to the login is answered with 4060 followed by
    // 18456 "Login failed": the password was right, so it is no failed attempt.
    const QStringList kodlar = yerelKodlar.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (kodlar.contains(QLatin1String("4060")) || metin.contains(QLatin1String("Cannot open database"), Qt::CaseInsensitive))
        return false;
    const QString hepsi = metin + QLatin1Char(' ') + yerelKodlar;
    return hepsi.contains(QLatin1String("28000")) || hepsi.contains(QLatin1String("18456"))
           || hepsi.contains(QLatin1String("login failed"), Qt::CaseInsensitive);
}

QSqlDatabase SqlServerArkaUcu::Ac(const QString &ad, const QString &kullanici, const QString &sifre,
                                  const QString &veritabani)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), ad);
    db.setDatabaseName(VeriTabaniBaglantisi::OdbcBaglantiMetni(kullanici, sifre, veritabani, m_server,
                                                               VeriTabaniBaglantisi::OdbcSurucusu()));
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=15;SQL_ATTR_CONNECTION_TIMEOUT=15"));
    QString hataMetni;
    bool reddedildi = false;
    if (!db.open()) {
        hataMetni = db.lastError().text();
        reddedildi = GirisReddiMi(db.lastError().text(), db.lastError().nativeErrorCode());
    } else {
        // A lock another connection holds ends in an error after the same wait as on the
        // embedded backend, never in a hang; the setting lasts as long as the connection.
        QSqlQuery ayar(db);
        ayar.setForwardOnly(true);
        if (!ayar.exec(QStringLiteral("SET LOCK_TIMEOUT %1").arg(KilitBeklemesiMs())))
            hataMetni = ayar.lastError().text();
        else
            KodSayfasiniOku(db);
    }
    if (!hataMetni.isEmpty()) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(ad);
        throw BaglantiHatasi(hataMetni, reddedildi);
    }
    return db;
}

void SqlServerArkaUcu::KodSayfasiniOku(QSqlDatabase &db)
{
    m_kodSayfasi = 0;
    m_kodSayfasiHarfleri.clear();
    m_surucuUnicode = db.driver()->hasFeature(QSqlDriver::Unicode);
    QSqlQuery sorgu(db);
    sorgu.setForwardOnly(true);
    if (!sorgu.exec(QStringLiteral("SELECT CAST(COLLATIONPROPERTY(CAST(DATABASEPROPERTYEX(DB_NAME(), 'Collation') "
                                   "AS nvarchar(128)), 'CodePage') AS int)"))
        || !sorgu.next())
        return;
    const int kodSayfasi = sorgu.value(0).toInt();
    QStringDecoder cozucu(QStringLiteral("windows-%1").arg(kodSayfasi).toLatin1().constData());
    if (kodSayfasi <= 0 || !cozucu.isValid())
        return;
    // A single-byte code page: the characters its upper half holds.
    for (int b = 0x80; b <= 0xFF; ++b) {
        const QString c = cozucu.decode(QByteArray(1, char(b)));
        if (c.size() == 1 && c[0] != QChar::ReplacementCharacter)
            m_kodSayfasiHarfleri.insert(c[0].unicode());
    }
    m_kodSayfasi = kodSayfasi;
}

QChar SqlServerArkaUcu::KodSayfasindaOlmayan(const QString &metin) const
{
    if (m_kodSayfasi == 0)
        return QChar();
    for (const QChar c : metin) {
        if (c.unicode() >= 0x80 && !m_kodSayfasiHarfleri.contains(c.unicode()))
            return c;
    }
    return QChar();
}

QString SqlServerArkaUcu::KodSayfasiHatasi(const QString &metin, QChar karakter) const
{
    return QStringLiteral("'%1' metnindeki '%2' karakteri sunucuya gönderilemez: veritabanının kod sayfası (%3) bu "
                          "karakteri içermiyor.")
        .arg(metin, QString(karakter))
        .arg(m_kodSayfasi);
}

void SqlServerArkaUcu::DegerleriDenetle(const QVariantList &degerler) const
{
    // Qt's driver sends bound text in the database's code page, and FreeTDS fails the statement
    // on a character the code page lacks, leaving the connection unusable: such a text is
    // refused here.
    if (m_surucuUnicode)
        return;
    for (const QVariant &deger : degerler) {
        if (deger.typeId() != QMetaType::QString)
            continue;
        const QString &metin = *static_cast<const QString *>(deger.constData());
        if (const QChar c = KodSayfasindaOlmayan(metin); !c.isNull())
            throw Hata(KodSayfasiHatasi(metin, c));
    }
}

QString SqlServerArkaUcu::Lehce(const QString &sql) const
{
    // The key of a new row: SCOPE_IDENTITY() is right only in the INSERT's own batch, and
    // @@IDENTITY (what the ODBC driver would ask) takes a trigger's insert for the row's.
    static const QRegularExpression ekleme(QStringLiteral(R"(^\s*INSERT\b)"), QRegularExpression::CaseInsensitiveOption);
    if (!ekleme.match(sql).hasMatch())
        return sql;
    QString metin = sql;
    while (metin.endsWith(QLatin1Char(';')) || (!metin.isEmpty() && metin.back().isSpace()))
        metin.chop(1);
    return metin + AnahtarSorgusu();
}

void SqlServerArkaUcu::IslemBaslat(QSqlDatabase &db, IslemTuru tur, const QString &kilit)
{
    if (!db.transaction())
        VeritabaniHatasiFirlat(*this, db.lastError());
    if (tur != IslemTuru::Yazma || kilit.isEmpty())
        return;
    // The lookup's hint keeps another writer from inserting what a lookup did not find; writers
    // of this program also take turns by an application lock held to the transaction's end,
    // waited for as long as any lock.
    QString kaynak = kilit;
    kaynak.replace(QLatin1Char('\''), QLatin1String("''"));
    QSqlQuery sorgu(db);
    sorgu.setForwardOnly(true);
    const QString sql = QStringLiteral("DECLARE @sonuc int; EXEC @sonuc = sp_getapplock @Resource = N'%1', "
                                       "@LockMode = 'Exclusive', @LockOwner = 'Transaction', @LockTimeout = %2; "
                                       "SELECT @sonuc")
                            .arg(kaynak)
                            .arg(KilitBeklemesiMs());
    bool alindi = false;
    QString hata;
    QString yerelKod;
    if (sorgu.exec(sql)) {
        while (!sorgu.isSelect() && sorgu.nextResult()) {
        }
        const int sonuc = sorgu.isSelect() && sorgu.next() ? sorgu.value(0).toInt() : -999;
        while (sorgu.nextResult()) {
        }
        alindi = sonuc >= 0;
        hata = QStringLiteral("sp_getapplock %1 döndü").arg(sonuc);
        // -1: the wait ran out, told as any lock's
        yerelKod = sonuc == -1 ? QStringLiteral("1222") : QString();
    } else {
        hata = sorgu.lastError().databaseText().isEmpty() ? sorgu.lastError().text() : sorgu.lastError().databaseText();
        yerelKod = sorgu.lastError().nativeErrorCode();
    }
    sorgu.finish();
    if (!alindi) {
        db.rollback();
        VeritabaniHatasiFirlat(*this, hata, yerelKod);
    }
}

bool SqlServerArkaUcu::OkumaBaslat(QSqlDatabase &db)
{
    // Snapshot isolation sees the whole read at its start without locking anything, but only
    // where the database allows it; otherwise REPEATABLE READ keeps what a part read unchanged
    // until the part ends.
    QSqlQuery sorgu(db);
    sorgu.setForwardOnly(true);
    const bool anlik = sorgu.exec(QStringLiteral(
                           "SELECT snapshot_isolation_state_desc FROM sys.databases WHERE name = DB_NAME()"))
                       && sorgu.next() && sorgu.value(0).toString().trimmed().compare(QLatin1String("ON"), Qt::CaseInsensitive) == 0;
    sorgu.finish();
    if (!sorgu.exec(anlik ? QStringLiteral("SET TRANSACTION ISOLATION LEVEL SNAPSHOT")
                          : QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ")))
        VeritabaniHatasiFirlat(*this, sorgu.lastError());
    if (!db.transaction()) {
        const QSqlError hata = db.lastError();
        sorgu.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL READ COMMITTED"));
        VeritabaniHatasiFirlat(*this, hata);
    }
    return anlik;
}

void SqlServerArkaUcu::OkumaBitir(QSqlDatabase &db)
{
    const bool onaylandi = db.commit();
    const QSqlError hata = db.lastError();
    QSqlQuery sorgu(db);
    sorgu.setForwardOnly(true);
    const bool geriVerildi = sorgu.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL READ COMMITTED"));
    if (!onaylandi)
        VeritabaniHatasiFirlat(*this, hata);
    if (!geriVerildi)
        VeritabaniHatasiFirlat(*this, sorgu.lastError());
}

QStringList SqlServerArkaUcu::KayitNoktasi(KayitNoktasiAdimi adim, const QString &ad) const
{
    switch (adim) {
    case KayitNoktasiAdimi::Kur:
        return {QStringLiteral("SAVE TRANSACTION ") + ad};
    case KayitNoktasiAdimi::Onayla:
        return {};
    case KayitNoktasiAdimi::GeriDon:
        return {QStringLiteral("ROLLBACK TRANSACTION ") + ad};
    }
    return {};
}

bool SqlServerArkaUcu::KilitZamanAsimiMi(const QString &yerelKod) const
{
    // 1222: "Lock request time out period exceeded." (one code per diagnostic record)
    return yerelKod.split(QLatin1Char(';')).contains(QLatin1String("1222"));
}

QVariant SqlServerArkaUcu::SaklananTarih(const QDate &tarih, const QTime &saat) const
{
    if (!tarih.isValid())
        return QVariant(QMetaType(QMetaType::QDateTime));
    return QVariant(QDateTime(tarih, saat));
}

QVector<SutunBilgisi> SqlServerArkaUcu::SonucSutunlari(QSqlDatabase, const QSqlRecord &kayit, const QString &)
{
    QVector<SutunBilgisi> tipler(kayit.count());
    for (int i = 0; i < kayit.count(); ++i)
        tipler[i] = OdbcSutunu(kayit.field(i));
    return tipler;
}

TabloBilgisi SqlServerArkaUcu::Tablo(QSqlDatabase db, const QString &tablo)
{
    TabloBilgisi bilgi;
    // The columns as a result describes them: the same types every read of the table gets.
    QSqlQuery sutunlar(db);
    sutunlar.setForwardOnly(true);
    if (!sutunlar.exec(QStringLiteral("SELECT TOP 0 * FROM %1").arg(TabloAdi(tablo)))) {
        // No such table, or one that could not be read (a lock held past the wait): the latter
        // is no answer about the table and is told as it is.
        const QSqlError hata = sutunlar.lastError();
        QSqlQuery var(db);
        var.setForwardOnly(true);
        var.prepare(QStringLiteral("SELECT CASE WHEN OBJECT_ID(?) IS NULL THEN 0 ELSE 1 END"));
        var.bindValue(0, tablo);
        if (var.exec() && var.next() && var.value(0).toInt() == 0)
            return bilgi;
        VeritabaniHatasiFirlat(*this, hata);
    }
    const QSqlRecord kayit = sutunlar.record();
    for (int i = 0; i < kayit.count(); ++i) {
        bilgi.sutunlar << kayit.fieldName(i);
        bilgi.tipler << OdbcSutunu(kayit.field(i));
    }
    QSqlQuery anahtar(db);
    anahtar.setForwardOnly(true);
    anahtar.prepare(QStringLiteral(
        "SELECT c.name FROM sys.indexes i "
        "JOIN sys.index_columns ic ON ic.object_id = i.object_id AND ic.index_id = i.index_id "
        "JOIN sys.columns c ON c.object_id = ic.object_id AND c.column_id = ic.column_id "
        "WHERE i.is_primary_key = 1 AND i.object_id = OBJECT_ID(?) ORDER BY ic.key_ordinal"));
    anahtar.bindValue(0, tablo);
    if (anahtar.exec()) {
        while (anahtar.next()) {
            // The column as the table spells it.
            const QString ad = anahtar.value(0).toString();
            const auto yer = std::find_if(bilgi.sutunlar.cbegin(), bilgi.sutunlar.cend(), [&](const QString &s) {
                return s.compare(ad, Qt::CaseInsensitive) == 0;
            });
            bilgi.anahtarlar << (yer != bilgi.sutunlar.cend() ? *yer : ad);
        }
    }
    return bilgi;
}

bool SqlServerArkaUcu::Yurut(QSqlQuery &sorgu, const QString &sql)
{
    DegerleriDenetle(sorgu.boundValues());
    if (!(sql.isEmpty() ? sorgu.exec() : sorgu.exec(sql)))
        return false;
    const QString &gonderilen = sql.isEmpty() ? sorgu.lastQuery() : sql;
    if (!gonderilen.endsWith(AnahtarSorgusu()))
        return true;
    // The INSERT's batch ends with the key query; a row count may come before it. Every result
    // is read now: one left open would keep the connection from its next statement.
    while (!sorgu.isSelect()) {
        if (!sorgu.nextResult())
            break;
    }
    m_sonAnahtar = sorgu.isSelect() && sorgu.next() ? sorgu.value(0) : QVariant();
    while (sorgu.nextResult()) {
    }
    return true;
}

std::unique_ptr<HazirKomutUcu> SqlServerArkaUcu::KomutHazirla(VeriTabaniBaglantisi &baglanti, const QString &sql,
                                                              KomutKullanimi kullanim)
{
    return OdbcKomutuAc(baglanti, *this, sql, kullanim);
}
