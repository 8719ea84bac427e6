#include "state/OdbcKomutu.h"

#include "state/Baglanti.h"
#include "state/Hata.h"
#include "state/HazirKomut.h"
#include "state/SqlServerArkaUcu.h"

#include <QDateTime>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlRecord>
#include <QStringList>

#include <sql.h>
#include <sqlext.h>

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "ODBC's wide characters must be UTF-16 code units");

namespace {

SQLWCHAR *Genis(const QString &metin)
{
    return const_cast<SQLWCHAR *>(reinterpret_cast<const SQLWCHAR *>(metin.utf16()));
}

QString GenistenMetin(const SQLWCHAR *metin, qsizetype uzunluk)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(metin), uzunluk);
}

// The diagnostic records of a handle as Qt's driver joins them: messages by blanks, native
// codes by ';'.
void TanilamaOku(SQLSMALLINT tur, SQLHANDLE tutamac, QString &metin, QString &kodlar)
{
    QStringList metinler, kodListesi;
    for (SQLSMALLINT i = 1; i < 20; ++i) {
        SQLWCHAR durum[6] = {};
        SQLINTEGER yerel = 0;
        SQLWCHAR ileti[2048];
        SQLSMALLINT uzunluk = 0;
        if (!SQL_SUCCEEDED(SQLGetDiagRecW(tur, tutamac, i, durum, &yerel, ileti, 2048, &uzunluk)))
            break;
        metinler << GenistenMetin(ileti, qBound(qsizetype(0), qsizetype(uzunluk), qsizetype(2047)));
        kodListesi << QString::number(yerel);
    }
    metin = metinler.join(QLatin1Char(' '));
    kodlar = kodListesi.join(QLatin1Char(';'));
}

struct Sutun {
    QString ad;
    SQLSMALLINT sqlTipi = 0;
    SQLULEN boyut = 0;
    SQLSMALLINT ondalik = 0;
    SQLSMALLINT bosOlabilir = SQL_NULLABLE_UNKNOWN;
    QMetaType::Type tur = QMetaType::QString;
};

// The type Qt's driver gives each column, so that values read either way are alike.
QMetaType::Type DegerTuru(SQLSMALLINT sqlTipi)
{
    switch (sqlTipi) {
    case SQL_DECIMAL: case SQL_NUMERIC: case SQL_REAL: case SQL_FLOAT: case SQL_DOUBLE:
        return QMetaType::Double;
    case SQL_SMALLINT: case SQL_INTEGER:
        return QMetaType::Int;
    case SQL_BIT: case SQL_TINYINT:
        return QMetaType::UInt;
    case SQL_BIGINT:
        return QMetaType::LongLong;
    case SQL_BINARY: case SQL_VARBINARY: case SQL_LONGVARBINARY:
        return QMetaType::QByteArray;
    case SQL_DATE: case SQL_TYPE_DATE:
        return QMetaType::QDate;
    case SQL_TIME: case SQL_TYPE_TIME: case -154: // SQL_SS_TIME2
        return QMetaType::QTime;
    case SQL_TIMESTAMP: case SQL_TYPE_TIMESTAMP:
        return QMetaType::QDateTime;
    default:
        return QMetaType::QString;
    }
}

// One bound value, kept until the statement has run.
struct Parametre {
    QByteArray veri;
    SQLLEN gosterge = 0;
    SQLSMALLINT cTipi = SQL_C_CHAR;
    SQLSMALLINT sqlTipi = SQL_VARCHAR;
    SQLULEN boyut = 1;
    SQLSMALLINT ondalik = 0;
};

template <typename T>
void Yaz(Parametre &p, SQLSMALLINT cTipi, SQLSMALLINT sqlTipi, const T &deger, SQLULEN boyut = 0, SQLSMALLINT ondalik = 0)
{
    p.veri = QByteArray(reinterpret_cast<const char *>(&deger), sizeof(T));
    p.gosterge = sizeof(T);
    p.cTipi = cTipi;
    p.sqlTipi = sqlTipi;
    p.boyut = boyut;
    p.ondalik = ondalik;
}

