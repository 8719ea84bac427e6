#include "state/Recordset.h"

#include "state/Baglanti.h"
#include "state/DegerMetin.h"
#include "state/Hata.h"
#include "state/HazirKomut.h"

#include <QRegularExpression>
#include <QSqlQuery>

namespace {

const QString KapaliHatasi = QStringLiteral("Nesne kapalıyken işleme izin verilmez.");
const QString EofHatasi = QStringLiteral("BOF veya EOF True, ya da geçerli kayıt silinmiş.");

// "SELECT <list> FROM <table> ..." with one base table: the table's name and where " FROM" starts.
bool TabloBul(const QString &sql, QString &tablo, qsizetype &fromKonumu)
{
    static const QRegularExpression bicim(
        QStringLiteral(R"(^\s*SELECT\s.+?(\sFROM\s+)([A-Za-z_][A-Za-z0-9_]*)\s*(?:$|WHERE\b|ORDER\b))"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto e = bicim.match(sql);
    if (!e.hasMatch())
        return false;
    tablo = e.captured(2);
    fromKonumu = e.capturedStart(1);
    return true;
}

bool KomutMu(const QString &sql)
{
    static const QRegularExpression komut(QStringLiteral(R"(^\s*(UPDATE|INSERT|DELETE)\b)"),
                                          QRegularExpression::CaseInsensitiveOption);
    return komut.match(sql).hasMatch();
}

} // namespace

void Recordset::Kapat()
{
    m_acik = false;
    m_kaynak.clear();
    m_gonderilen.clear();
    m_kayit = QSqlRecord();
    m_adlar.clear();
    m_gorunen = 0;
    m_tipler.clear();
    m_tiplerHazir = false;
    m_satirlar.clear();
    m_konum = 0;
    m_guncellenebilir = false;
    m_tablo.clear();
    m_anahtarlar.clear();
    m_degisen.clear();
    m_yeniler.clear();
    m_ilkDegerler.clear();
}

void Recordset::Ac(VeriTabaniBaglantisi &baglanti, const QString &sql, bool guncellenebilir)
{
    Kapat();
    m_baglanti = &baglanti;

    // A statement that returns no rows runs and leaves the recordset closed.
    if (KomutMu(sql)) {
        baglanti.Calistir(sql);
        return;
    }

    // Read-only: through the backend's statement, on the embedded backend straight through
    // SQLite without QSqlQuery's row cache.
    if (!guncellenebilir) {
        Oku(baglanti, sql, QVector<QVariant>(), KomutKullanimi::TekSefer);
        return;
    }

    QString gonderilecek = sql;
    QStringList gizliAnahtarlar;
    QStringList anahtarlar;
    QString tablo;
    if (guncellenebilir) {
        qsizetype from = -1;
        if (TabloBul(sql, tablo, from)) {
            anahtarlar = baglanti.AnahtarSutunlari(tablo);
            // Key columns the statement does not select are fetched as hidden columns.
            QString ek;
            for (const QString &a : anahtarlar) {
                static const QRegularExpression ayrac(QStringLiteral("[\\s,.]"));
                const QString liste = sql.left(from);
                bool var = false;
                for (const QString &parca : liste.split(ayrac, Qt::SkipEmptyParts))
                    var = var || parca.compare(a, Qt::CaseInsensitive) == 0;
                if (!var) {
                    ek += QStringLiteral(",%1.%2 AS %2").arg(tablo, a);
                    gizliAnahtarlar << a;
                }
            }
            gonderilecek = sql.left(from) + ek + sql.mid(from);
            m_tablo = tablo;
            m_guncellenebilir = true;
        }
    }

    QSqlQuery sorgu = baglanti.Calistir(gonderilecek);
    m_kayit = sorgu.record();
    const int n = m_kayit.count();
    for (int i = 0; i < n; ++i)
        m_adlar << m_kayit.fieldName(i);
    m_gorunen = n - int(gizliAnahtarlar.size());
    while (sorgu.next()) {
        QVector<QVariant> satir(n);
        for (int i = 0; i < n; ++i)
            satir[i] = sorgu.value(i);
        m_satirlar.append(std::move(satir));
    }
    m_kaynak = sql;
    m_gonderilen = baglanti.Lehce(gonderilecek);

    if (m_guncellenebilir) {
        for (const QString &a : anahtarlar) {
            int yer = -1;
            for (int i = 0; i < n && yer < 0; ++i)
                if (m_adlar[i].compare(a, Qt::CaseInsensitive) == 0)
                    yer = i;
            if (yer >= 0)
                m_anahtarlar << yer;
        }
    }
    m_acik = true;
}

void Recordset::Ac(VeriTabaniBaglantisi &baglanti, const QString &sql, const QVector<QVariant> &degerler)
{
    Oku(baglanti, sql, degerler, KomutKullanimi::Tekrar);
}

void Recordset::Oku(VeriTabaniBaglantisi &baglanti, const QString &sql, const QVector<QVariant> &degerler,
                    KomutKullanimi kullanim)
{
    Kapat();
    m_baglanti = &baglanti;
    HazirKomut sorgu(baglanti, sql, kullanim);
    for (int i = 0; i < degerler.size(); ++i)
        sorgu.Bagla(i, degerler[i]);
    sorgu.Yurut();
    m_kayit = sorgu.Kayit();
    const int n = m_kayit.count();
    for (int i = 0; i < n; ++i)
        m_adlar << m_kayit.fieldName(i);
    m_gorunen = n;
    while (sorgu.Sonraki()) {
        QVector<QVariant> satir(n);
        for (int i = 0; i < n; ++i)
            satir[i] = sorgu.Deger(i);
        m_satirlar.append(std::move(satir));
    }
    sorgu.Bitir();
    m_kaynak = sql;
    m_gonderilen = baglanti.Lehce(sql);
    m_acik = true;
}

void Recordset::AcikOlmali() const
{
    if (!m_acik)
        throw Hata(KapaliHatasi, -2146824584);
}

int Recordset::RecordCount() const
{
    AcikOlmali();
    return int(m_satirlar.size());
}

bool Recordset::Eof() const
{
    AcikOlmali();
    return m_konum >= m_satirlar.size();
}

void Recordset::MoveNext()
{
    AcikOlmali();
    if (m_konum >= m_satirlar.size())
        throw Hata(EofHatasi, -2146825267);
    ++m_konum;
}

void Recordset::MoveFirst()
{
    AcikOlmali();
    m_konum = 0;
}

void Recordset::SatiraGit(int satir)
{
    AcikOlmali();
    if (satir < 0 || satir > m_satirlar.size())
        throw Hata(EofHatasi, -2146825267);
    m_konum = satir;
}

int Recordset::FieldCount() const
{
    AcikOlmali();
    return m_gorunen;
}

int Recordset::SutunOlmali(int sutun) const
{
    AcikOlmali();
    if (sutun < 0 || sutun >= m_gorunen)
        throw Hata(QStringLiteral("İstenen ad veya sıra numarasına karşılık gelen öğe koleksiyonda bulunamadı."),
                   -2146825023);
    return sutun;
}

int Recordset::SutunOlmali(const QString &ad) const
{
    const int yer = FieldIndex(ad);
    if (yer < 0)
        throw Hata(QStringLiteral("İstenen ad veya sıra numarasına karşılık gelen öğe koleksiyonda bulunamadı: %1").arg(ad),
                   -2146825023);
    return yer;
}

QString Recordset::FieldName(int sutun) const
{
    return m_adlar.at(SutunOlmali(sutun));
}

int Recordset::FieldIndex(const QString &ad) const
{
    AcikOlmali();
    for (int i = 0; i < m_gorunen; ++i)
        if (m_adlar[i].compare(ad, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void Recordset::TipleriOku() const
{
    if (m_tiplerHazir)
        return;
    if (m_guncellenebilir) {
        m_tipler.resize(m_adlar.size());
        for (int i = 0; i < m_adlar.size(); ++i)
            m_tipler[i] = m_baglanti->TabloSutunu(m_tablo, m_adlar[i]);
    } else {
        m_tipler = m_baglanti->SonucSutunlari(m_kayit, m_gonderilen);
        if (m_tipler.size() != m_adlar.size()) {
            // Fall back on the record's field types (ODBC, or a statement SQLite could not re-read).
            QVector<SutunBilgisi> tipler(m_adlar.size());
            for (int i = 0; i < qMin(tipler.size(), m_tipler.size()); ++i)
                tipler[i] = m_tipler[i];
            m_tipler = tipler;
        }
    }
    m_tiplerHazir = true;
}

SutunBilgisi Recordset::Sutun(int sutun) const
{
    SutunOlmali(sutun);
    TipleriOku();
    return m_tipler.value(sutun);
}

const QVector<QVariant> &Recordset::GecerliSatir() const
{
    AcikOlmali();
    if (m_konum >= m_satirlar.size())
        throw Hata(EofHatasi, -2146825267);
    return m_satirlar[m_konum];
}

QVariant Recordset::Deger(int sutun) const
{
    SutunOlmali(sutun);
    return GecerliSatir().at(sutun);
}

QVariant Recordset::Deger(const QString &ad) const
{
    return Deger(SutunOlmali(ad));
}

QString Recordset::Metin(int sutun) const
{
    SutunOlmali(sutun);
    TipleriOku();
    return DegerMetni(GecerliSatir().at(sutun), m_tipler.value(sutun).tip).trimmed();
}

QString Recordset::Metin(const QString &ad) const
{
    return Metin(SutunOlmali(ad));
}

void Recordset::AddNew()
{
    AcikOlmali();
    if (!m_guncellenebilir)
        throw Hata(QStringLiteral("Kayıt kümesi güncellenemez: yalnızca okunabilir."), -2146825037);
    m_satirlar.append(QVector<QVariant>(m_adlar.size()));
    m_konum = int(m_satirlar.size()) - 1;
    m_yeniler.insert(m_konum);
    m_degisen[m_konum];
}

void Recordset::DegerYaz(int sutun, const QVariant &deger)
{
    SutunOlmali(sutun);
    if (!m_guncellenebilir)
        throw Hata(QStringLiteral("Kayıt kümesi güncellenemez: yalnızca okunabilir."), -2146825037);
    GecerliSatir();
    if (!m_yeniler.contains(m_konum) && !m_ilkDegerler.contains(m_konum))
        m_ilkDegerler.insert(m_konum, m_satirlar[m_konum]);
    m_satirlar[m_konum][sutun] = deger;
    m_degisen[m_konum].insert(sutun);
}

void Recordset::MetinYaz(int sutun, const QString &metin)
{
    const SutunBilgisi bilgi = Sutun(sutun);
    DegerYaz(sutun, m_baglanti->SaklanacakDeger(metin, bilgi));
}

void Recordset::UpdateBatch()
{
    AcikOlmali();
    const QList<int> satirlar = m_degisen.keys();
    for (int satir : satirlar)
        SatiriYaz(satir);
    m_degisen.clear();
    m_yeniler.clear();
    m_ilkDegerler.clear();
}

void Recordset::SatiriYaz(int satir)
{
    const QSet<int> &sutunlar = m_degisen[satir];
    QVector<int> sirali(sutunlar.begin(), sutunlar.end());
    std::sort(sirali.begin(), sirali.end());
    QVector<QVariant> &degerler = m_satirlar[satir];

    if (m_yeniler.contains(satir)) {
        QStringList adlar, yerler;
        for (int s : sirali) {
            adlar << m_adlar[s];
            yerler << QStringLiteral("?");
        }
        const QString sql = adlar.isEmpty()
                                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_tablo)
                                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(m_tablo, adlar.join(QLatin1Char(',')), yerler.join(QLatin1Char(',')));
        QSqlQuery &sorgu = m_baglanti->Hazirla(sql);
        for (int i = 0; i < sirali.size(); ++i)
            sorgu.bindValue(i, degerler[sirali[i]]);
        m_baglanti->Yurut(sorgu);
        // The new row's key, where the database gives it.
        if (m_anahtarlar.size() == 1 && !sutunlar.contains(m_anahtarlar[0])) {
            const QVariant anahtar = m_baglanti->SonEklenenAnahtar();
            if (anahtar.isValid() && !anahtar.isNull())
                degerler[m_anahtarlar[0]] = anahtar;
        }
        // Done with the statement: a result left open would hold the connection.
        sorgu.finish();
        return;
    }

    if (sirali.isEmpty())
        return;
    if (m_anahtarlar.isEmpty())
        throw Hata(QStringLiteral("%1 tablosunun anahtarı olmadığından satır güncellenemez.").arg(m_tablo));
    QStringList atamalar, kosullar;
    for (int s : sirali)
        atamalar << m_adlar[s] + QStringLiteral("=?");
    for (int a : m_anahtarlar)
        kosullar << m_adlar[a] + QStringLiteral("=?");
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                            .arg(m_tablo, atamalar.join(QLatin1Char(',')), kosullar.join(QStringLiteral(" AND ")));
    QSqlQuery &sorgu = m_baglanti->Hazirla(sql);
    int i = 0;
    for (int s : sirali)
        sorgu.bindValue(i++, degerler[s]);
    const QVector<QVariant> &ilk = m_ilkDegerler.contains(satir) ? m_ilkDegerler[satir] : degerler;
    for (int a : m_anahtarlar)
        sorgu.bindValue(i++, ilk[a]);
    m_baglanti->Yurut(sorgu);
}
