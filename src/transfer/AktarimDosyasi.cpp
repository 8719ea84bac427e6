#include "transfer/AktarimDosyasi.h"

#include "common/KodSayfasi.h"
#include "state/Hata.h"

#include <QDir>
#include <QRegularExpression>
#include <cerrno>

namespace {

const QString KartKuyrugu = QStringLiteral(" FROM STOKKART,KDVGRUPLARI WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID");
const QString FiyatBasi = QStringLiteral("SELECT Fiyat_Sira_No,Stok_ID,Fiyat_Aciklama ");
const QString SatisGrubu = QStringLiteral(" ,Ana_Birim_Fiyat,Birim2_Fiyat,Birim3_Fiyat,Dv_Ana_Birim_Fiyat,Dv_Birim2_Fiyat,Dv_Birim3_Fiyat ");
const QString AlisGrubu = QStringLiteral(
    " ,Ana_Birim_Fiyat_Alis,Birim2_Fiyat_Alis,Birim3_Fiyat_Alis,Dv_Ana_Birim_Fiyat_Alis,Dv_Birim2_Fiyat_Alis,Dv_Birim3_Fiyat_Alis ");
const QString FiyatKuyrugu = QStringLiteral(" FROM STOKFIYAT");

constexpr qsizetype Parca = 64 * 1024;

QStringList GrupSutunlari(const QString &grup)
{
    return grup.trimmed().mid(1).split(QLatin1Char(','));
}

} // namespace

QString DegerSatiri(const QStringList &degerler)
{
    qsizetype uzunluk = degerler.size();
    for (const QString &d : degerler)
        uzunluk += d.size();
    QString satir;
    satir.reserve(uzunluk);
    for (const QString &d : degerler) {
        satir += d;
        satir += QLatin1Char(';');
    }
    return satir;
}

QString SayiSatiri(int sayi)
{
    return QLatin1Char(' ') + QString::number(sayi) + QLatin1Char(' ');
}

QString KartSutunSatiri(const QStringList &sorguSutunlari)
{
    QStringList adlar;
    for (int i = 0; i < sorguSutunlari.size(); ++i) {
        const QString &ad = sorguSutunlari[i];
        if (ad == QLatin1String("Stok_ID") || ad == QLatin1String("KDVGrup_ID"))
            continue;
        const bool son = i == sorguSutunlari.size() - 1;
        const QString buyuk = ad.toUpper();
        const bool onekli = !son && (ad == QLatin1String("Kullanici_ID") || ad == QLatin1String("KDV")
                                     || buyuk.contains(QLatin1String("YR_")) || buyuk.contains(QLatin1String("DEG_")));
        adlar << (onekli ? QStringLiteral("STOKKART.") + ad : ad);
    }
    return QStringLiteral("SELECT ") + adlar.join(QLatin1Char(',')) + KartKuyrugu;
}

QString FiyatOnEki(bool satis, bool alis)
{
    return FiyatBasi + (satis ? SatisGrubu : QString()) + (alis ? AlisGrubu : QString()) + FiyatKuyrugu;
}

QString KarakterYazilamazNedeni(char16_t c)
{
    if (c >= 0x20 && c < 0x7F && c != ';')
        return QString();
    if (c == ';')
        return QStringLiteral("değer \";\" içeriyor");
    if (c == '\r' || c == '\n')
        return QStringLiteral("değer satır sonu içeriyor");
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
        return QStringLiteral("değer denetim karakteri (kod %1) içeriyor").arg(int(c));
    if (Windows1254Kodu(QChar(c)) < 0)
        return QStringLiteral("değer Windows-1254 kod sayfasında olmayan bir karakter içeriyor");
    return QString();
}

QString DegerYazilamazNedeni(QStringView deger)
{
    // Plain printable ASCII without a separator, nearly every value, is settled at once.
    for (const QChar c : deger) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F && u != ';')
            continue;
        const QString neden = KarakterYazilamazNedeni(u);
        if (!neden.isEmpty())
            return neden;
    }
    return QString();
}