SQL_TIMESTAMP_STRUCT ZamanYapisi(const QDateTime &zaman)
{
    SQL_TIMESTAMP_STRUCT z = {};
    z.year = SQLSMALLINT(zaman.date().year());
    z.month = SQLUSMALLINT(zaman.date().month());
    z.day = SQLUSMALLINT(zaman.date().day());
    z.hour = SQLUSMALLINT(zaman.time().hour());
    z.minute = SQLUSMALLINT(zaman.time().minute());
    z.second = SQLUSMALLINT(zaman.time().second());
    z.fraction = SQLUINTEGER(zaman.time().msec()) * 1000000u;
    return z;
}

class OdbcKomutu : public HazirKomutUcu
{
public:
    OdbcKomutu(VeriTabaniBaglantisi &baglanti, SqlServerArkaUcu &arkaUc, const QString &sql, KomutKullanimi kullanim)
        : m_baglanti(baglanti), m_arkaUc(arkaUc), m_gonderilen(baglanti.Lehce(sql)),
          m_tekrar(kullanim == KomutKullanimi::Tekrar)
    {
        const QVariant tutamac = baglanti.Veritabani().driver()->handle();
        // Qt's driver gives its connection handle as a void* (SQLHANDLE).
        if (!tutamac.isValid() || tutamac.metaType() != QMetaType::fromType<SQLHANDLE>()
            || *static_cast<const SQLHANDLE *>(tutamac.constData()) == nullptr)
            throw Hata(QStringLiteral("Veritabanı bağlantısı açık değil."));
        m_baglantiTutamaci = *static_cast<const SQLHANDLE *>(tutamac.constData());
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, m_baglantiTutamaci, &m_tutamac))) {
            m_tutamac = SQL_NULL_HSTMT;
            QString metin, kodlar;
            TanilamaOku(SQL_HANDLE_DBC, m_baglantiTutamaci, metin, kodlar);
            VeritabaniHatasiFirlat(m_arkaUc, metin.isEmpty() ? QStringLiteral("Komut açılamadı.") : metin, kodlar);
        }
        m_anahtarli = m_gonderilen.endsWith(SqlServerArkaUcu::AnahtarSorgusu());
    }

    ~OdbcKomutu() override
    {
        if (m_tutamac != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, m_tutamac);
    }

    void Bagla(int sira, const QVariant &deger) override
    {
        if (!m_tekrar)
            throw Hata(QStringLiteral("Bir kez çalışan komuta değer bağlanamaz."));
        if (sira >= m_degerler.size())
            m_degerler.resize(sira + 1);
        m_degerler[sira] = deger;
    }

    void Yurut() override
    {
        Bitir();
        SQLFreeStmt(m_tutamac, SQL_RESET_PARAMS);
        DegerleriBagla();
        m_baglanti.KomutSayiminaEkle();
        // Sent with its values every time (sp_executesql), never prepared: the server reuses the
        // plan of the same text all the same, and a prepared statement's run cost FreeTDS more
        // than twice as long (4.2 against 1.6 ms a look-up on the test server).
        const SQLRETURN r = SQLExecDirectW(m_tutamac, Genis(m_gonderilen), SQL_NTS);
        if (!SQL_SUCCEEDED(r) && r != SQL_NO_DATA)
            Firlat();
        m_acik = true;
        // Row counts come before a result with columns (an INSERT's before its key).
        SQLSMALLINT sutunSayisi = 0;
        while (m_acik) {
            SQLNumResultCols(m_tutamac, &sutunSayisi);
            if (sutunSayisi > 0)
                break;
            SonrakiSonuc();
        }
        m_sutunlar.clear();
        if (!m_acik)
            return;
        SutunlariOku(sutunSayisi);
        if (m_anahtarli) {
            // The key is read now: a result left open would keep the connection from its next statement.
            m_anahtar = Sonraki() ? m_satir.value(0) : QVariant();
            Bitir();
            m_arkaUc.SonAnahtariYaz(m_anahtar);
        }
    }

    bool Sonraki() override
    {
        if (!m_acik || m_sutunlar.isEmpty())
            return false;
        const SQLRETURN r = SQLFetch(m_tutamac);
        if (r == SQL_NO_DATA) {
            // What follows the rows (an error a later statement of the batch raised) is told too.
            while (m_acik)
                SonrakiSonuc();
            return false;
        }
        if (!SQL_SUCCEEDED(r))
            Firlat();
        for (int i = 0; i < m_sutunlar.size(); ++i)
            m_satir[i] = DegerOku(i);
        return true;
    }

    int SutunSayisi() const override { return int(m_sutunlar.size()); }
    QString SutunAdi(int sutun) const override { return m_sutunlar.value(sutun).ad; }
    QVariant Deger(int sutun) const override { return m_satir.value(sutun); }

    QSqlRecord Kayit() const override
    {
        QSqlRecord kayit;
        for (const Sutun &s : m_sutunlar) {
            QSqlField alan(s.ad, QMetaType(s.tur));
            alan.setSqlType(s.sqlTipi);
            alan.setLength(s.boyut == 0 ? -1 : int(s.boyut));
            alan.setPrecision(s.ondalik == 0 ? -1 : int(s.ondalik));
            if (s.bosOlabilir != SQL_NULLABLE_UNKNOWN)
                alan.setRequired(s.bosOlabilir == SQL_NO_NULLS);
            kayit.append(alan);
        }
        return kayit;
    }

    QVariant SonEklenenId() override { return m_anahtar; }

    void Bitir() override
    {
        if (m_acik)
            SQLFreeStmt(m_tutamac, SQL_CLOSE);
        m_acik = false;
    }

