#include "transfer/DegisiklikRaporu.h"

#include "common/Saat.h"
#include "state/DegerMetin.h"
#include "state/Degiskenler.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Degiskenler;

namespace {

constexpr qsizetype TamponSiniri = 1 << 16;
const QString Olusturuldu = QStringLiteral("Oluşturuldu");

// A value the CSV way: quoted when it holds the separator, a quote or a line break.
void Alan(QString &hedef, const QString &deger)
{
    bool tirnak = false;
    for (const QChar c : deger) {
        const char16_t u = c.unicode();
        if (u == u';' || u == u'"' || u == u'\n' || u == u'\r') {
            tirnak = true;
            break;
        }
    }
    if (!tirnak) {
        hedef += deger;
        return;
    }
    hedef += QLatin1Char('"');
    for (const QChar c : deger) {
        if (c == QLatin1Char('"'))
            hedef += QLatin1Char('"');
        hedef += c;
    }
    hedef += QLatin1Char('"');
}

} // namespace

// ---- Collecting -------------------------------------------------------------------------------

RaporSatiri DegisiklikToplayici::Satir(Tablo tablo, QString ne, const QString &sutun, const QVariant &eski,
                                       const QVariant &yeni)
{
    static const QString adlar[] = {QStringLiteral("FIYATTANIM"), QStringLiteral("STOKKART"), QStringLiteral("STOKFIYAT")};
    QHash<QString, SutunTipi> &tipler = m_tipler[tablo];
    auto it = tipler.constFind(sutun);
    if (it == tipler.constEnd())
        it = tipler.insert(sutun, Baglanti.TabloSutunu(adlar[tablo], sutun).tip);
    // Fixed-length text comes padded from some backends: the report shows the value.
    const auto metin = [&](const QVariant &d) {
        return !d.isValid() || d.isNull() ? QString() : DegerMetni(d, *it).trimmed();
    };
    return {std::move(ne), sutun, metin(eski), metin(yeni)};
}

void DegisiklikToplayici::AcikKartiBirak()
{
    // A card whose writing ended in a failure before it was told undone was not written.
    if (m_kartAcik)
        m_bekleyen.pop_back();
    m_kartAcik = false;
}

void DegisiklikToplayici::KartBasladi(QStringView stokKod, QStringView stokAd)
{
    AcikKartiBirak();
    m_bekleyen.push_back({stokKod.toString(), stokAd.toString(), KartDurumu::Degismedi, {}});
    m_kartAcik = true;
}

void DegisiklikToplayici::KartBitti(KartDurumu durum)
{
    if (!m_kartAcik)
        return;
    m_bekleyen.back().durum = durum;
    m_kartAcik = false;
    // The card's own columns before its prices, whichever the writer told first.
    auto &s = m_bekleyen.back().satirlar;
    std::stable_partition(s.begin(), s.end(), [](const RaporSatiri &r) { return r.ne == QLatin1String("Kart"); });
}

void DegisiklikToplayici::FiyatTanimi(int siraNo, const QString &sutun, const QVariant &eski, const QVariant &yeni)
{
    AcikKartiBirak();
    const QString ne = QStringLiteral("Fiyat Tanımı %1").arg(siraNo);
    if (m_bekleyen.empty() || !m_bekleyen.back().stokKod.isEmpty() || m_bekleyen.back().stokAd != ne)
        m_bekleyen.push_back({QString(), ne, eski.isValid() ? KartDurumu::Guncellendi : KartDurumu::Olusturuldu, {}});
    Ekle(Tanim, ne, sutun, eski, yeni);
}

void DegisiklikToplayici::KartSutunu(QStringView, const QString &sutun, const QVariant &eski, const QVariant &yeni)
{
    if (m_kartAcik)
        Ekle(Kart, QStringLiteral("Kart"), sutun, eski, yeni);
}

void DegisiklikToplayici::FiyatSutunu(QStringView, int seviye, const QString &sutun, const QVariant &eski,
                                      const QVariant &yeni)
{
    if (m_kartAcik)
        Ekle(Fiyat, SeviyeAdi(seviye), sutun, eski, yeni);
}

void DegisiklikToplayici::Ekle(Tablo tablo, const QString &ne, const QString &sutun, const QVariant &eski,
                               const QVariant &yeni)
{
    std::vector<RaporSatiri> &satirlar = m_bekleyen.back().satirlar;
    // A row the import creates is one line, not one per column: a report of 100,000 new cards
    // would otherwise pass what a spreadsheet opens, and the values are in the transfer file.
    if (!eski.isValid()) {
        for (auto it = satirlar.rbegin(); it != satirlar.rend(); ++it)
            if (it->ne == ne && it->yeni == Olusturuldu && it->sutun.isEmpty())
                return;
        satirlar.push_back({ne, QString(), QString(), Olusturuldu});
        return;
    }
    satirlar.push_back(Satir(tablo, ne, sutun, eski, yeni));
}