std::optional<QStringList> KartSutunSatiriCoz(const QString &satir)
{
    static const QRegularExpression ad(QStringLiteral(R"(^(STOKKART\.)?([A-Za-z_][A-Za-z0-9_]*)$)"));
    if (!satir.startsWith(QLatin1String("SELECT ")) || !satir.endsWith(KartKuyrugu))
        return std::nullopt;
    const QString liste = satir.mid(7, satir.size() - 7 - KartKuyrugu.size());
    const QStringList parcalar = liste.split(QLatin1Char(','));
    if (parcalar.isEmpty() || parcalar.last() != QLatin1String("Departman_No"))
        return std::nullopt;
    QStringList adlar;
    for (int i = 0; i + 1 < parcalar.size(); ++i) {
        const auto e = ad.match(parcalar[i]);
        if (!e.hasMatch())
            return std::nullopt;
        adlar << e.captured(2);
    }
    return adlar;
}

std::optional<FiyatOnEkiBicimi> FiyatOnEkiCoz(const QString &satir)
{
    for (const bool satis : {true, false}) {
        for (const bool alis : {true, false}) {
            if ((satis || alis) && satir == FiyatOnEki(satis, alis)) {
                FiyatOnEkiBicimi bicim;
                bicim.satis = satis;
                bicim.alis = alis;
                bicim.sutunlar = QStringList{QStringLiteral("Fiyat_Sira_No"), QStringLiteral("Stok_ID"),
                                             QStringLiteral("Fiyat_Aciklama")};
                if (satis)
                    bicim.sutunlar += GrupSutunlari(SatisGrubu);
                if (alis)
                    bicim.sutunlar += GrupSutunlari(AlisGrubu);
                return bicim;
            }
        }
    }
    return std::nullopt;
}

// ---- Writer --------------------------------------------------------------------------

namespace {
// Why the file could not be written, in the platform's own words ("No space left on device"):
// a short write leaves the device without an error of its own, errno still has it.
QString YazmaHatasi(const QFileDevice &dosya, int sistemHatasi)
{
    QString neden = QStringLiteral("dosya tamamlanamadı");
    if (dosya.error() != QFileDevice::NoError)
        neden = dosya.errorString();
    else if (sistemHatasi != 0)
        neden = qt_error_string(sistemHatasi);
    return QStringLiteral("%1 yazılamadı: %2").arg(QDir::toNativeSeparators(dosya.fileName()), neden);
}
} // namespace

AktarimYazici::AktarimYazici(const QString &yol) : m_dosya(yol)
{
    m_dosya.setDirectWriteFallback(false);
    // Unbuffered: the lines are gathered here, and a write that fails says so at once rather
    // than in the commit's flush, where the cause is lost.
    if (!m_dosya.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Hata(m_dosya.errorString(), 75);
}

AktarimYazici::~AktarimYazici()
{
    if (m_dosya.isOpen())
        m_dosya.cancelWriting();
}

void AktarimYazici::SatirYaz(const QString &satir)
{
    const auto baytlar = Windows1254e(satir);
    if (!baytlar)
        throw Hata(QStringLiteral("Satır Windows-1254 kod sayfasına çevrilemiyor: %1").arg(satir));
    m_tampon += *baytlar;
    m_tampon += "\r\n";
    if (m_tampon.size() >= Parca)
        Bosalt();
}

void AktarimYazici::Bosalt()
{
    if (m_tampon.isEmpty())
        return;
    // A full disk first shows as a short write; the write of the rest then fails with the cause.
    qsizetype yazilan = 0;
    while (yazilan < m_tampon.size()) {
        errno = 0;
        const qint64 n = m_dosya.write(m_tampon.constData() + yazilan, m_tampon.size() - yazilan);
        if (n <= 0)
            throw Hata(YazmaHatasi(m_dosya, errno), 61);
        yazilan += n;
    }
    m_tampon.clear();
}

void AktarimYazici::Tamamla()
{
    Bosalt();
    errno = 0;
    if (!m_dosya.commit())
        throw Hata(YazmaHatasi(m_dosya, errno), 75);
}