private:
    [[noreturn]] void Firlat()
    {
        QString metin, kodlar;
        TanilamaOku(SQL_HANDLE_STMT, m_tutamac, metin, kodlar);
        SQLFreeStmt(m_tutamac, SQL_CLOSE);
        m_acik = false;
        VeritabaniHatasiFirlat(m_arkaUc, metin.isEmpty() ? QStringLiteral("Komut çalıştırılamadı.") : metin, kodlar);
    }

    void SonrakiSonuc()
    {
        const SQLRETURN r = SQLMoreResults(m_tutamac);
        if (r == SQL_NO_DATA) {
            Bitir();
            return;
        }
        if (!SQL_SUCCEEDED(r))
            Firlat();
    }

    void SutunlariOku(SQLSMALLINT sayi)
    {
        m_sutunlar.resize(sayi);
        m_satir = QVector<QVariant>(sayi);
        for (SQLSMALLINT i = 0; i < sayi; ++i) {
            Sutun &s = m_sutunlar[i];
            SQLWCHAR ad[256];
            SQLSMALLINT adUzunlugu = 0;
            if (!SQL_SUCCEEDED(SQLDescribeColW(m_tutamac, SQLUSMALLINT(i + 1), ad, 256, &adUzunlugu, &s.sqlTipi, &s.boyut,
                                               &s.ondalik, &s.bosOlabilir)))
                Firlat();
            s.ad = GenistenMetin(ad, qBound(qsizetype(0), qsizetype(adUzunlugu), qsizetype(255)));
            s.tur = DegerTuru(s.sqlTipi);
        }
    }

    QVariant DegerOku(int i)
    {
        const Sutun &s = m_sutunlar[i];
        const SQLUSMALLINT no = SQLUSMALLINT(i + 1);
        SQLLEN gosterge = 0;
        const auto oku = [&](SQLSMALLINT cTipi, void *yer, SQLLEN boyut) {
            if (!SQL_SUCCEEDED(SQLGetData(m_tutamac, no, cTipi, yer, boyut, &gosterge)))
                Firlat();
            return gosterge != SQL_NULL_DATA;
        };
        switch (s.tur) {
        case QMetaType::Double: {
            double d = 0;
            return oku(SQL_C_DOUBLE, &d, 0) ? QVariant(d) : QVariant(QMetaType(s.tur));
        }
        case QMetaType::Int: {
            SQLINTEGER d = 0;
            return oku(SQL_C_SLONG, &d, 0) ? QVariant(int(d)) : QVariant(QMetaType(s.tur));
        }
        case QMetaType::UInt: {
            SQLUINTEGER d = 0;
            return oku(SQL_C_ULONG, &d, 0) ? QVariant(uint(d)) : QVariant(QMetaType(s.tur));
        }
        case QMetaType::LongLong: {
            SQLBIGINT d = 0;
            return oku(SQL_C_SBIGINT, &d, 0) ? QVariant(qlonglong(d)) : QVariant(QMetaType(s.tur));
        }
        case QMetaType::QDate: {
            SQL_DATE_STRUCT d = {};
            return oku(SQL_C_TYPE_DATE, &d, sizeof d) ? QVariant(QDate(d.year, d.month, d.day)) : QVariant(QMetaType(s.tur));
        }
        case QMetaType::QTime: {
            SQL_TIME_STRUCT d = {};
            return oku(SQL_C_TYPE_TIME, &d, sizeof d) ? QVariant(QTime(d.hour, d.minute, d.second)) : QVariant(QMetaType(s.tur));
        }
        case QMetaType::QDateTime: {
            SQL_TIMESTAMP_STRUCT d = {};
            if (!oku(SQL_C_TYPE_TIMESTAMP, &d, sizeof d))
                return QVariant(QMetaType(s.tur));
            return QVariant(QDateTime(QDate(d.year, d.month, d.day),
                                      QTime(d.hour, d.minute, d.second, int(d.fraction / 1000000))));
        }
        case QMetaType::QByteArray:
            return ParcaParcaOku(no, SQL_C_BINARY, 1);
        default:
            return ParcaParcaOku(no, SQL_C_WCHAR, sizeof(SQLWCHAR));
        }
    }

    // A text (or binary) value read whole, however long: the driver gives it in pieces.
    QVariant ParcaParcaOku(SQLUSMALLINT no, SQLSMALLINT cTipi, int birim)
    {
        QByteArray veri;
        char parca[8192];
        const SQLLEN sonlandirici = cTipi == SQL_C_WCHAR ? birim : 0;
        for (;;) {
            SQLLEN gosterge = 0;
            const SQLRETURN r = SQLGetData(m_tutamac, no, cTipi, parca, sizeof parca, &gosterge);
            if (r == SQL_NO_DATA)
                break;
            if (!SQL_SUCCEEDED(r))
                Firlat();
            if (gosterge == SQL_NULL_DATA)
                return QVariant(QMetaType(cTipi == SQL_C_WCHAR ? QMetaType::QString : QMetaType::QByteArray));
            const SQLLEN sigan = SQLLEN(sizeof parca) - sonlandirici;
            const SQLLEN gelen = gosterge == SQL_NO_TOTAL || gosterge > sigan ? sigan - sigan % birim : gosterge;
            veri.append(parca, gelen);
            if (r == SQL_SUCCESS)
                break;
        }
        if (cTipi == SQL_C_BINARY)
            return veri;
        return QString::fromUtf16(reinterpret_cast<const char16_t *>(veri.constData()), veri.size() / 2);
    }

    void DegerleriBagla()
    {
        m_parametreler.resize(m_degerler.size());
        for (int i = 0; i < m_degerler.size(); ++i) {
            Parametre &p = m_parametreler[i];
            ParametreHazirla(i, m_degerler[i], p);
            const SQLRETURN r = SQLBindParameter(m_tutamac, SQLUSMALLINT(i + 1), SQL_PARAM_INPUT, p.cTipi, p.sqlTipi,
                                                 p.boyut, p.ondalik, p.gosterge == SQL_NULL_DATA ? nullptr : p.veri.data(),
                                                 p.veri.size(), &p.gosterge);
            if (!SQL_SUCCEEDED(r))
                Firlat();
        }
    }

    void ParametreHazirla(int sira, const QVariant &deger, Parametre &p)
    {
        p = Parametre();
        const int tur = deger.typeId();
        switch (tur) {
        case QMetaType::Bool:
            Yaz(p, SQL_C_BIT, SQL_BIT, static_cast<unsigned char>(deger.toBool() ? 1 : 0), 1);
            break;
        case QMetaType::Int: case QMetaType::Short: case QMetaType::UShort: case QMetaType::Char:
        case QMetaType::UChar: case QMetaType::SChar:
            Yaz(p, SQL_C_SLONG, SQL_INTEGER, SQLINTEGER(deger.toInt()), 10);
            break;
        case QMetaType::UInt: case QMetaType::Long: case QMetaType::ULong: case QMetaType::LongLong:
        case QMetaType::ULongLong:
            Yaz(p, SQL_C_SBIGINT, SQL_BIGINT, SQLBIGINT(deger.toLongLong()), 19);
            break;
        case QMetaType::Double: case QMetaType::Float:
            Yaz(p, SQL_C_DOUBLE, SQL_DOUBLE, deger.toDouble(), 15);
            break;
        case QMetaType::QDateTime: case QMetaType::QDate: {
            const QDateTime zaman = tur == QMetaType::QDate ? QDateTime(deger.toDate(), QTime(0, 0)) : deger.toDateTime();
            Yaz(p, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, ZamanYapisi(zaman), 23, 3);
            if (!zaman.isValid())
                p.gosterge = SQL_NULL_DATA;
            break;
        }
        case QMetaType::QTime: {
            const QTime saat = deger.toTime();
            SQL_TIME_STRUCT s = {SQLUSMALLINT(saat.hour()), SQLUSMALLINT(saat.minute()), SQLUSMALLINT(saat.second())};
            Yaz(p, SQL_C_TYPE_TIME, SQL_TYPE_TIME, s, 8);
            if (!saat.isValid())
                p.gosterge = SQL_NULL_DATA;
            break;
        }
        case QMetaType::QByteArray:
            p.veri = deger.toByteArray();
            p.gosterge = p.veri.size();
            p.cTipi = SQL_C_BINARY;
            p.sqlTipi = p.veri.size() > 8000 ? SQL_LONGVARBINARY : SQL_VARBINARY;
            p.boyut = SQLULEN(qMax<qsizetype>(1, p.veri.size()));
            break;
        case QMetaType::UnknownType:
            p.gosterge = SQL_NULL_DATA; // a NULL of no type
            break;
        default:
            MetinHazirla(sira, deger.toString(), p);
            break;
        }
        if (deger.isNull() && tur != QMetaType::UnknownType)
            p.gosterge = SQL_NULL_DATA;
    }

    void MetinHazirla(int sira, const QString &metin, Parametre &p)
    {
        // Text in the database's code page goes as such; a letter the code page lacks only to
        // a Unicode column: elsewhere the server would store '?' for it, so it is refused here.
        bool unicode = false;
        if (const QChar eksik = m_arkaUc.KodSayfasindaOlmayan(metin); !eksik.isNull()) {
            unicode = UnicodeHedefMi(sira);
            if (!unicode)
                throw Hata(m_arkaUc.KodSayfasiHatasi(metin, eksik));
        }
        p.veri = QByteArray(reinterpret_cast<const char *>(metin.utf16()), metin.size() * qsizetype(sizeof(char16_t)));
        p.gosterge = p.veri.size();
        p.cTipi = SQL_C_WCHAR;
        const qsizetype uzunluk = qMax<qsizetype>(1, metin.size());
        p.sqlTipi = unicode ? (uzunluk > 4000 ? SQL_WLONGVARCHAR : SQL_WVARCHAR) : (uzunluk > 8000 ? SQL_LONGVARCHAR : SQL_VARCHAR);
        p.boyut = SQLULEN(uzunluk);
    }

    // Whether "?" number `sira` stands for a Unicode column, as the server describes the
    // statement's parameters (asked once per statement, and only when a text needs it).
    bool UnicodeHedefMi(int sira)
    {
        if (!m_hedeflerSoruldu) {
            m_hedeflerSoruldu = true;
            m_unicodeHedefler = UnicodeHedefleriSor();
        }
        return m_unicodeHedefler.value(sira, false);
    }

    QVector<bool> UnicodeHedefleriSor()
    {
        QString govde = m_gonderilen;
        if (m_anahtarli)
            govde.chop(SqlServerArkaUcu::AnahtarSorgusu().size());
        int sayi = 0;
        QString adli = AdliParametreler(govde, &sayi);
        adli.replace(QLatin1Char('\''), QLatin1String("''"));
        const QString sql = QStringLiteral("EXEC sp_describe_undeclared_parameters N'%1'").arg(adli);
        QVector<bool> hedefler(sayi, false);
        SQLHSTMT soru = SQL_NULL_HSTMT;
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, m_baglantiTutamaci, &soru)))
            return hedefler;
        m_baglanti.KomutSayiminaEkle();
        if (SQL_SUCCEEDED(SQLExecDirectW(soru, Genis(sql), SQL_NTS))) {
            SQLSMALLINT sutunlar = 0;
            SQLNumResultCols(soru, &sutunlar);
            while (sutunlar >= 4 && SQL_SUCCEEDED(SQLFetch(soru))) {
                SQLINTEGER sira = 0;
                SQLLEN g = 0;
                SQLWCHAR tip[130] = {};
                SQLLEN tg = 0;
                if (SQL_SUCCEEDED(SQLGetData(soru, 1, SQL_C_SLONG, &sira, 0, &g))
                    && SQL_SUCCEEDED(SQLGetData(soru, 4, SQL_C_WCHAR, tip, sizeof tip, &tg)) && tg != SQL_NULL_DATA
                    && sira >= 1 && sira <= sayi) {
                    const QString ad = GenistenMetin(tip, qBound(qsizetype(0), qsizetype(tg / 2), qsizetype(129))).trimmed();
                    hedefler[sira - 1] = ad.startsWith(QLatin1String("nchar"), Qt::CaseInsensitive)
                                         || ad.startsWith(QLatin1String("nvarchar"), Qt::CaseInsensitive)
                                         || ad.startsWith(QLatin1String("ntext"), Qt::CaseInsensitive);
                }
            }
        }
        SQLFreeStmt(soru, SQL_CLOSE);
        SQLFreeHandle(SQL_HANDLE_STMT, soru);
        return hedefler;
    }

    VeriTabaniBaglantisi &m_baglanti;
    SqlServerArkaUcu &m_arkaUc;
    const QString m_gonderilen;
    const bool m_tekrar;
    bool m_anahtarli = false;
    SQLHDBC m_baglantiTutamaci = SQL_NULL_HDBC;
    SQLHSTMT m_tutamac = SQL_NULL_HSTMT;
    bool m_acik = false;
    QVector<QVariant> m_degerler;
    QVector<Parametre> m_parametreler;
    QVector<Sutun> m_sutunlar;
    QVector<QVariant> m_satir;
    QVariant m_anahtar;
    bool m_hedeflerSoruldu = false;
    QVector<bool> m_unicodeHedefler;
};

} // namespace

QString AdliParametreler(const QString &sql, int *sayi)
{
    QString sonuc;
    sonuc.reserve(sql.size() + 16);
    int n = 0;
    QChar tirnak;
    for (const QChar c : sql) {
        if (!tirnak.isNull()) {
            if (c == tirnak)
                tirnak = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            tirnak = c;
        } else if (c == QLatin1Char('[')) {
            tirnak = QLatin1Char(']');
        } else if (c == QLatin1Char('?')) {
            sonuc += QStringLiteral("@P%1").arg(++n);
            continue;
        }
        sonuc += c;
    }
    if (sayi)
        *sayi = n;
    return sonuc;
}

std::unique_ptr<HazirKomutUcu> OdbcKomutuAc(VeriTabaniBaglantisi &baglanti, SqlServerArkaUcu &arkaUc,
                                            const QString &sql, KomutKullanimi kullanim)
{
    return std::make_unique<OdbcKomutu>(baglanti, arkaUc, sql, kullanim);
}
