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

// A value the CSV way: quoted when it holds the separator, a quote or a line break.
void Alan(QByteArray &hedef, const QString &deger)
{
    QByteArray b = deger.toUtf8();
    if (b.contains(';') || b.contains('"') || b.contains('\n') || b.contains('\r')) {
        b.replace('"', "\"\"");
        hedef += '"' + b + '"';
    } else {
        hedef += b;
    }
}

} // namespace

// ---- Collecting -------------------------------------------------------------------------------

RaporSatiri DegisiklikToplayici::Satir(const QString &tablo, QString ne, const QString &sutun, const QVariant &eski,
                                       const QVariant &yeni)
{
    const QString anahtar = tablo + QLatin1Char('.') + sutun;
    auto it = m_tipler.constFind(anahtar);
    if (it == m_tipler.constEnd())
        it = m_tipler.insert(anahtar, Baglanti.TabloSutunu(tablo, sutun).tip);
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
    m_bekleyen.back().satirlar.push_back(Satir(QStringLiteral("FIYATTANIM"), ne, sutun, eski, yeni));
}

void DegisiklikToplayici::KartSutunu(QStringView, const QString &sutun, const QVariant &eski, const QVariant &yeni)
{
    if (m_kartAcik)
        m_bekleyen.back().satirlar.push_back(Satir(QStringLiteral("STOKKART"), QStringLiteral("Kart"), sutun, eski, yeni));
}

void DegisiklikToplayici::FiyatSutunu(QStringView, int seviye, const QString &sutun, const QVariant &eski,
                                      const QVariant &yeni)
{
    if (m_kartAcik)
        m_bekleyen.back().satirlar.push_back(
            Satir(QStringLiteral("STOKFIYAT"), QStringLiteral("Fiyat %1").arg(seviye), sutun, eski, yeni));
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
    return QString();
}

void RaporDosyasi::KartAlindi(RaporKarti &&kart)
{
    if (kart.satirlar.empty())
        return;
    QByteArray bas;
    Alan(bas, Simdi().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
    bas += ';';
    Alan(bas, m_firma);
    bas += ';';
    Alan(bas, kart.stokKod);
    bas += ';';
    Alan(bas, kart.stokKod.isEmpty() ? QString() : kart.stokAd);
    bas += ';';
    for (const RaporSatiri &s : kart.satirlar) {
        m_tampon += bas;
        Alan(m_tampon, s.ne);
        m_tampon += ';';
        Alan(m_tampon, s.sutun);
        m_tampon += ';';
        Alan(m_tampon, s.eski);
        m_tampon += ';';
        Alan(m_tampon, s.yeni);
        m_tampon += "\r\n";
        ++m_satirSayisi;
    }
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