const QString &DegisiklikToplayici::SeviyeAdi(int seviye)
{
    // Made once per level: a price value is told for every column of every row.
    auto it = m_seviyeler.constFind(seviye);
    if (it == m_seviyeler.constEnd())
        it = m_seviyeler.insert(seviye, QStringLiteral("Fiyat %1").arg(seviye));
    return *it;
}

void DegisiklikToplayici::KartGeriAlindi(QStringView)
{
    AcikKartiBirak();
}

void DegisiklikToplayici::Onaylandi()
{
    AcikKartiBirak();
    for (RaporKarti &kart : m_bekleyen)
        m_alici.KartAlindi(std::move(kart));
    m_bekleyen.clear();
}

void DegisiklikToplayici::GeriAlindi()
{
    m_bekleyen.clear();
    m_kartAcik = false;
}

// ---- The file ---------------------------------------------------------------------------------

RaporDosyasi::RaporDosyasi(const QString &yol, const QString &firma) : m_dosya(yol), m_firma(firma) {}

QString RaporDosyasi::Ac()
{
    if (!m_dosya.open(QIODevice::WriteOnly))
        return m_dosya.errorString();
    m_tampon = QByteArrayLiteral("\xEF\xBB\xBF");
    m_tampon += QStringLiteral("Tarih;Firma;Stok Kodu;Stok Adı;Kayıt;Sütun;Eski Değer;Yeni Değer\r\n").toUtf8();
    m_tampon.reserve(TamponSiniri * 2);
    return QString();
}

void RaporDosyasi::KartAlindi(RaporKarti &&kart)
{
    if (kart.satirlar.empty())
        return;
    // The card's lines are built as text and converted once.
    QString bas;
    Alan(bas, Simdi().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
    bas += QLatin1Char(';');
    Alan(bas, m_firma);
    bas += QLatin1Char(';');
    Alan(bas, kart.stokKod);
    bas += QLatin1Char(';');
    Alan(bas, kart.stokKod.isEmpty() ? QString() : kart.stokAd);
    bas += QLatin1Char(';');
    m_satirlar.clear();
    for (const RaporSatiri &s : kart.satirlar) {
        m_satirlar += bas;
        Alan(m_satirlar, s.ne);
        m_satirlar += QLatin1Char(';');
        Alan(m_satirlar, s.sutun);
        m_satirlar += QLatin1Char(';');
        Alan(m_satirlar, s.eski);
        m_satirlar += QLatin1Char(';');
        Alan(m_satirlar, s.yeni);
        m_satirlar += QLatin1String("\r\n");
        ++m_satirSayisi;
    }
    m_tampon += m_satirlar.toUtf8();
    if (m_tampon.size() >= TamponSiniri)
        Bosalt();
}

void RaporDosyasi::Bosalt()
{
    if (!m_hata && m_dosya.write(m_tampon) != m_tampon.size())
        m_hata = true;
    m_tampon.clear();
}

QString RaporDosyasi::Bitir()
{
    if (!m_dosya.isOpen())
        return QString();
    if (m_satirSayisi == 0) {
        m_dosya.cancelWriting();
        m_dosya.commit();
        return QString();
    }
    Bosalt();
    if (m_hata) {
        const QString neden = m_dosya.errorString();
        m_dosya.cancelWriting();
        m_dosya.commit();
        return neden;
    }
    if (!m_dosya.commit())
        return m_dosya.errorString();
    return QString();
}

// ---- The kept reports -------------------------------------------------------------------------

QString RaporFirmasi()
{
    const QString kod = FirmaKodu.trimmed(), ad = FirmaAdi.trimmed();
    return kod.isEmpty() ? ad : kod + QStringLiteral(" - ") + ad;
}

QString RaporKlasoru()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("raporlar"));
}

QString YeniRaporYolu()
{
    const QDir klasor(RaporKlasoru());
    QDir().mkpath(klasor.path());
    // The name sorts by date, and a second import within the second after the first.
    const QString ad = QStringLiteral("rapor-") + Simdi().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString yol;
    for (int i = 1; yol.isEmpty() || QFileInfo::exists(yol); ++i)
        yol = klasor.filePath(QStringLiteral("%1-%2.csv").arg(ad).arg(i, 3, 10, QLatin1Char('0')));
    return yol;
}

void EskiRaporlariSil(int kalan)
{
    QDir klasor(RaporKlasoru());
    const QStringList adlar =
        klasor.entryList({QStringLiteral("rapor-*.csv")}, QDir::Files, QDir::Name | QDir::Reversed);
    for (qsizetype i = kalan; i < adlar.size(); ++i)
        klasor.remove(adlar[i]);
}
